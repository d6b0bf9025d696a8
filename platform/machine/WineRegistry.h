#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// One registry file of a Wine prefix (system.reg, user.reg, userdef.reg) held in memory as a
// key tree. Everything Wine writes is read, and the tree is written exactly as Wine writes it,
// so that a file loaded and saved unchanged keeps every byte.

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
    {
    }

    const QString& Name() const { return name_; }
    RegNode* Parent() const { return parent_; }
    std::uint64_t Modified() const { return modified_; }
    void Touch(std::uint64_t when) { modified_ = when; }
    bool IsLink() const { return link_; }
    void SetLink(bool link) { link_ = link; }
    const std::optional<QString>& ClassName() const { return className_; }
    void SetClassName(QString name) { className_ = std::move(name); }

    RegNode* Child(QStringView name) const;
    // The child of that name, made (with the given stamp) when missing.
    RegNode* AddChild(QStringView name, std::uint64_t modified);
    bool RemoveChild(QStringView name);
    const std::vector<std::unique_ptr<RegNode>>& Children() const { return children_; }

    const RegNodeValue* Value(QStringView name) const;
    void SetValue(QStringView name, std::uint32_t type, QByteArray data);
    bool RemoveValue(QStringView name);
    const std::vector<RegNodeValue>& Values() const { return values_; }

private:
    QString name_;
    RegNode* parent_;
    std::uint64_t modified_;
    std::optional<QString> className_;
    bool link_ = false;
    std::vector<std::unique_ptr<RegNode>> children_;
    std::vector<RegNodeValue> values_;
};

class RegistryHive
{
public:
    // A new, empty hive whose keys are relative to the given registry path
    // (such as "REGISTRY\\Machine").
    explicit RegistryHive(QString relativeTo, QString arch = QStringLiteral("win64"));

    // Throws std::runtime_error when the text is not a Wine registry file.
    static std::unique_ptr<RegistryHive> Parse(const QByteArray& text);
    std::string Serialize() const;

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
};
