#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// One registry file of a Wine prefix (system.reg, user.reg, userdef.reg) held in memory as a
// key tree. Everything Wine writes is read, and the tree is written exactly as Wine writes it,
// so that a file loaded and saved unchanged keeps every byte.

// Raised when a registry file cannot be read whole: the line (from 1) and why, for the user.
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

// Key and value names compare as Wine compares them: unit by unit in lower case, then by length.
int CompareRegNames(QStringView a, QStringView b);

// 100-nanosecond ticks since 1601, as Wine stamps keys.
std::uint64_t FileTimeNow();

struct RegNodeValue
{
    QString name;
    std::uint32_t type = 0;
    QByteArray data;
};

class RegNode
{
public:
    RegNode(QString name, RegNode* parent, std::uint64_t modified)
        : name_(std::move(name)), parent_(parent), modified_(modified)
    {}

    const QString& Name() const { return name_; }
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
    // Null when the key has no class, as almost every key.
    const QString* ClassName() const { return className_.get(); }
    void SetClassName(QString name)
    {
        className_ = std::make_unique<QString>(std::move(name));
        Changed();
    }

    RegNode* Child(QStringView name) const;
    // The child of that name, made (with the given stamp) when missing. A new child shares the
    // given QString's text.
    RegNode* AddChild(QStringView name, std::uint64_t modified);
    RegNode* AddChild(const QString& name, std::uint64_t modified);
    bool RemoveChild(QStringView name);
    const std::vector<std::unique_ptr<RegNode>>& Children() const { return children_; }

    const RegNodeValue* Value(QStringView name) const;
    void SetValue(QString name, std::uint32_t type, QByteArray data);
    bool RemoveValue(QStringView name);
    const std::vector<RegNodeValue>& Values() const { return values_; }

    // Gives back the room the key and its subtree hold for children and values to come: a
    // loaded registry has thousands of small lists, grown one item at a time.
    void Compact();

private:
    friend class RegistryWriter;

    // The key's own lines changed: they and every enclosing subtree must be written anew.
    void Changed()
    {
        ownKept_ = false;
        SubtreeChanged();
    }
    void SubtreeChanged()
    {
        for (RegNode* n = this; n && n->subtreeKept_; n = n->parent_)
            n->subtreeKept_ = false;
    }

    // A registry has thousands of keys: the fields are kept small and packed.
    QString name_;
    RegNode* parent_;
    std::uint64_t modified_;
    std::unique_ptr<QString> className_;
    std::vector<std::unique_ptr<RegNode>> children_;
    std::vector<RegNodeValue> values_;

    // Where the last written text holds this key's lines and subtree, so that an unchanged
    // subtree is copied instead of written again: saving a large file after one change then
    // costs little more than writing its bytes. The offset is from the parent's subtree start.
    std::uint32_t offset_ = 0;
    std::uint32_t ownLength_ = 0;
    std::uint32_t subtreeLength_ = 0;
    bool link_ = false;
    bool ownKept_ = false;
    bool subtreeKept_ = false;
};

class RegistryHive
{
public:
    // A new, empty hive whose keys are relative to the given registry path
    // (such as "REGISTRY\\Machine").
    explicit RegistryHive(QString relativeTo, QString arch = QStringLiteral("win64"));

    // Throws RegistryParseError when a line cannot be read: what cannot be read would be lost
    // at the next write, so nothing of the file is taken.
    static std::unique_ptr<RegistryHive> Parse(const QByteArray& text);
    // The file's text. `last` is what the file last written from this hive holds now: unchanged
    // keys are copied from it when it is exactly the text written then (its size and hash),
    // otherwise every key is written anew.
    std::string Text(std::string_view last = {});
    // Whether a text has been made, so that a last text can serve the next.
    bool Written() const { return written_; }

    RegNode& Root() { return root_; }
    const RegNode& Root() const { return root_; }
    const QString& RelativeTo() const { return relativeTo_; }
    void SetRelativeTo(QString path) { relativeTo_ = std::move(path); }
    const QString& Arch() const { return arch_; }
    void SetArch(QString arch) { arch_ = std::move(arch); }

private:
    QString relativeTo_;
    QString arch_;
    RegNode root_;
    // The last text is not kept (it is as large as the file): only what recognises it when it
    // is read back.
    std::size_t lastSize_ = 0;
    std::uint64_t lastHash_ = 0;
    std::size_t treeStart_ = 0; // where the key tree begins in the last text
    std::size_t sizeHint_ = 0;  // the size of the file read or written last
    bool written_ = false;
};
