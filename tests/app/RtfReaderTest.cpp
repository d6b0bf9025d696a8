// The rich-text reader: what it shows, and that no input makes it crash or hang.
#include "RtfReader.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString Read(const QByteArray& rtf)
{
    QTextDocument document;
    ReadRtf(rtf, document);
    return document.toPlainText();
}

QTextCharFormat FormatAt(const QTextDocument& document, const QString& text)
{
    QTextCursor cursor = document.find(text);
    return cursor.charFormat();
}

const QByteArray kSample =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Verdana;}{\\f1 Arial;}}\n"
    "{\\colortbl ;\\red0\\green0\\blue128;\\red0\\green128\\blue0;}\n"
    "{\\*\\generator Notatnik;}{\\info{\\title Tytu\\'b3}}\n"
    "\\pard{\\b\\fs32\\cf1 Tolmar\\par}\n"
    "Zwyk\\'b3y {\\i pochy\\'b3y} i {\\ul podkre\\'9clony}\\ulnone  tekst\\line druga linia\\par\n"
    "\\uc1\\u8364?uro i \\u-3913?x\\tab koniec\\par\n"
    "nawiasy \\{ \\} i uko\\'9cnik \\\\\\par}";

} // namespace

TEST(RtfReader, TextParagraphsAndPolishLetters)
{
    QTextDocument document;
    ReadRtf(kSample, document);
    const QString text = document.toPlainText();
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("Tolmar\nZwykły pochyły i podkreślony tekst\ndruga linia\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("€uro i \uF0B7x\tkoniec")));
    EXPECT_TRUE(text.contains(QStringLiteral("nawiasy { } i ukośnik \\")));
    EXPECT_FALSE(text.contains(QStringLiteral("Verdana")));
    EXPECT_FALSE(text.contains(QStringLiteral("Notatnik")));
    EXPECT_FALSE(text.contains(QStringLiteral("Tytuł")));
}

TEST(RtfReader, CharacterFormats)
{
    QTextDocument document;
    ReadRtf(kSample, document);
    const QTextCharFormat title = FormatAt(document, QStringLiteral("Tolmar"));
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(title.fontPointSize(), 16.0);
    EXPECT_EQ(title.foreground().color(), QColor(0, 0, 128));
    EXPECT_TRUE(FormatAt(document, QStringLiteral("pochyły")).fontItalic());
    EXPECT_TRUE(FormatAt(document, QStringLiteral("podkreślony")).fontUnderline());
    const QTextCharFormat plain = FormatAt(document, QStringLiteral("tekst"));
    EXPECT_FALSE(plain.fontUnderline());
    EXPECT_FALSE(plain.fontItalic());
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
}

TEST(RtfReader, WithoutCodePage1250BytesAreLatin)
{
    EXPECT_EQ(Read("{\\rtf1\\ansi caf\\'e9}"), QStringLiteral("café"));
}

TEST(RtfReader, UnknownWordsAreSkipped)
{
    EXPECT_EQ(Read("{\\rtf1\\ansi\\qrstuvw123 a\\zzz b{\\*\\unknowndest hidden}c}"),
              QStringLiteral("abc"));
}

TEST(RtfReader, MalformedInputNeverCrashesOrHangs)
{
    // Every truncation of a real document, then random mutations and random bytes.
    for (qsizetype n = 0; n <= kSample.size(); ++n)
        Read(kSample.left(n));
    QRandomGenerator random(1234);
    for (int round = 0; round < 2000; ++round) {
        QByteArray garbled = kSample;
        for (int k = 0; k < 8; ++k)
            garbled[random.bounded(int(garbled.size()))] = char(random.bounded(256));
        Read(garbled);
    }
    const char alphabet[] = "{}\\'*-0123456789abuclrtpfs; \n";
    for (int round = 0; round < 500; ++round) {
        QByteArray noise;
        for (int k = 0; k < 200; ++k)
            noise.append(alphabet[random.bounded(int(sizeof alphabet - 1))]);
        Read(noise);
    }
    EXPECT_EQ(Read(QByteArray(100000, '{') + "deep" + QByteArray(100000, '}')),
              QStringLiteral("deep"));
    EXPECT_EQ(Read("}}}}{\\rtf1 x"), QStringLiteral("x"));
    // A number too large for \u still stands for one character, and its fallback is skipped.
    EXPECT_EQ(Read("\\u99999999999999999999?x").size(), 2);
    EXPECT_TRUE(Read("\\u99999999999999999999?x").endsWith(u'x'));
}
