#pragma once

#include <QByteArray>

class QTextDocument;

// Reads rich text (RTF) into a document: groups, paragraphs and line breaks, bold, italic,
// underline, font sizes, colours from the colour table, 8-bit text in the document's code page
// (windows-1250 with \ansicpg1250, else windows-1252's Latin part) and \u with its fallback.
// Unknown control words and ignorable destinations are skipped. Malformed input never crashes
// or hangs: whatever can be read is kept.
void ReadRtf(const QByteArray& rtf, QTextDocument& document);
