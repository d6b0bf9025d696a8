#include "Bindings.h"

#include "Files.h"
#include "Guarded.h"
#include "TIniFile.h"
#include "TRegistry.h"

#include <QAbstractButton>
#include <QSpinBox>

namespace {

template <class Row> void OpenForReading(TRegistry& reg, const Row& row)
{
    OpenForReading(reg, row.root, row.key);
}

// A setting that a control of this kind cannot show, such as a number on a check box, is left
// alone: the page's table pairs each control with a setting of its kind.
template <class Control> void LoadSetting(TRegistry& reg, const Setting& setting, Control* control)
{
    std::visit(
        [&](const auto& row) {
            if constexpr (requires { Load(reg, row, control); })
                Load(reg, row, control);
            else if constexpr (requires { Load(row, control); })
                Load(row, control);
        },
        setting);
}

template <class State> void WriteSetting(const Bound& bound, State state)
{
    std::visit(
        [&](const auto& row) {
            if constexpr (requires { Write(row, state); }) {
                if (bound.errors == Errors::Quiet)
                    Swallowed([&] { Write(row, state); });
                else
                    Write(row, state);
            }
        },
        bound.setting);
}

template <class Row> void OpenForWriting(TRegistry& reg, const Row& row)
{
    reg.SetRootKey(row.root);
    reg.OpenKey(row.key, row.create);
}

} // namespace

void OpenForReading(TRegistry& reg, HKEY root, const QString& key)
{
    reg.SetRootKey(root);
    reg.CloseKey();
    reg.OpenKey(key, false);
}

bool Shows(const RegFlag& row, int stored)
{
    switch (row.rule) {
    case Shown::NotZero:
        return stored != 0;
    case Shown::Equal:
        return stored == row.match;
    case Shown::Zero:
        return stored == 0;
    }
    return false;
}

std::optional<bool> Shows(const RegText& row, const QString& stored)
{
    switch (row.rule) {
    case TextShown::Equal:
        return stored == row.match;
    case TextShown::NotEqual:
        return stored != row.match;
    case TextShown::Boolean: {
        bool number = false;
        const int n = stored.toInt(&number);
        if (number) return n != 0;
        if (stored.compare(u"True", Qt::CaseInsensitive) == 0) return true;
        if (stored.compare(u"False", Qt::CaseInsensitive) == 0) return false;
        return std::nullopt;
    }
    case TextShown::Exists:
    case TextShown::Missing:
        break;
    }
    return std::nullopt;
}

void Load(TRegistry& reg, const RegFlag& row, QAbstractButton* control)
{
    Guarded([&] {
        if (row.readCreates) {
            reg.SetRootKey(row.root);
            reg.CloseKey();
            reg.OpenKey(row.key, true);
        } else {
            OpenForReading(reg, row);
        }
        if (row.missingChecks && !reg.ValueExists(row.name)) {
            Fill([&] { control->setChecked(true); });
            return;
        }
        const bool on = Shows(row, reg.ReadInteger(row.name));
        Fill([&] { control->setChecked(on); });
    });
    reg.CloseKey();
}

void Load(TRegistry& reg, const RegText& row, QAbstractButton* control)
{
    Guarded([&] {
        OpenForReading(reg, row);
        std::optional<bool> on;
        if (row.rule == TextShown::Exists || row.rule == TextShown::Missing)
            on = reg.ValueExists(row.name) == (row.rule == TextShown::Exists);
        else
            on = Shows(row, reg.ReadString(row.name));
        if (on) Fill([&] { control->setChecked(*on); });
    });
    reg.CloseKey();
}

void Load(const IniFlag& row, QAbstractButton* control)
{
    TIniFile ini(PathOf(row.file));
    const bool stored = ini.ReadBool(row.section, row.key, row.byDefault);
    Fill([&] { control->setChecked(stored != row.inverted); });
}

void Load(const IniNumber& row, QSpinBox* control)
{
    TIniFile ini(PathOf(row.file));
    const int stored = ini.ReadInteger(row.section, row.key, row.byDefault);
    Fill([&] { control->setValue(stored); });
}

void Write(const RegFlag& row, bool checked)
{
    TRegistry reg;
    OpenForWriting(reg, row);
    reg.WriteInteger(row.name, checked ? row.checked : row.unchecked);
}

void Write(const RegText& row, bool checked)
{
    TRegistry reg;
    OpenForWriting(reg, row);
    if (const std::optional<QString>& text = checked ? row.checked : row.unchecked)
        reg.WriteString(row.name, *text);
    else
        reg.DeleteValue(row.name);
}

void Write(const IniFlag& row, bool checked)
{
    TIniFile ini(PathOf(row.file));
    ini.WriteBool(row.section, row.key, checked != row.inverted);
}

void Write(const IniNumber& row, int value)
{
    TIniFile ini(PathOf(row.file));
    ini.WriteInteger(row.section, row.key, value);
}

void LoadBound(TRegistry& reg, const Setting& setting, QAbstractButton* control)
{
    LoadSetting(reg, setting, control);
}

void LoadBound(TRegistry& reg, const Setting& setting, QSpinBox* control)
{
    LoadSetting(reg, setting, control);
}

void WriteBound(const Bound& bound, const QAbstractButton* control)
{
    WriteSetting(bound, control->isChecked());
}

void WriteBound(const Bound& bound, const QSpinBox* control)
{
    WriteSetting(bound, control->value());
}

QString PathOf(const ProfileFile& file) { return GetSystemPath(file.keyword) + file.name; }
