#include "WineRegistry.h"

#include <QHash>
#include <QScopeGuard>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace {

constexpr std::uint64_t kTicks1601To1970 = 116444736000000000ULL;
constexpr std::uint64_t kTicksPerSecond = 10000000ULL;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

char16_t Lower(char16_t c)
{
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    return QChar(c).toLower().unicode();
}

template <class Items, class NameOf> auto LowerBound(Items& items, QStringView name, NameOf nameOf)
{
    return std::lower_bound(items.begin(), items.end(), name, [&](const auto& item, QStringView n) {
        return CompareRegNames(nameOf(item), n) < 0;
    });
}

// ---- reading --------------------------------------------------------------------------------

constexpr auto kHexValues = [] {
    std::array<signed char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
    return table;
}();

int HexDigit(char c) { return kHexValues[static_cast<unsigned char>(c)]; }

// One shared copy of each distinct text: a registry repeats its key names, value names and
// small values a great deal ("InprocServer32", "ThreadingModel", "Both", dword 0), and every
// copy of its own would be an allocation of its own.
template <class Text, class View> class Interned
{
public:
    Text operator()(View text)
    {
        const auto it = texts_.find(text);
        return it != texts_.end() ? *it : *texts_.insert(Text(text)).first;
    }

private:
    static View ViewOf(View text) { return text; }
    static View ViewOf(const Text& text) { return text.View(); }
    struct Hash
    {
        using is_transparent = void;
        template <class T> std::size_t operator()(const T& text) const
        {
            return qHash(ViewOf(text));
        }
    };
    struct Equal
    {
        using is_transparent = void;
        template <class A, class B> bool operator()(const A& a, const B& b) const
        {
            return ViewOf(a) == ViewOf(b);
        }
    };
    std::unordered_set<Text, Hash, Equal> texts_;
};

// Why a line cannot be read, as the user is told.
constexpr const char* kNotRegistry =
    "brak nagłówka „WINE REGISTRY Version 2”, to nie jest plik rejestru Wine";
constexpr const char* kTrailingBackslash = "tekst kończy się znakiem „\\”";
constexpr const char* kKeyNotClosed = "nazwa klucza nie kończy się znakiem „]”";
constexpr const char* kTooDeep = "klucz zagnieżdżony głębiej niż na 512 poziomach";
constexpr const char* kValueOutsideKey = "wartość przed pierwszym kluczem";
constexpr const char* kNameNotClosed = "nazwa wartości nie kończy się cudzysłowem";
constexpr const char* kNoEquals = "brak znaku „=” po nazwie wartości";
constexpr const char* kUnknownType = "nieznany typ wartości";
constexpr const char* kTextNotClosed = "tekst wartości nie kończy się cudzysłowem";
constexpr const char* kBadNumber = "nieczytelna liczba";
constexpr const char* kBadHex = "nieczytelne dane szesnastkowe";
constexpr const char* kEndInHex = "plik kończy się w środku danych szesnastkowych";
constexpr const char* kClassNotClosed = "nazwa klasy nie kończy się cudzysłowem";
constexpr const char* kUnknownArch = "nieznana architektura";
constexpr const char* kUnknownOption = "nieznana opcja";
constexpr const char* kTrailingText = "nieczytelny tekst na końcu wiersza";
constexpr const char* kUnknownLine = "nieczytelny wiersz";

// Deeper keys than Windows allows are refused, which also bounds the writer's recursion.
constexpr std::size_t kMaxKeyDepth = 512;
// Unescape's close character for text that runs to the end of its line.
constexpr int kToLineEnd = -1;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

const char* SkipBlanks(const char* s, const char* stop)
{
    while (s < stop && IsBlank(*s))
        ++s;
    return s;
}

bool StartsWith(const char* s, const char* stop, const char* word)
{
    const std::size_t n = std::strlen(word);
    return std::size_t(stop - s) >= n && std::memcmp(s, word, n) == 0;
}

// Reads 1 to maxDigits hex digits; nullptr when there are none or more.
const char* HexNumber(const char* s, const char* stop, int maxDigits, std::uint64_t& value)
{
    value = 0;
    int n = 0;
    for (; s < stop && HexDigit(*s) >= 0; ++s, ++n)
        value = value * 16 + std::uint64_t(HexDigit(*s));
    return n >= 1 && n <= maxDigits ? s : nullptr;
}

} // namespace

// Reads Wine's registry text: whole, or a key's children at a time (Unfold) and a key's values
// at a time (Values).
class RegistryParser
{
public:
    // The text's lines, numbered on from `linesBefore`.
    RegistryParser(const char* begin, const char* end, qsizetype linesBefore = 0)
        : p_(begin), begin_(begin), end_(end), line_(linesBefore), lineStart_(begin)
    {}

    // The hive with every key and value read (whole), or with only the header read and the
    // keys left folded in the root.
    std::unique_ptr<RegistryHive> Run(bool whole);
    // Makes the children of a folded key of `hive` (which the parser's text is the origin of),
    // each child folded in turn; throws RegistryOutOfOrder when its lines are not in Wine's
    // order.
    void Unfold(RegistryHive& hive, RegNode& key);
    // Whether a key line comes before the one above it (false when stopped); throws
    // RegistryParseError.
    bool OutOfOrder(const std::atomic<bool>& stop);
    // Reads the values of a key whose lines (from its key line) this parser holds.
    void Values(RegNode& key);
    // Takes other lines, keeping the names and data met so far to share.
    void Restart(const char* begin, const char* end, qsizetype linesBefore)
    {
        p_ = begin_ = lineStart_ = begin;
        end_ = end;
        line_ = linesBefore;
    }

private:
    // The next line without its end; false at the end of the text.
    bool NextLine(const char*& begin, const char*& stop);
    [[noreturn]] void Fail(const char* reason) const;
    // Only blanks may follow what was read.
    void End(const char* s, const char* stop) const;
    // Unescapes Wine's text up to the closing character; nullptr when it never closes.
    const char* Unescape(const char* s, const char* stop, int close);
    void KeyLine(const char* s, const char* stop);
    // Reads the stamp after a key's closing "]"; nothing else may follow it.
    std::uint64_t Stamp(const char* after, const char* stop);
    // The line that follows the line end at `nl`, without its end.
    void LineAfter(const char* nl, const char*& s, const char*& stop);
    // Reads the key line after the line end at `nl` into parts_ of text_, empty names left
    // out; gives its stamp.
    std::uint64_t Path(const char* nl);
    // The line end before the first key line whose line end lies in [from, limit); limit when
    // there is none.
    const char* NextKeyLine(const char* from, const char* limit) const;
    // Whether the key line after `nl` lies under the child being unfolded (child_ below).
    bool UnderChild(const char* nl);
    void OptionLine(const char* s, const char* stop);
    void ValueLine(const char* s, const char* stop);
    RegData Hex(const char* s, const char* stop);

    const char* p_;
    const char* begin_;
    const char* end_;
    qsizetype line_ = 0;
    std::vector<char16_t> text_;
    std::vector<char> bytes_;
    Interned<RegName, QStringView> names_;
    Interned<RegData, QByteArrayView> data_;
    std::unique_ptr<RegistryHive> made_;
    RegistryHive* hive_ = nullptr;
    std::vector<RegNode*> path_; // the nodes of the last key line, root first
    // The last key line's text after its "[", and where each of its "\\\\" separators ends with
    // the number of keys before it, up to the first other escape: a line that begins with the
    // same bytes up to such a point names the same keys up to it, unread.
    const char* lastKey_ = nullptr;
    struct Cut
    {
        std::uint32_t after;
        std::uint32_t depth;
    };
    std::vector<Cut> lastCuts_;
    RegNode* key_ = nullptr;
    bool counting_ = true; // whether line_ is the number of the current line
    const char* lineStart_ = nullptr;
    // The names of the last key line read by Path, as (start, length) in text_.
    std::vector<std::pair<qsizetype, qsizetype>> parts_;
    // The child being unfolded: its path's names, and the bytes its first key line begins with
    // up to the end of its own name (none when an escape other than "\\\\" comes first).
    struct
    {
        std::vector<QString> path;
        const char* raw = nullptr;
        std::size_t rawLength = 0;
    } child_;
};

bool RegistryParser::NextLine(const char*& begin, const char*& stop)
{
    if (p_ >= end_) return false;
    ++line_;
    begin = lineStart_ = p_;
    const char* nl = static_cast<const char*>(std::memchr(p_, '\n', end_ - p_));
    stop = nl ? nl : end_;
    p_ = nl ? nl + 1 : end_;
    if (stop > begin && stop[-1] == '\r') --stop;
    return true;
}

void RegistryParser::Fail(const char* reason) const
{
    const qsizetype line = counting_ ? line_ : 1 + qsizetype(std::count(begin_, lineStart_, '\n'));
    throw RegistryParseError(std::max<qsizetype>(line, 1), QString::fromUtf8(reason));
}

void RegistryParser::End(const char* s, const char* stop) const
{
    if (SkipBlanks(s, stop) != stop) Fail(kTrailingText);
}

const char* RegistryParser::Unescape(const char* s, const char* stop, int close)
{
    text_.clear();
    while (s < stop) {
        const auto c = static_cast<unsigned char>(*s);
        if (c == close) return s + 1;
        if (c == '\\') {
            if (s + 1 == stop) Fail(kTrailingBackslash);
            const char e = s[1];
            s += 2;
            switch (e) {
            case 'a':
                text_.push_back(7);
                break;
            case 'b':
                text_.push_back(8);
                break;
            case 't':
                text_.push_back(9);
                break;
            case 'n':
                text_.push_back(10);
                break;
            case 'v':
                text_.push_back(11);
                break;
            case 'f':
                text_.push_back(12);
                break;
            case 'r':
                text_.push_back(13);
                break;
            case 'e':
                text_.push_back(27);
                break;
            case 'x': {
                unsigned v = 0;
                int n = 0;
                for (int d; n < 4 && s < stop && (d = HexDigit(*s)) >= 0; ++n, ++s)
                    v = v * 16 + d;
                text_.push_back(char16_t(v));
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    unsigned v = e - '0';
                    for (int n = 1; n < 3 && s < stop && *s >= '0' && *s <= '7'; ++n, ++s)
                        v = v * 8 + (*s - '0');
                    text_.push_back(char16_t(v));
                } else {
                    text_.push_back(static_cast<unsigned char>(e));
                }
            }
            continue;
        }
        const char* run = s;
        if (c < 0x80) {
            do
                ++s;
            while (s < stop && *s != '\\' && static_cast<unsigned char>(*s) != close &&
                   static_cast<unsigned char>(*s) < 0x80);
            text_.insert(text_.end(), run, s);
            continue;
        }
        do
            ++s;
        while (s < stop && static_cast<unsigned char>(*s) >= 0x80);
        const QString decoded = QString::fromUtf8(run, s - run);
        text_.insert(text_.end(), decoded.utf16(), decoded.utf16() + decoded.size());
    }
    return nullptr;
}

void RegistryParser::KeyLine(const char* s, const char* stop)
{
    // Sorted keys share their parents' path with the line before, usually all but the last
    // name: those bytes are compared, not read again.
    const char* raw = s + 1;
    const auto length = std::size_t(stop - raw);
    std::size_t reused = 0; // bytes, and keys, taken from the last line
    std::size_t cuts = 0;
    for (; cuts < lastCuts_.size(); ++cuts) {
        const Cut cut = lastCuts_[cuts];
        if (cut.after > length || std::memcmp(raw + reused, lastKey_ + reused, cut.after - reused))
            break;
        reused = cut.after;
    }
    const std::size_t reusedDepth = cuts ? lastCuts_[cuts - 1].depth : 0;

    const std::uint64_t modified = Stamp(Unescape(raw + reused, stop, ']'), stop);

    // Keys come sorted, so the nodes of the previous line are usually the parents of this one.
    std::size_t depth = reusedDepth;
    RegNode* node = depth ? path_[depth - 1] : &hive_->Root();
    const QStringView all(text_.data(), qsizetype(text_.size()));
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype cut = all.indexOf(u'\\', start);
        if (cut < 0) cut = all.size();
        const QStringView name = all.mid(start, cut - start);
        start = cut + 1;
        if (name.isEmpty()) continue;
        if (depth == kMaxKeyDepth) Fail(kTooDeep);
        if (depth < path_.size() && path_[depth]->Parent() == node &&
            CompareRegNames(path_[depth]->NameView(), name) == 0) {
            node = path_[depth];
        } else {
            node = node->AddChild(names_(name), modified);
            path_.resize(depth);
            path_.push_back(node);
        }
        ++depth;
    }
    path_.resize(depth);

    lastKey_ = raw;
    lastCuts_.resize(cuts);
    std::size_t keys = reusedDepth;
    const char* name = raw + reused;
    for (const char* p = name; p < stop && *p != ']';) {
        if (*p != '\\') {
            ++p;
            continue;
        }
        if (p + 1 == stop || p[1] != '\\') break;
        if (p > name) ++keys;
        p += 2;
        name = p;
        lastCuts_.push_back({std::uint32_t(p - raw), std::uint32_t(keys)});
    }

    node->Touch(modified);
    key_ = node;
}

void RegistryParser::OptionLine(const char* s, const char* stop)
{
    if (!key_) {
        const QByteArrayView arch(s + std::min<qsizetype>(6, stop - s), stop);
        if (!StartsWith(s, stop, "#arch=")) Fail(kUnknownOption);
        if (arch != "win32" && arch != "win64") Fail(kUnknownArch);
        hive_->SetArch(QString::fromLatin1(arch));
        return;
    }
    if (StartsWith(s, stop, "#time=")) {
        std::uint64_t time = 0;
        s = HexNumber(s + 6, stop, 16, time);
        if (!s) Fail(kBadNumber);
        End(s, stop);
        key_->Touch(time);
    } else if (StartsWith(s, stop, "#class=\"")) {
        const char* after = Unescape(s + 8, stop, '"');
        if (!after) Fail(kClassNotClosed);
        End(after, stop);
        hive_->SetClassName(*key_, QString::fromUtf16(text_.data(), qsizetype(text_.size())));
    } else if (StartsWith(s, stop, "#link")) {
        End(s + 5, stop);
        key_->SetLink(true);
    } else {
        Fail(kUnknownOption);
    }
}

RegData RegistryParser::Hex(const char* s, const char* stop)
{
    bytes_.clear();
    for (;;) {
        // The common shape, "xx," repeated, without the general checks.
        while (stop - s >= 3 && s[2] == ',') {
            const int hi = HexDigit(s[0]);
            const int lo = HexDigit(s[1]);
            if ((hi | lo) < 0) break;
            bytes_.push_back(char(hi * 16 + lo));
            s += 3;
        }
        while (s < stop && (IsBlank(*s) || *s == ','))
            ++s;
        if (s == stop) return data_(QByteArrayView(bytes_.data(), qsizetype(bytes_.size())));
        if (*s == '\\') {
            End(s + 1, stop);
            if (!NextLine(s, stop)) Fail(kEndInHex);
            continue;
        }
        const int hi = HexDigit(*s);
        const int lo = s + 1 < stop ? HexDigit(s[1]) : -1;
        if (hi < 0) Fail(kBadHex);
        if (lo < 0) {
            bytes_.push_back(char(hi));
            ++s;
        } else {
            bytes_.push_back(char(hi * 16 + lo));
            s += 2;
        }
    }
}

void RegistryParser::ValueLine(const char* s, const char* stop)
{
    if (!key_) Fail(kValueOutsideKey);
    RegName name;
    if (*s == '@') {
        ++s;
    } else {
        s = Unescape(s + 1, stop, '"');
        if (!s) Fail(kNameNotClosed);
        name = names_(QStringView(text_.data(), qsizetype(text_.size())));
    }
    s = SkipBlanks(s, stop);
    if (s == stop || *s != '=') Fail(kNoEquals);
    s = SkipBlanks(s + 1, stop);

    std::uint32_t type = kRegSz;
    const char* text = nullptr;
    // The text forms Wine reads, with the type each stands for.
    static constexpr struct
    {
        const char* tag;
        std::uint32_t type;
    } kTextTags[] = {{"\"", kRegSz},
                     {"str:\"", kRegSz},
                     {"str(2):\"", kRegExpandSz},
                     {"str(7):\"", kRegMultiSz}};
    for (const auto& tag : kTextTags) {
        if (!StartsWith(s, stop, tag.tag)) continue;
        type = tag.type;
        text = s + std::strlen(tag.tag);
        break;
    }

    RegData data;
    if (text) {
        const char* after = Unescape(text, stop, '"');
        if (!after) Fail(kTextNotClosed);
        End(after, stop);
        text_.push_back(0);
        data = data_(QByteArrayView(reinterpret_cast<const char*>(text_.data()),
                                    qsizetype(text_.size()) * 2));
    } else if (StartsWith(s, stop, "dword:")) {
        type = kRegDword;
        std::uint64_t v = 0;
        s = HexNumber(s + 6, stop, 8, v);
        if (!s) Fail(kBadNumber);
        End(s, stop);
        const auto dword = std::uint32_t(v);
        data = data_(QByteArrayView(reinterpret_cast<const char*>(&dword), 4));
    } else if (StartsWith(s, stop, "hex:")) {
        type = kRegBinary;
        data = Hex(s + 4, stop);
    } else if (StartsWith(s, stop, "hex(")) {
        std::uint64_t v = 0;
        s = HexNumber(s + 4, stop, 8, v);
        if (!s || !StartsWith(s, stop, "):")) Fail(kUnknownType);
        type = std::uint32_t(v);
        data = Hex(s + 2, stop);
    } else {
        Fail(kUnknownType);
    }
    key_->PutValue(std::move(name), type, std::move(data));
}

std::unique_ptr<RegistryHive> RegistryParser::Run(bool whole)
{
    const char* s;
    const char* stop;
    if (!NextLine(s, stop) || QByteArrayView(s, stop - s) != "WINE REGISTRY Version 2")
        Fail(kNotRegistry);
    made_ = std::make_unique<RegistryHive>(QString(), QString());
    hive_ = made_.get();
    while (NextLine(s, stop)) {
        const char* lineStart = s;
        s = SkipBlanks(s, stop);
        if (s == stop) continue;
        switch (*s) {
        case '[':
            if (!whole) {
                // The keys stay where they are until one is looked for.
                RegNode& root = hive_->Root();
                root.folded_ = true;
                root.foldStart_ = std::uint32_t(lineStart - 1 - begin_);
                root.foldLength_ = std::uint32_t(end_ - (lineStart - 1));
                root.subtreeLength_ = root.foldLength_;
                root.ownKept_ = root.subtreeKept_ = true;
                hive_->treeStart_ = root.foldStart_;
                return std::move(made_);
            }
            KeyLine(s, stop);
            break;
        case '@':
        case '"':
            if (!key_) Fail(kValueOutsideKey);
            ValueLine(s, stop);
            break;
        case '#':
            OptionLine(s, stop);
            break;
        case ';':
            // Comments are read and not kept, as Wine does; the first names the hive's place.
            if (!key_ && StartsWith(s, stop, ";; All keys relative to ")) {
                Unescape(s + 24, stop, kToLineEnd);
                hive_->SetRelativeTo(QString::fromUtf16(text_.data(), qsizetype(text_.size())));
            }
            break;
        default:
            Fail(kUnknownLine);
        }
    }
    hive_->Root().Compact();
    return std::move(made_);
}

std::uint64_t RegistryParser::Stamp(const char* after, const char* stop)
{
    if (!after) Fail(kKeyNotClosed);
    after = SkipBlanks(after, stop);
    std::uint64_t seconds = 0;
    for (; after < stop && *after >= '0' && *after <= '9'; ++after)
        seconds = seconds * 10 + std::uint64_t(*after - '0');
    End(after, stop);
    return kTicks1601To1970 + seconds * kTicksPerSecond;
}

void RegistryParser::LineAfter(const char* nl, const char*& s, const char*& stop)
{
    p_ = nl + 1;
    NextLine(s, stop);
}

std::uint64_t RegistryParser::Path(const char* nl)
{
    const char* s;
    const char* stop;
    LineAfter(nl, s, stop);
    s = SkipBlanks(s, stop);
    const std::uint64_t modified = Stamp(Unescape(s + 1, stop, ']'), stop);
    parts_.clear();
    const QStringView all(text_.data(), qsizetype(text_.size()));
    for (qsizetype start = 0; start < all.size();) {
        qsizetype cut = all.indexOf(u'\\', start);
        if (cut < 0) cut = all.size();
        if (cut > start) parts_.emplace_back(start, cut - start);
        start = cut + 1;
    }
    if (parts_.size() > kMaxKeyDepth) Fail(kTooDeep);
    return modified;
}

const char* RegistryParser::NextKeyLine(const char* from, const char* limit) const
{
    // Only a key line begins with "[": the lines between are passed over at memchr's speed.
    for (const char* p = from + 1; p < end_;) {
        const auto* mark = static_cast<const char*>(std::memchr(p, '[', std::size_t(end_ - p)));
        if (!mark) break;
        const char* nl = mark - 1;
        while (nl >= begin_ && IsBlank(*nl))
            --nl;
        if (nl >= limit) break;
        if (nl >= from && *nl == '\n') return nl;
        p = mark + 1;
    }
    return limit;
}

bool RegistryParser::UnderChild(const char* nl)
{
    // Wine writes a key's path the same way on every line, so the bytes usually tell.
    const char* raw = nl + 1;
    const std::size_t n = child_.rawLength;
    if (n && std::size_t(end_ - raw) > n + 3 && *raw == '[' &&
        std::memcmp(raw + 1, child_.raw, n) == 0 && raw[n + 1] == '\\' && raw[n + 2] == '\\' &&
        raw[n + 3] != '\\' && raw[n + 3] != ']')
        return true;
    Path(nl);
    const std::size_t depth = child_.path.size() - 1;
    const QStringView all(text_.data(), qsizetype(text_.size()));
    for (std::size_t i = 0; i <= depth; ++i) {
        const int order =
            i < parts_.size()
                ? CompareRegNames(all.mid(parts_[i].first, parts_[i].second), child_.path[i])
                : -1;
        // A line before the child's first is out of Wine's order, as is one of another key
        // between its first line and its siblings'.
        if (order < 0 || (order > 0 && i < depth)) throw RegistryOutOfOrder();
        if (order > 0) return false;
    }
    if (parts_.size() == depth + 1) throw RegistryOutOfOrder(); // the child's key line again
    return true;
}

bool RegistryParser::OutOfOrder(const std::atomic<bool>& stop)
{
    counting_ = false;
    std::vector<char16_t> lastText;
    std::vector<std::pair<qsizetype, qsizetype>> lastParts;
    for (const char* nl = NextKeyLine(begin_, end_); nl != end_; nl = NextKeyLine(p_ - 1, end_)) {
        if (stop.load(std::memory_order_relaxed)) return false;
        Path(nl);
        const auto name = [](const std::vector<char16_t>& text,
                             std::pair<qsizetype, qsizetype> at) {
            return QStringView(text.data() + at.first, at.second);
        };
        int order = 0;
        for (std::size_t i = 0; i < std::min(parts_.size(), lastParts.size()) && !order; ++i)
            order = CompareRegNames(name(lastText, lastParts[i]), name(text_, parts_[i]));
        // The root has no key line, and a key comes after its parent and its elder siblings.
        if (parts_.empty() || order > 0 || (!order && parts_.size() <= lastParts.size()))
            return true;
        std::swap(lastText, text_);
        std::swap(lastParts, parts_);
    }
    return false;
}

void RegistryParser::Unfold(RegistryHive& hive, RegNode& key)
{
    hive_ = &hive;
    counting_ = false;
    std::vector<QString> path;
    for (const RegNode* n = &key; n->Parent(); n = n->Parent())
        path.push_back(n->Name());
    std::reverse(path.begin(), path.end());
    const std::size_t depth = path.size();
    const char* const first = begin_ + key.foldStart_;
    const char* const end = first + key.foldLength_;
    // In the last text, the children's lines follow the key's own.
    const std::uint64_t base = key.ownLength_;
    auto undo = qScopeGuard([&] {
        while (!key.children_.empty())
            key.children_.Erase(key.children_.end() - 1);
    });

    for (const char* at = first; at < end;) {
        const std::uint64_t modified = Path(at);
        const QStringView all(text_.data(), qsizetype(text_.size()));
        const auto name = [&](std::size_t i) { return all.mid(parts_[i].first, parts_[i].second); };
        if (parts_.size() <= depth) throw RegistryOutOfOrder();
        for (std::size_t i = 0; i < depth; ++i)
            if (CompareRegNames(name(i), path[i]) != 0) throw RegistryOutOfOrder();
        if (!key.children_.empty() &&
            CompareRegNames(key.children_.back()->NameView(), name(depth)) >= 0)
            throw RegistryOutOfOrder();
        const bool own = parts_.size() == depth + 1;
        RegNode* child = key.children_
                             .Insert(key.children_.end(),
                                     std::make_unique<RegNode>(names_(name(depth)), &key, modified))
                             ->get();
        child_.path = path;
        child_.path.push_back(child->Name());

        // The bytes of the child's path, for UnderChild: up to the end of its name, counted
        // through plain "\\\\" separators only.
        const char* raw = SkipBlanks(at + 1, end_) + 1;
        child_.raw = raw;
        child_.rawLength = 0;
        std::size_t names = 0;
        for (const char* p = raw; p < end_ && *p != ']' && *p != '\n';) {
            if (*p != '\\') {
                while (p < end_ && *p != '\\' && *p != ']' && *p != '\n')
                    ++p;
                if (++names == depth + 1) {
                    child_.rawLength = std::size_t(p - raw);
                    break;
                }
                continue;
            }
            if (p + 1 == end_ || p[1] != '\\') break;
            p += 2;
        }

        // Its own lines run to the next key line; the options among them are read now.
        const char* ownEnd = at;
        if (own) {
            key_ = child;
            ownEnd = end;
            const char* s;
            const char* stop;
            for (const char* nl = p_ - 1; nl < end && NextLine(s, stop); nl = p_ - 1) {
                s = SkipBlanks(s, stop);
                if (s < stop && *s == '[') {
                    ownEnd = nl;
                    break;
                }
                if (s < stop && *s == '#') OptionLine(s, stop);
            }
        }

        // Its subtree runs to the first key line not under it: searched for with doubling
        // steps, then halving, so that a large subtree is passed over unread.
        const char* childEnd = ownEnd;
        if (ownEnd < end && UnderChild(ownEnd)) {
            const char* lo = ownEnd; // a key line under the child
            const char* found = end; // the first line known not to be
            const char* limit = end; // no key line lies in [limit, found)
            for (std::size_t step = 4096;; step *= 2) {
                if (std::size_t(end - lo) <= step) break;
                const char* k = NextKeyLine(lo + step, end);
                if (k == end) {
                    limit = lo + step;
                    break;
                }
                if (!UnderChild(k)) {
                    found = limit = k;
                    break;
                }
                lo = k;
            }
            while (limit - lo > 4096) {
                const char* mid = lo + (limit - lo) / 2;
                const char* k = NextKeyLine(mid, limit);
                if (k == limit)
                    limit = mid;
                else if (UnderChild(k))
                    lo = k;
                else
                    found = limit = k;
            }
            for (const char* k = lo;;) {
                k = NextKeyLine(k + 1, found);
                if (k == found || !UnderChild(k)) {
                    childEnd = k;
                    break;
                }
            }
        }

        child->originStart_ = std::uint32_t(at - begin_);
        child->ownLength_ = std::uint32_t(ownEnd - at);
        child->valuesLoaded_ = !own;
        child->folded_ = childEnd > ownEnd;
        child->foldStart_ = std::uint32_t(ownEnd - begin_);
        child->foldLength_ = std::uint32_t(childEnd - ownEnd);
        child->subtreeLength_ = std::uint32_t(childEnd - at);
        child->offset_ = std::uint32_t(base + std::uint64_t(at - first));
        child->ownKept_ = child->subtreeKept_ = true;
        at = childEnd;
    }
    undo.dismiss();
    key.children_.ShrinkToFit();
    key.folded_ = false;
}

void RegistryParser::Values(RegNode& key)
{
    key_ = &key;
    const char* s;
    const char* stop;
    NextLine(s, stop); // the key line, read when the key was unfolded
    while (NextLine(s, stop)) {
        s = SkipBlanks(s, stop);
        if (s == stop || *s == '#' || *s == ';') continue; // options were read with the key line
        if (*s != '"' && *s != '@') Fail(kUnknownLine);
        ValueLine(s, stop);
    }
}

namespace {

// ---- writing --------------------------------------------------------------------------------

constexpr char kDigits[] = "0123456789abcdef";

char* Hex32(char* p, std::uint32_t v, int minDigits)
{
    char tmp[8];
    int n = 0;
    do {
        tmp[n++] = kDigits[v & 15];
        v >>= 4;
    } while (v);
    while (n < minDigits)
        tmp[n++] = '0';
    while (n)
        *p++ = tmp[--n];
    return p;
}

char* Decimal(char* p, std::uint32_t v)
{
    char tmp[10];
    int n = 0;
    do {
        tmp[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    while (n)
        *p++ = tmp[--n];
    return p;
}

char* Octal(char* p, unsigned v, int minDigits)
{
    char tmp[6];
    int n = 0;
    do {
        tmp[n++] = char('0' + (v & 7));
        v >>= 3;
    } while (v);
    while (n < minDigits)
        tmp[n++] = '0';
    while (n)
        *p++ = tmp[--n];
    return p;
}

bool IsHexDigit(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Writes into a string through raw pointers: room is made once per item, then trimmed.
} // namespace

class RegistryWriter
{
public:
    // Plans into `text`: unchanged keys are copied from the last text when the hive has one, and
    // keys never opened from the origin; the rest is made.
    RegistryWriter(RegistryHive& hive, RegistryText& text)
        : hive_(hive), text_(text), out_(text.made), last_(hive.last_.get()),
          origin_(hive.origin_.get())
    {}

    std::uint64_t Position() const { return copied_ + out_.size(); }
    void Copy(const RegistrySource* from, std::uint64_t offset, std::uint64_t length)
    {
        if (!length) return;
        CloseMade();
        auto& pieces = text_.pieces;
        if (!pieces.empty() && pieces.back().from == from &&
            pieces.back().offset + pieces.back().length == offset)
            pieces.back().length += length;
        else
            pieces.push_back({from, offset, length});
        copied_ += length;
    }
    void Finish()
    {
        CloseMade();
        text_.size = Position();
    }

    char* Room(std::size_t n)
    {
        mark_ = out_.size();
        out_.resize(mark_ + n);
        return out_.data() + mark_;
    }
    void Done(const char* end) { out_.resize(std::size_t(end - out_.data())); }
    void Append(const char* text, std::size_t n) { out_.append(text, n); }

    // Escapes as Wine's dump_strW does; returns the number of characters written. The final
    // NUL of terminated data is its end, not text; a name keeps it, or "a" and "a\0" would be
    // written as one.
    std::size_t Escaped(const char16_t* s, std::size_t len, char e1, char e2,
                        bool terminated = false)
    {
        static const char escapes[33] = ".......abtnvfr.............e....";
        char* const begin = Room(len * 7);
        char* p = begin;
        for (; len; ++s, --len) {
            const char16_t c = *s;
            if (c >= 32 && c <= 127) {
                if (c == '\\' || c == e1 || c == e2) *p++ = '\\';
                *p++ = char(c);
            } else if (c > 127) {
                *p++ = '\\';
                *p++ = 'x';
                const bool padded = len > 1 && s[1] < 128 && IsHexDigit(s[1]);
                p = Hex32(p, c, padded ? 4 : 1);
            } else if (c || len != 1 || !terminated) {
                *p++ = '\\';
                if (escapes[c] != '.')
                    *p++ = escapes[c];
                else
                    p = Octal(p, c, len > 1 && s[1] >= '0' && s[1] <= '7' ? 3 : 1);
            }
        }
        const std::size_t written = std::size_t(p - begin);
        Done(p);
        return written;
    }

    std::size_t Escaped(QStringView s, char e1, char e2)
    {
        return Escaped(s.utf16(), std::size_t(s.size()), e1, e2);
    }

    void Path(const RegNode& key, const RegNode& base)
    {
        if (key.Parent() && key.Parent() != &base) {
            Path(*key.Parent(), base);
            Append("\\\\", 2);
        }
        Escaped(key.name_.View(), '[', ']');
    }

    void Value(const RegNodeValue& value)
    {
        std::size_t count;
        if (!value.name.isEmpty()) {
            Append("\"", 1);
            count = 1 + Escaped(value.name.View(), '"', '"');
            Append("\"=", 2);
            count += 2;
        } else {
            Append("@=", 2);
            count = 2;
        }
        const QByteArrayView data = value.data.View();
        const auto size = std::size_t(data.size());
        switch (value.type) {
        case kRegSz:
        case kRegExpandSz:
        case kRegMultiSz: {
            if (size < 2 || size % 2) break;
            const auto* units = reinterpret_cast<const char16_t*>(data.constData());
            if (units[size / 2 - 1]) break;
            if (value.type != kRegSz) {
                char* p = Room(16);
                std::memcpy(p, "str(", 4);
                p = Hex32(p + 4, value.type, 1);
                *p++ = ')';
                *p++ = ':';
                Done(p);
            }
            Append("\"", 1);
            Escaped(units, size / 2, '"', '"', true);
            Append("\"\n", 2);
            return;
        }
        case kRegDword:
            if (size != 4) break;
            {
                std::uint32_t dw;
                std::memcpy(&dw, data.constData(), 4);
                char* p = Room(16);
                std::memcpy(p, "dword:", 6);
                p = Hex32(p + 6, dw, 8);
                *p++ = '\n';
                Done(p);
            }
            return;
        default:
            break;
        }
        char* const begin = Room(16 + size * 3 + (size / 20 + 1) * 4);
        char* p = begin;
        if (value.type == kRegBinary) {
            std::memcpy(p, "hex:", 4);
            p += 4;
        } else {
            std::memcpy(p, "hex(", 4);
            p = Hex32(p + 4, value.type, 1);
            *p++ = ')';
            *p++ = ':';
        }
        count += std::size_t(p - begin);
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
        for (std::size_t i = 0; i < size; ++i) {
            *p++ = kDigits[bytes[i] >> 4];
            *p++ = kDigits[bytes[i] & 15];
            count += 2;
            if (i < size - 1) {
                *p++ = ',';
                if (++count > 76) {
                    std::memcpy(p, "\\\n  ", 4);
                    p += 4;
                    count = 2;
                }
            }
        }
        *p++ = '\n';
        Done(p);
    }

    void Key(const RegNode& key, const RegNode& base)
    {
        Append("\n[", 2);
        if (&key != &base) Path(key, base);
        const std::uint64_t m = key.Modified();
        char* p = Room(48);
        *p++ = ']';
        *p++ = ' ';
        p = Decimal(p, std::uint32_t((m - kTicks1601To1970) / kTicksPerSecond));
        std::memcpy(p, "\n#time=", 7);
        p = Hex32(p + 7, std::uint32_t(m >> 32), 1);
        p = Hex32(p, std::uint32_t(m), 8);
        *p++ = '\n';
        Done(p);
        if (const QString* name = hive_.ClassName(key)) {
            Append("#class=\"", 8);
            Escaped(*name, '"', '"');
            Append("\"\n", 2);
        }
        if (key.IsLink()) Append("#link\n", 6);
        for (const auto& value : key.Values())
            Value(value);
    }

    // Plans a key and its subtree. prevStart: where its subtree began in the last text;
    // parentStart: where the enclosing subtree begins in this one.
    void Subkeys(RegNode& key, const RegNode& base, std::uint64_t prevStart,
                 std::uint64_t parentStart)
    {
        const std::uint64_t start = Position();
        const std::uint64_t prevOwnLength = key.ownLength_;
        if (last_ && key.subtreeKept_) {
            Copy(last_, prevStart, key.subtreeLength_);
        } else {
            if (last_ && key.ownKept_ && key.ownLength_) {
                Copy(last_, prevStart, key.ownLength_);
            } else if (!key.valuesLoaded_) {
                // Never opened, so never changed: its lines are as the origin holds them.
                Copy(origin_, key.originStart_, key.ownLength_);
            } else {
                const bool printed =
                    !key.Values().empty() || !key.HasChildren() || key.HasClass() || key.IsLink();
                if (printed) Key(key, base);
                key.ownLength_ = std::uint32_t(Position() - start);
            }
            // A folded key's children are copied as one: from the last text, where they follow
            // the key's own lines, or from the origin.
            if (key.folded_ && last_)
                Copy(last_, prevStart + prevOwnLength, key.foldLength_);
            else if (key.folded_)
                Copy(origin_, key.foldStart_, key.foldLength_);
            for (const auto& child : key.children_)
                Subkeys(*child, base, prevStart + child->offset_, start);
            key.subtreeLength_ = std::uint32_t(Position() - start);
            key.ownKept_ = key.subtreeKept_ = true;
        }
        key.offset_ = std::uint32_t(start - parentStart);
    }

private:
    void CloseMade()
    {
        if (out_.size() > madeStart_)
            text_.pieces.push_back({nullptr, madeStart_, out_.size() - madeStart_});
        madeStart_ = out_.size();
    }

    RegistryHive& hive_;
    RegistryText& text_;
    std::string& out_;
    const RegistrySource* last_;
    const RegistrySource* origin_;
    std::uint64_t copied_ = 0;
    std::size_t madeStart_ = 0;
    std::size_t mark_ = 0;
};
int CompareRegNames(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i]) continue;
        const int d = int(Lower(pa[i])) - int(Lower(pb[i]));
        if (d) return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::uint64_t FileTimeNow()
{
    using namespace std::chrono;
    const auto since1970 = duration_cast<nanoseconds>(system_clock::now().time_since_epoch());
    return kTicks1601To1970 + std::uint64_t(since1970.count() / 100);
}

namespace {

// Where keys are made. The memory comes from the kernel in large blocks filled at once: given a
// page at a time on first touch, it costs an exception per page, which on a virtual machine
// takes longer than reading the lines that make the keys (a file read whole makes hundreds of
// thousands). Freed keys are reused, never given back.
class KeyPool
{
public:
    void* Allocate()
    {
        const std::lock_guard lock(mutex_);
        if (free_) return std::exchange(free_, *static_cast<void**>(free_));
        if (end_ - next_ < std::ptrdiff_t(kSlot)) Grow();
        return std::exchange(next_, next_ + kSlot);
    }
    void Free(void* key)
    {
        const std::lock_guard lock(mutex_);
        *static_cast<void**>(key) = free_;
        free_ = key;
    }

private:
    static constexpr std::size_t kSlot =
        (sizeof(RegNode) + alignof(RegNode) - 1) / alignof(RegNode) * alignof(RegNode);
    static constexpr std::size_t kLargestBlock = std::size_t(4) << 20;

    void Grow()
    {
        void* block = ::mmap(nullptr, block_, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (block == MAP_FAILED) throw std::bad_alloc();
        next_ = static_cast<char*>(block);
        end_ = next_ + block_;
        block_ = std::min(block_ * 2, kLargestBlock);
    }

    std::mutex mutex_;
    void* free_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t block_ = std::size_t(256) << 10;
};

KeyPool& Keys()
{
    static KeyPool pool;
    return pool;
}

} // namespace

void* RegNode::operator new(std::size_t size)
{
    Q_ASSERT(size == sizeof(RegNode));
    return Keys().Allocate();
}

void RegNode::operator delete(void* key) noexcept { Keys().Free(key); }

RegNode* RegNode::Child(QStringView name) const
{
    Q_ASSERT(!folded_);
    const auto it = LowerBound(children_, name, [](const auto& c) { return c->name_.View(); });
    return (it != children_.end() && CompareRegNames((*it)->name_.View(), name) == 0) ? it->get()
                                                                                      : nullptr;
}

RegNode* RegNode::AddChild(QStringView name, std::uint64_t modified)
{
    if (RegNode* existing = Child(name)) return existing;
    return AddChild(RegName(name), modified);
}

RegNode* RegNode::AddChild(RegName name, std::uint64_t modified)
{
    Q_ASSERT(!folded_);
    // Keys are loaded in sorted order; appending keeps the load linear.
    auto it = children_.end();
    if (!children_.empty() && CompareRegNames(children_.back()->name_.View(), name.View()) >= 0) {
        it = LowerBound(children_, name.View(), [](const auto& c) { return c->name_.View(); });
        if (it != children_.end() && CompareRegNames((*it)->name_.View(), name.View()) == 0)
            return it->get();
    }
    if (children_.empty()) ChildlessChanged();
    SubtreeChanged();
    return children_.Insert(it, std::make_unique<RegNode>(std::move(name), this, modified))->get();
}

bool RegNode::RemoveChild(QStringView name)
{
    Q_ASSERT(!folded_);
    const auto it = LowerBound(children_, name, [](const auto& c) { return c->name_.View(); });
    if (it == children_.end() || CompareRegNames((*it)->name_.View(), name) != 0) return false;
    children_.Erase(it);
    if (children_.empty()) ChildlessChanged();
    SubtreeChanged();
    return true;
}

const RegNodeValue* RegNode::Value(QStringView name) const
{
    const auto it = LowerBound(values_, name, [](const RegNodeValue& v) { return v.name.View(); });
    return (it != values_.end() && CompareRegNames(it->name.View(), name) == 0) ? it : nullptr;
}

void RegNode::SetValue(QStringView name, std::uint32_t type, QByteArrayView data)
{
    SetValue(RegName(name), type, RegData(data));
}

void RegNode::SetValue(RegName name, std::uint32_t type, RegData data)
{
    Changed();
    PutValue(std::move(name), type, std::move(data));
}

void RegNode::PutValue(RegName name, std::uint32_t type, RegData data)
{
    // Values are loaded in sorted order; appending keeps the load linear.
    auto it = values_.end();
    if (!values_.empty() && CompareRegNames(values_.back().name.View(), name.View()) >= 0) {
        it = LowerBound(values_, name.View(), [](const RegNodeValue& v) { return v.name.View(); });
        if (it != values_.end() && CompareRegNames(it->name.View(), name.View()) == 0) {
            it->type = type;
            it->data = std::move(data);
            return;
        }
    }
    values_.Insert(it, {std::move(name), type, std::move(data)});
}

bool RegNode::RemoveValue(QStringView name)
{
    const auto it = LowerBound(values_, name, [](const RegNodeValue& v) { return v.name.View(); });
    if (it == values_.end() || CompareRegNames(it->name.View(), name) != 0) return false;
    values_.Erase(it);
    Changed();
    return true;
}

void RegNode::Compact()
{
    children_.ShrinkToFit();
    values_.ShrinkToFit();
    for (const auto& child : children_)
        child->Compact();
}

RegistryHive::RegistryHive(QString relativeTo, QString arch)
    : relativeTo_(std::move(relativeTo)), arch_(std::move(arch)),
      root_(RegName(), nullptr, FileTimeNow())
{}

const QString* RegistryHive::ClassName(const RegNode& key) const
{
    return key.hasClass_ ? &classNames_.at(&key) : nullptr;
}

void RegistryHive::SetClassName(RegNode& key, QString name)
{
    classNames_[&key] = std::move(name);
    key.hasClass_ = true;
    key.Changed();
}

namespace {

// The 1-based number of the line that begins after `offset` bytes of the source.
qsizetype LinesBefore(const RegistrySource& source, std::uint64_t offset)
{
    qsizetype lines = 0;
    std::string chunk(std::size_t(1) << 20, '\0');
    for (std::uint64_t at = 0; at < offset;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(chunk.size(), offset - at));
        if (!source.Read(at, n, chunk.data())) break;
        lines += std::count(chunk.data(), chunk.data() + n, '\n');
        at += n;
    }
    return lines;
}

} // namespace

namespace {

// A source's bytes at hand, for as long as the object lives: a file's are mapped, not read into
// memory of the program's own, every page of which would first have to be given to the program.
class WholeText
{
public:
    explicit WholeText(const RegistrySource& source)
    {
        const auto size = std::size_t(source.Size());
        if (const auto* inMemory = dynamic_cast<const TextSource*>(&source)) {
            text_ = inMemory->Text();
        } else if (size && (mapped_ = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE,
                                             source.Descriptor(), 0)) != MAP_FAILED) {
            text_ = std::string_view(static_cast<const char*>(mapped_), size);
        } else {
            read_.resize(size);
            if (!source.Read(0, read_.size(), read_.data()))
                throw RegistryParseError(1, QStringLiteral("nie można odczytać pliku"));
            text_ = read_;
        }
    }
    ~WholeText()
    {
        if (mapped_ != MAP_FAILED) ::munmap(mapped_, text_.size());
    }
    WholeText(const WholeText&) = delete;
    WholeText& operator=(const WholeText&) = delete;
    const char* begin() const { return text_.data(); }
    const char* end() const { return text_.data() + text_.size(); }

private:
    std::string read_;
    std::string_view text_;
    void* mapped_ = MAP_FAILED;
};

} // namespace

std::unique_ptr<RegistryHive> RegistryHive::Load(std::shared_ptr<const RegistrySource> source,
                                                 bool whole)
{
    const WholeText text(*source);
    std::unique_ptr<RegistryHive> hive = RegistryParser(text.begin(), text.end()).Run(whole);
    if (whole) return hive;
    hive->origin_ = source;
    if (hive->root_.subtreeKept_) hive->last_ = std::move(source);
    return hive;
}

std::unique_ptr<RegistryHive> RegistryHive::Parse(const QByteArray& text)
{
    auto hive = Load(std::make_shared<TextSource>(text.toStdString()));
    try {
        hive->UnfoldAll();
    } catch (const RegistryOutOfOrder&) {
        // Read whole: every key is written anew at the first save.
        return RegistryParser(text.constData(), text.constData() + text.size()).Run(true);
    }
    // One parser for every key, so that repeated names and data are shared.
    const std::string& whole = static_cast<const TextSource&>(*hive->origin_).Text();
    RegistryParser parser(whole.data(), whole.data());
    std::vector<RegNode*> todo{&hive->root_};
    while (!todo.empty()) {
        RegNode* key = todo.back();
        todo.pop_back();
        if (!key->valuesLoaded_) {
            const char* lines = whole.data() + key->originStart_ + 1;
            parser.Restart(lines, whole.data() + key->originStart_ + key->ownLength_, 0);
            try {
                parser.Values(*key);
            } catch (const RegistryParseError& error) {
                throw RegistryParseError(std::count(whole.data(), lines, '\n') + error.Line(),
                                         error.Reason());
            }
            key->values_.ShrinkToFit();
            key->valuesLoaded_ = true;
        }
        for (const auto& child : key->Children())
            todo.push_back(child.get());
    }
    return hive;
}

void RegistryHive::UnfoldAll()
{
    std::vector<RegNode*> todo{&root_};
    while (!todo.empty()) {
        RegNode* key = todo.back();
        todo.pop_back();
        Unfold(*key);
        for (const auto& child : key->Children())
            todo.push_back(child.get());
    }
}

bool KeysOutOfOrder(const RegistrySource& source, const std::atomic<bool>& stop)
{
    try {
        const WholeText text(source);
        return RegistryParser(text.begin(), text.end()).OutOfOrder(stop);
    } catch (const RegistryParseError&) {
        return false;
    }
}

void RegistryHive::Unfold(RegNode& key)
{
    if (!key.folded_) return;
    const WholeText text(*origin_);
    try {
        RegistryParser(text.begin(), text.end()).Unfold(*this, key);
    } catch (const RegistryParseError&) {
        key.childrenUnreadable_ = true;
        throw;
    }
}

void RegistryHive::Open(RegNode& key)
{
    if (key.valuesLoaded_) return;
    std::string lines(key.ownLength_, '\0');
    const bool read = origin_->Read(key.originStart_, lines.size(), lines.data());
    try {
        if (!read)
            throw RegistryParseError(LinesBefore(*origin_, key.originStart_) + 1,
                                     QStringLiteral("nie można odczytać pliku"));
        RegistryParser parser(lines.data() + 1, lines.data() + lines.size());
        try {
            parser.Values(key);
        } catch (const RegistryParseError& error) {
            // Numbered from the key line; the file's number is counted only now.
            throw RegistryParseError(LinesBefore(*origin_, key.originStart_ + 1) + error.Line(),
                                     error.Reason());
        }
    } catch (const RegistryParseError&) {
        // What was read of it goes: the key keeps its lines as they are.
        while (!key.values_.empty())
            key.values_.Erase(key.values_.end() - 1);
        key.unreadable_ = true;
        throw;
    }
    key.values_.ShrinkToFit();
    key.valuesLoaded_ = true;
}

RegistryText RegistryHive::Plan()
{
    RegistryText text;
    RegistryWriter w(*this, text);
    text.made.append("WINE REGISTRY Version 2\n;; All keys relative to ");
    w.Escaped(relativeTo_, '\0', '\0');
    text.made.push_back('\n');
    if (!arch_.isEmpty()) {
        text.made.append("\n#arch=");
        text.made.append(arch_.toStdString());
        text.made.push_back('\n');
    }
    // The header's length changes with the arch or the hive's place, so the kept tree is
    // found where the last text put it.
    const std::uint64_t start = w.Position();
    w.Subkeys(root_, root_, treeStart_, start);
    w.Finish();
    treeStart_ = start;
    bool copiesLast = false;
    for (const RegistryText::Piece& piece : text.pieces) {
        if (!piece.from) continue;
        if (piece.from == last_.get() && !copiesLast) {
            copiesLast = true;
            text.sources.push_back(last_);
        }
        if (piece.from == origin_.get() && !text.origin) {
            text.origin = origin_.get();
            text.sources.push_back(origin_);
        }
    }
    return text;
}

std::shared_ptr<const RegistrySource>
RegistryHive::Written(std::shared_ptr<const RegistrySource> text)
{
    return std::exchange(last_, std::move(text));
}

void RegistryHive::NotWritten() { last_.reset(); }

std::string RegistryHive::Text()
{
    const RegistryText plan = Plan();
    std::string out;
    if (!plan.Read(out)) {
        NotWritten();
        throw RegistryParseError(1, QStringLiteral("nie można odczytać pliku"));
    }
    Written(std::make_shared<TextSource>(out));
    return out;
}

namespace {

std::int64_t ChangeTime(const struct stat& st)
{
    return std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
}

} // namespace

FileSource::FileSource(int fd) : fd_(fd)
{
    struct stat st = {};
    if (::fstat(fd, &st) != 0) return;
    size_ = std::uint64_t(st.st_size);
    changed_ = ChangeTime(st);
}

FileSource::~FileSource() { ::close(fd_); }

bool FileSource::Intact() const
{
    // A file no folder names any more (a newer one took its name) is out of everyone's reach;
    // taking the name changed its change time.
    struct stat st = {};
    return ::fstat(fd_, &st) == 0 && std::uint64_t(st.st_size) == size_ &&
           (st.st_nlink == 0 || ChangeTime(st) == changed_);
}

bool FileSource::Read(std::uint64_t offset, std::size_t length, char* out) const
{
    while (length) {
        const ssize_t n = ::pread(fd_, out, length, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n;
        offset += std::uint64_t(n);
        length -= std::size_t(n);
    }
    return true;
}

bool TextSource::Read(std::uint64_t offset, std::size_t length, char* out) const
{
    if (offset > text_.size() || length > text_.size() - offset) return false;
    std::memcpy(out, text_.data() + offset, length);
    return true;
}

bool RegistryText::Read(std::string& out) const
{
    out.resize(std::size_t(size));
    char* p = out.data();
    for (const Piece& piece : pieces) {
        if (!piece.from)
            std::memcpy(p, made.data() + piece.offset, std::size_t(piece.length));
        else if (!piece.from->Read(piece.offset, std::size_t(piece.length), p))
            return false;
        p += piece.length;
    }
    return true;
}

namespace {

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

} // namespace

bool RegistryText::WriteTo(int fd) const
{
    std::string buffer;
    for (const Piece& piece : pieces) {
        if (!piece.from) {
            if (!WriteAll(fd, made.data() + piece.offset, std::size_t(piece.length))) return false;
            continue;
        }
        std::uint64_t offset = piece.offset;
        std::uint64_t left = piece.length;
        // The kernel copies between files without the bytes passing through the program.
        if (const int from = piece.from->Descriptor(); from >= 0) {
            while (left) {
                auto in = loff_t(offset);
                const ssize_t n = ::copy_file_range(from, &in, fd, nullptr, std::size_t(left), 0);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;
                offset += std::uint64_t(n);
                left -= std::uint64_t(n);
            }
        }
        buffer.resize(std::size_t(1) << 20);
        while (left) {
            const std::size_t n = std::size_t(std::min<std::uint64_t>(left, buffer.size()));
            if (!piece.from->Read(offset, n, buffer.data())) {
                if (!errno) errno = EIO;
                return false;
            }
            if (!WriteAll(fd, buffer.data(), n)) return false;
            offset += n;
            left -= n;
        }
    }
    return true;
}
