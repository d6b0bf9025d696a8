#include "RtfReader.h"

#include "Cp1250.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace {

struct GroupState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    int colour = 0;
    int skipAfterUnicode = 1;
    bool skip = false; // inside a destination whose text is not shown
    bool colourTable = false;
};

// Destinations whose contents are not document text.
bool IsSkippedDestination(const QByteArray& word)
{
    static const char* const words[] = {
        "fonttbl",   "stylesheet", "info",     "pict",      "header",
        "footer",    "headerl",    "headerr",  "footerl",   "footerr",
        "object",    "field",      "fldinst",  "listtable", "listoverridetable",
        "rsidtbl",   "generator",  "filetbl",  "revtbl",    "latentstyles",
        "themedata", "datastore",  "xmlnstbl", "mmathPr",   "pgdsctbl",
        "bkmkstart", "bkmkend"};
    for (const char* w : words)
        if (word == w) return true;
    return false;
}

class RtfParser
{
public:
    RtfParser(const QByteArray& rtf, QTextDocument& document) : in_(rtf), cursor_(&document)
    {
        document.clear();
        cursor_ = QTextCursor(&document);
        stack_.push_back({});
    }

    void Run();

private:
    GroupState& State() { return stack_.back(); }
    void Text(const QString& text);
    void Flush();
    void ControlWord(const QByteArray& word, bool hasParameter, int parameter);
    QTextCharFormat Format() const;

    const QByteArray& in_;
    qsizetype pos_ = 0;
    QTextCursor cursor_;
    std::vector<GroupState> stack_;
    std::vector<QColor> colours_;
    QColor pendingColour_;
    QString pending_;
    bool cp1250_ = false;
    bool ignorableNext_ = false;
    int skipChars_ = 0;
};

QTextCharFormat RtfParser::Format() const
{
    const GroupState& s = stack_.back();
    QTextCharFormat format;
    format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(s.italic);
    format.setFontUnderline(s.underline);
    format.setFontPointSize(std::max(1, s.halfPoints) / 2.0);
    if (s.colour > 0 && s.colour < int(colours_.size()) && colours_[s.colour].isValid())
        format.setForeground(colours_[s.colour]);
    return format;
}

void RtfParser::Flush()
{
    if (pending_.isEmpty()) return;
    cursor_.insertText(pending_, Format());
    pending_.clear();
}

void RtfParser::Text(const QString& text)
{
    if (State().colourTable) return;
    if (State().skip) return;
    for (QChar c : text) {
        if (skipChars_ > 0) {
            --skipChars_;
            continue;
        }
        pending_ += c;
    }
}

void RtfParser::ControlWord(const QByteArray& word, bool hasParameter, int parameter)
{
    GroupState& s = State();
    if (ignorableNext_) {
        ignorableNext_ = false;
        s.skip = true;
        return;
    }
    if (IsSkippedDestination(word)) {
        s.skip = true;
        return;
    }
    if (word == "colortbl") {
        s.colourTable = true;
        colours_.clear();
        pendingColour_ = QColor(0, 0, 0);
        pendingColour_.setAlpha(0);
        return;
    }
    if (s.colourTable) {
        const int v = std::clamp(parameter, 0, 255);
        if (word == "red")
            pendingColour_.setRed(v);
        else if (word == "green")
            pendingColour_.setGreen(v);
        else if (word == "blue")
            pendingColour_.setBlue(v);
        else
            return;
        pendingColour_.setAlpha(255);
        return;
    }
    // Character properties apply to the text that follows: what came before is written first.
    const auto change = [&] { Flush(); };
    if (word == "ansicpg") {
        cp1250_ = parameter == 1250;
    } else if (word == "par" || word == "sect" || word == "page") {
        if (s.skip) return;
        Flush();
        cursor_.insertBlock();
    } else if (word == "line") {
        if (!s.skip) pending_ += QChar(QChar::LineSeparator);
    } else if (word == "tab") {
        if (!s.skip) pending_ += u'\t';
    } else if (word == "b") {
        change();
        s.bold = !hasParameter || parameter != 0;
    } else if (word == "i") {
        change();
        s.italic = !hasParameter || parameter != 0;
    } else if (word == "ul") {
        change();
        s.underline = !hasParameter || parameter != 0;
    } else if (word == "ulnone") {
        change();
        s.underline = false;
    } else if (word == "fs") {
        change();
        s.halfPoints = hasParameter ? std::clamp(parameter, 1, 3276) : 24;
    } else if (word == "cf") {
        change();
        s.colour = parameter;
    } else if (word == "plain") {
        change();
        s.bold = s.italic = s.underline = false;
        s.halfPoints = 24;
        s.colour = 0;
    } else if (word == "uc") {
        s.skipAfterUnicode = std::clamp(parameter, 0, 16);
    } else if (word == "u") {
        const auto unit = char16_t(parameter < 0 ? parameter + 65536 : parameter);
        Text(QString(QChar(unit)));
        skipChars_ = s.skipAfterUnicode;
    } else if (word == "lquote") {
        Text(QStringLiteral("\u2018"));
    } else if (word == "rquote") {
        Text(QStringLiteral("\u2019"));
    } else if (word == "ldblquote") {
        Text(QStringLiteral("\u201C"));
    } else if (word == "rdblquote") {
        Text(QStringLiteral("\u201D"));
    } else if (word == "endash") {
        Text(QStringLiteral("\u2013"));
    } else if (word == "emdash") {
        Text(QStringLiteral("\u2014"));
    } else if (word == "bullet") {
        Text(QStringLiteral("\u2022"));
    }
}

void RtfParser::Run()
{
    const qsizetype n = in_.size();
    while (pos_ < n) {
        const char c = in_[pos_];
        if (c == '{') {
            ++pos_;
            Flush();
            GroupState inner = stack_.back();
            inner.colourTable = false;
            stack_.push_back(inner);
        } else if (c == '}') {
            ++pos_;
            Flush();
            if (stack_.back().colourTable && pendingColour_.alpha() == 255)
                colours_.push_back(pendingColour_);
            if (stack_.size() > 1) stack_.pop_back();
            ignorableNext_ = false;
        } else if (c == '\\') {
            ++pos_;
            if (pos_ >= n) break;
            const char e = in_[pos_];
            if ((e >= 'a' && e <= 'z') || (e >= 'A' && e <= 'Z')) {
                const qsizetype start = pos_;
                while (pos_ < n && pos_ - start < 32 &&
                       ((in_[pos_] >= 'a' && in_[pos_] <= 'z') ||
                        (in_[pos_] >= 'A' && in_[pos_] <= 'Z')))
                    ++pos_;
                const QByteArray word = in_.mid(start, pos_ - start);
                bool negative = false;
                bool hasParameter = false;
                long long parameter = 0;
                if (pos_ < n && in_[pos_] == '-') {
                    negative = true;
                    ++pos_;
                }
                while (pos_ < n && in_[pos_] >= '0' && in_[pos_] <= '9') {
                    hasParameter = true;
                    if (parameter < 1000000000) parameter = parameter * 10 + (in_[pos_] - '0');
                    ++pos_;
                }
                if (pos_ < n && in_[pos_] == ' ') ++pos_;
                ControlWord(word, hasParameter, int(negative ? -parameter : parameter));
            } else if (e == '\'') {
                bool ok = false;
                const int byte = in_.mid(pos_ + 1, 2).toInt(&ok, 16);
                pos_ += 3;
                if (ok) {
                    const QByteArray raw(1, char(byte));
                    Text(cp1250_ ? FromCp1250(raw) : QString::fromLatin1(raw));
                }
            } else if (e == '*') {
                ++pos_;
                ignorableNext_ = true;
            } else if (e == '~') {
                ++pos_;
                Text(QString(QChar(0xA0)));
            } else if (e == '-' || e == '_') {
                ++pos_;
            } else if (e == '\n' || e == '\r') {
                ++pos_;
                if (!State().skip) {
                    Flush();
                    cursor_.insertBlock();
                }
            } else {
                ++pos_;
                Text(QString(QChar::fromLatin1(e)));
            }
        } else if (c == '\r' || c == '\n') {
            ++pos_;
        } else {
            if (State().colourTable && c == ';') {
                colours_.push_back(pendingColour_.alpha() == 255 ? pendingColour_ : QColor());
                pendingColour_ = QColor(0, 0, 0);
                pendingColour_.setAlpha(0);
                ++pos_;
                continue;
            }
            const qsizetype start = pos_;
            while (pos_ < n && in_[pos_] != '{' && in_[pos_] != '}' && in_[pos_] != '\\' &&
                   in_[pos_] != '\r' && in_[pos_] != '\n' &&
                   !(State().colourTable && in_[pos_] == ';'))
                ++pos_;
            const QByteArray raw = in_.mid(start, pos_ - start);
            Text(cp1250_ ? FromCp1250(raw) : QString::fromLatin1(raw));
        }
    }
    Flush();
}

} // namespace

void ReadRtf(const QByteArray& rtf, QTextDocument& document) { RtfParser(rtf, document).Run(); }
