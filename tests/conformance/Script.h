#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <vector>

// One operation of a conformance script, in the probe's words (see probe/probe.cpp): the
// operation's name and its fields, texts as they are and data as bytes.
struct Op
{
    QString name;
    QStringList texts; // file, section, key, value / default, or key path and value name
    std::uint32_t type = 0;
    QByteArray data; // registry data
    int number = 0;  // the integer default of "pi"

    bool IsProfile() const { return name.startsWith(u'p'); }
    // The script line the probe reads.
    QByteArray Line() const;
    // The operation for a person reading a failure.
    QString Describe() const;
};

struct Script
{
    std::vector<Op> ops;
    // The profile files there are before the run, by number; a file not here does not exist.
    std::map<QString, QByteArray> files;
    QByteArray Text() const;
};

// A random script from awkward names and values: Polish letters, case differences, blanks
// around names and values, quotes, "=", ";" and "[" in values, empty values; profile files that
// start with duplicate sections and keys, comments, padding and blank lines, and sometimes no
// final line end. The registry operations start by making a few core keys and then mostly work on
// the keys the script has made (values of every type, long binary data among them, written, read
// and deleted again), a few on keys that seldom exist; no operation deletes the conformance key.
Script GenerateScript(std::uint64_t seed, int profileOps, int registryOps);

// Printable ASCII as it is, every other UTF-16 unit (and the backslash) as \uXXXX, as the probe
// prints texts.
QString Escaped(const QString& text);
QString HexOf(const QByteArray& bytes);

// The form Wine's profile functions give a file when they write it: lines trimmed, blank lines
// and lines of an empty name that follow one dropped, names and values trimmed around "=",
// each section as "[name]" CR LF followed by its lines. Bytes are windows-1250.
QByteArray WineProfileForm(const QByteArray& file);
