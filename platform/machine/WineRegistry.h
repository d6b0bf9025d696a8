#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// One registry file of a Wine prefix (system.reg, user.reg, userdef.reg) held as a key tree.
// Everything Wine writes is read, and the tree is written exactly as Wine writes it, so that a
// file loaded and saved unchanged keeps every byte.
//
// Real prefixes carry registries of tens of megabytes, of which the program reads a few dozen
// keys. Loading reads only the header: the keys stay folded in the text, and a key's children
// are made when it is first looked into (each child folded in turn, its end searched for rather
// than read up to), a key's values are parsed when the key is first opened, and the text of
// every key never changed is copied into the next text from the bytes it came from.

// Raised when a registry file cannot be read whole: the line (from 1) and why, for the user.
// Raised when a folded key's lines are not in the order Wine writes them in, which unfolding
// relies on: such a file is read whole.
struct RegistryOutOfOrder
{};

class RegistryParseError : public std::runtime_error
{
public:
    RegistryParseError(qsizetype line, const QString& reason)
        : std::runtime_error(reason.toStdString()), line_(line), reason_(reason)
    {}
    qsizetype Line() const { return line_; }
    const QString& Reason() const { return reason_; }

private:
    qsizetype line_;
    QString reason_;
};

// The bytes a hive was loaded from or last written to, which it reads keys' values and copies
// unchanged keys from: a file kept open (so that it stays the same bytes when a newer file takes
// its name) or a text in memory. Read from any thread.
class RegistrySource
{
public:
    virtual ~RegistrySource() = default;
    // False when the bytes cannot all be read.
    virtual bool Read(std::uint64_t offset, std::size_t length, char* out) const = 0;
    virtual std::uint64_t Size() const = 0;
    // The open file, for copies the kernel makes; -1 for a text in memory.
    virtual int Descriptor() const { return -1; }
    // Whether the bytes are still those the source was made with.
    virtual bool Intact() const { return true; }
};

// An open file, as it was when opened; the source closes it.
class FileSource : public RegistrySource
{
public:
    explicit FileSource(int fd);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool Read(std::uint64_t offset, std::size_t length, char* out) const override;
    std::uint64_t Size() const override { return size_; }
    int Descriptor() const override { return fd_; }
    // A write into the file itself (not a new file put in its place) changes its change time,
    // which no program can set back.
    bool Intact() const override;

private:
    int fd_;
    std::uint64_t size_ = 0;
    std::int64_t changed_ = 0;
};

class TextSource : public RegistrySource
{
public:
    explicit TextSource(std::string text) : text_(std::move(text)) {}
    bool Read(std::uint64_t offset, std::size_t length, char* out) const override;
    std::uint64_t Size() const override { return text_.size(); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// A text planned from a hive: the lines of changed keys, made at once, and the runs of the
// sources it copies unchanged keys from. The plan holds its sources, so that it can be written
// on another thread while the hive goes on changing.
struct RegistryText
{
    struct Piece
    {
        const RegistrySource* from; // null: the made lines
        std::uint64_t offset;
        std::uint64_t length;
    };
    std::string made;
    std::vector<Piece> pieces;
    std::vector<std::shared_ptr<const RegistrySource>> sources;
    // The file the hive was loaded from, when keys never opened are copied from it.
    const RegistrySource* origin = nullptr;
    std::uint64_t size = 0;

    // The whole text; false when a source cannot be read.
    bool Read(std::string& out) const;
    // Writes the whole text at the file's position; false with errno when a step fails.
    bool WriteTo(int fd) const;
};

// Key and value names compare as Wine compares them: unit by unit in lower case, then by length.
int CompareRegNames(QStringView a, QStringView b);

// 100-nanosecond ticks since 1601, as Wine stamps keys.
std::uint64_t FileTimeNow();

// An immutable run of units, shared by count between the keys and values that hold it: the
// parser gives every repeat of a name or value ("InprocServer32", "Both", dword 0) the same
// copy, and a handle costs a pointer where a Qt one costs three. The count is not atomic: a
// run is shared within one hive only, and a hive is used by one thread at a time.
template <class Unit> class RegShared
{
public:
    RegShared() = default;
    RegShared(const Unit* units, std::size_t size)
    {
        if (!size) return;
        block_ = static_cast<Block*>(::operator new(sizeof(Block) + size * sizeof(Unit)));
        block_->refs = 1;
        block_->size = std::uint32_t(size);
        std::memcpy(block_ + 1, units, size * sizeof(Unit));
    }
    RegShared(const RegShared& other) : block_(other.block_)
    {
        if (block_) ++block_->refs;
    }
    RegShared(RegShared&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    RegShared& operator=(RegShared other) noexcept
    {
        std::swap(block_, other.block_);
        return *this;
    }
    ~RegShared()
    {
        if (block_ && --block_->refs == 0) ::operator delete(block_);
    }

    const Unit* constData() const
    {
        return block_ ? reinterpret_cast<const Unit*>(block_ + 1) : nullptr;
    }
    qsizetype size() const { return block_ ? qsizetype(block_->size) : 0; }
    bool isEmpty() const { return !block_; }

private:
    struct Block
    {
        std::uint32_t refs;
        std::uint32_t size;
    };
    Block* block_ = nullptr;
};

// Text as the registry holds names: UTF-16 units.
class RegName : public RegShared<char16_t>
{
public:
    RegName() = default;
    explicit RegName(QStringView text) : RegShared(text.utf16(), std::size_t(text.size())) {}
    QStringView View() const { return QStringView(constData(), size()); }
    // A copy, for keeping; it lets a name be read where a QString is wanted.
    operator QString() const { return View().toString(); }
};

// A value's data as the registry holds it.
class RegData : public RegShared<char>
{
public:
    RegData() = default;
    explicit RegData(QByteArrayView bytes) : RegShared(bytes.data(), std::size_t(bytes.size())) {}
    QByteArrayView View() const { return QByteArrayView(constData(), size()); }
    // A copy, for keeping; it lets data be read where a QByteArray is wanted.
    operator QByteArray() const { return View().toByteArray(); }
};

struct RegNodeValue
{
    RegName name;
    std::uint32_t type = 0;
    RegData data;
};

// A key's children or values, held through one pointer with the size and room in the block it
// points to: most keys have no children and one or two values, and an empty list costs no block.
template <class T> class RegList
{
public:
    RegList() = default;
    RegList(const RegList&) = delete;
    RegList& operator=(const RegList&) = delete;
    ~RegList() { Resize(0); }

    T* begin() { return Items(); }
    T* end() { return Items() + size(); }
    const T* begin() const { return Items(); }
    const T* end() const { return Items() + size(); }
    std::size_t size() const { return block_ ? block_->size : 0; }
    std::size_t capacity() const { return block_ ? block_->capacity : 0; }
    bool empty() const { return size() == 0; }
    const T& front() const { return *begin(); }
    const T& back() const { return end()[-1]; }

    T* Insert(T* at, T item)
    {
        const std::size_t index = std::size_t(at - begin());
        if (size() == capacity()) Resize(std::max<std::size_t>(1, size() * 2));
        new (end()) T(std::move(item));
        ++block_->size;
        std::rotate(begin() + index, end() - 1, end());
        return begin() + index;
    }
    void Erase(T* at)
    {
        std::move(at + 1, end(), at);
        end()[-1].~T();
        if (--block_->size == 0) Resize(0);
    }
    void ShrinkToFit()
    {
        if (size() != capacity()) Resize(size());
    }

private:
    struct Block
    {
        std::uint32_t size;
        std::uint32_t capacity;
    };
    static_assert(alignof(T) <= sizeof(Block));

    T* Items() const { return block_ ? reinterpret_cast<T*>(block_ + 1) : nullptr; }
    // Moves the items to a block with room for `capacity` (no block for none).
    void Resize(std::size_t capacity)
    {
        Block* block = nullptr;
        if (capacity) {
            block = static_cast<Block*>(::operator new(sizeof(Block) + capacity * sizeof(T)));
            block->size = std::uint32_t(size());
            block->capacity = std::uint32_t(capacity);
            std::uninitialized_move(begin(), end(), reinterpret_cast<T*>(block + 1));
        }
        std::destroy(begin(), end());
        ::operator delete(block_);
        block_ = block;
    }

    Block* block_ = nullptr;
};

class RegNode
{
public:
    RegNode(RegName name, RegNode* parent, std::uint64_t modified)
        : name_(std::move(name)), parent_(parent), modified_(modified)
    {}
    RegNode(const RegNode&) = delete;
    RegNode& operator=(const RegNode&) = delete;
    // Keys come by the hundred thousand: they are carved from large blocks.
    static void* operator new(std::size_t size);
    static void operator delete(void* key) noexcept;

    // A copy, for keeping; the view lives as long as the key.
    QString Name() const { return name_; }
    QStringView NameView() const { return name_.View(); }
    RegNode* Parent() const { return parent_; }
    std::uint64_t Modified() const { return modified_; }
    void Touch(std::uint64_t when)
    {
        modified_ = when;
        Changed();
    }
    bool IsLink() const { return link_; }
    void SetLink(bool link)
    {
        link_ = link;
        Changed();
    }
    // The class name, which almost no key has, is kept by the hive.
    bool HasClass() const { return hasClass_; }

    // Whether the key's children are still in the text it was loaded from: only the hive's
    // Unfold makes them, and the four calls below want them made.
    bool Folded() const { return folded_; }
    bool HasChildren() const { return folded_ || !children_.empty(); }
    RegNode* Child(QStringView name) const;
    // The child of that name, made (with the given stamp) when missing. A new child shares the
    // given text.
    RegNode* AddChild(QStringView name, std::uint64_t modified);
    RegNode* AddChild(RegName name, std::uint64_t modified);
    bool RemoveChild(QStringView name);
    const RegList<std::unique_ptr<RegNode>>& Children() const
    {
        Q_ASSERT(!folded_);
        return children_;
    }

    const RegNodeValue* Value(QStringView name) const;
    void SetValue(QStringView name, std::uint32_t type, QByteArrayView data);
    // Shares the given name and data.
    void SetValue(RegName name, std::uint32_t type, RegData data);
    bool RemoveValue(QStringView name);
    const RegList<RegNodeValue>& Values() const { return values_; }

    // Gives back the room the key and its subtree hold for children and values to come: a
    // loaded registry has thousands of small lists, grown one item at a time.
    void Compact();

    // Whether the key's values could not be read when it was opened.
    bool Unreadable() const { return unreadable_; }
    // Whether the children's lines could not be read when the key was unfolded.
    bool ChildrenUnreadable() const { return childrenUnreadable_; }
    // Whether the values have been parsed; until then the key's lines are in the file the hive
    // was loaded from, and only the hive's Open reads them.
    bool ValuesLoaded() const { return valuesLoaded_; }

private:
    friend class RegistryWriter;
    friend class RegistryHive;
    friend class RegistryParser;

    // A value read from the file: the key's lines are not changed by it.
    void PutValue(RegName name, std::uint32_t type, RegData data);

    // The key's own lines changed: they and every enclosing subtree must be written anew.
    void Changed()
    {
        Q_ASSERT(valuesLoaded_);
        ownKept_ = false;
        SubtreeChanged();
    }
    // A key with nothing of its own is written only while it has no children: its first child
    // or the loss of its last may change whether it is written. A key never opened keeps the
    // lines it has.
    void ChildlessChanged()
    {
        if (valuesLoaded_ && values_.empty() && !hasClass_ && !link_) ownKept_ = false;
    }
    void SubtreeChanged()
    {
        for (RegNode* n = this; n && n->subtreeKept_; n = n->parent_)
            n->subtreeKept_ = false;
    }

    // A registry has thousands of keys: the fields are kept small and packed.
    RegName name_;
    RegNode* parent_;
    std::uint64_t modified_;
    RegList<std::unique_ptr<RegNode>> children_;
    RegList<RegNodeValue> values_;

    // Where the last written text holds this key's lines and subtree, so that an unchanged
    // subtree is copied instead of written again: saving a large file after one change then
    // costs little more than writing its bytes. The offset is from the parent's subtree start.
    std::uint32_t offset_ = 0;
    std::uint32_t ownLength_ = 0;
    std::uint32_t subtreeLength_ = 0;
    // Where the key's lines begin in the file the hive was loaded from, while not parsed.
    std::uint32_t originStart_ = 0;
    // Where its children's lines lie in that file, while folded.
    std::uint32_t foldStart_ = 0;
    std::uint32_t foldLength_ = 0;
    bool hasClass_ = false;
    bool link_ = false;
    bool ownKept_ = false;
    bool subtreeKept_ = false;
    bool valuesLoaded_ = true;
    bool unreadable_ = false;
    bool folded_ = false;
    bool childrenUnreadable_ = false;
};

// Whether some key line of the text comes before the one above it in the order Wine writes
// keys in (a key after its parent, siblings by name), which unfolding relies on but checks only
// on the lines it meets. Reads every key line: for a thread of its own. A line that cannot be
// read ends the look (unfolding tells of it), as does `stop` set.
bool KeysOutOfOrder(const RegistrySource& source, const std::atomic<bool>& stop);

class RegistryHive
{
    friend class RegistryWriter;

public:
    // A new, empty hive whose keys are relative to the given registry path
    // (such as "REGISTRY\\Machine").
    explicit RegistryHive(QString relativeTo, QString arch = QStringLiteral("win64"));

    // Reads the source's header, leaving the keys folded (or, whole, reads every line). Throws
    // RegistryParseError when the header cannot be read; a key line that cannot be read is
    // found when its parent is unfolded, and a value when its key is opened.
    static std::unique_ptr<RegistryHive> Load(std::shared_ptr<const RegistrySource> source,
                                              bool whole = false);
    // Reads the whole text: throws RegistryParseError when any line cannot be read, as what
    // cannot be read would be lost at the next write.
    static std::unique_ptr<RegistryHive> Parse(const QByteArray& text);

    // Parses the key's values when they are not yet; throws RegistryParseError, with the line
    // in the file, when they cannot be read (and again at every later try).
    void Open(RegNode& key);
    // Makes the key's children when it is folded; throws RegistryParseError, with the line, when
    // a key or option line among them cannot be read, and RegistryOutOfOrder; either way the key
    // stays folded, its lines kept as they are.
    void Unfold(RegNode& key);
    // Unfolds every key; throws as Unfold.
    void UnfoldAll();

    // Plans the next text, which the tree then describes: after it one of Written (the text now
    // lies in that source, from which the next plan copies) or NotWritten must follow.
    RegistryText Plan();
    // Gives back the text copied from before, for its owner to let go of where that is cheap:
    // the last reference to a large file no folder names any more frees its blocks.
    std::shared_ptr<const RegistrySource> Written(std::shared_ptr<const RegistrySource> text);
    void NotWritten();
    // The text the hive was loaded from; null for a hive made empty or read whole.
    const std::shared_ptr<const RegistrySource>& Origin() const { return origin_; }
    // Whether the file the hive was loaded from still holds the bytes it was loaded from.
    bool OriginIntact() const { return !origin_ || origin_->Intact(); }
    // Plans and makes the text, held as the last one.
    std::string Text();

    RegNode& Root() { return root_; }
    const RegNode& Root() const { return root_; }
    const QString& RelativeTo() const { return relativeTo_; }
    void SetRelativeTo(QString path) { relativeTo_ = std::move(path); }
    void SetArch(QString arch) { arch_ = std::move(arch); }
    // Null when the key has no class, as almost every key.
    const QString* ClassName(const RegNode& key) const;
    void SetClassName(RegNode& key, QString name);

private:
    friend class RegistryParser;

    QString relativeTo_;
    QString arch_;
    RegNode root_;
    // Aside from the keys, which would otherwise each pay for a field almost none uses. The
    // key's flag, not the entry, tells whether it has a class: an entry left by a removed key is
    // never read for a key later made at its address.
    std::unordered_map<const RegNode*, QString> classNames_;
    // The file the hive was loaded from, while a key's values are still to be read from it.
    std::shared_ptr<const RegistrySource> origin_;
    // The text last planned and written, which kept keys are copied from; none after a failed
    // write, when every key is made or copied from the origin.
    std::shared_ptr<const RegistrySource> last_;
    std::uint64_t treeStart_ = 0; // where the key tree begins in the last text
};
