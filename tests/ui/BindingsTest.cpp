// The bindings of controls to settings: what start-up shows for each kind of stored value, and
// what a handler writes.
#include "Bindings.h"

#include "Controls.h"
#include "Errors.h"
#include "Guarded.h"
#include "HelpText.h"
#include "MainFormFixture.h"
#include "RefusingPlatform.h"
#include "ScriptedDialogs.h"
#include "TRegistry.h"
#include "TempMachine.h"

#include <QCheckBox>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kKey = u"Software\\Tolmar\\Test"_s;
const QByteArray kOneAsBinary("\1\0\0\0", 4);

// A stored value, or none; with `keyMissing` not even its key.
struct Stored
{
    std::optional<RegValue> value;
    bool keyMissing = false;
};

struct LoadCase
{
    const char* what;
    Stored stored;
    std::optional<bool> shows; // nothing: the control stays as it was
};

// Runs Load on a box that starts unchecked and on one that starts checked.
template <class Row> void ExpectLoads(const Row& row, std::initializer_list<LoadCase> cases)
{
    for (const LoadCase& c : cases) {
        for (const bool before : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (before ? ", box checked" : ", box unchecked"));
            TempMachine machine;
            if (!c.stored.keyMissing) {
                if (c.stored.value)
                    machine.SetValue(HKEY_CURRENT_USER, kKey, u"V"_s, *c.stored.value);
                else
                    machine.SetValue(HKEY_CURRENT_USER, kKey, u"Other"_s, DwordValue(1));
            }
            machine.Open();
            QCheckBox box;
            box.setChecked(before);
            TRegistry reg;
            Load(reg, row, &box);
            EXPECT_EQ(box.isChecked(), c.shows.value_or(before));
            EXPECT_FALSE(reg.HasCurrentKey()) << "the step closes its key";
        }
    }
}

RegFlag Flag(Shown rule, int match = 0)
{
    return {HKEY_CURRENT_USER, kKey, u"V"_s, 1, 0, rule, match};
}

RegText TextRow(TextShown rule, const QString& match = {})
{
    return {HKEY_CURRENT_USER, kKey, u"V"_s, u"Yes"_s, u"No"_s, rule, match};
}

} // namespace

TEST(Bindings, ADwordFlagShowsOnlyDwords)
{
    ExpectLoads(Flag(Shown::NotZero), {
                                          {"dword 5", {DwordValue(5)}, true},
                                          {"dword 0", {DwordValue(0)}, false},
                                          {"binary 01 00 00 00", {BinaryValue(kOneAsBinary)}, {}},
                                          {"text 1", {TextValue(u"1"_s)}, {}},
                                          {"missing value", {}, {}},
                                          {"missing key", {{}, true}, {}},
                                      });
    ExpectLoads(Flag(Shown::Equal, 1), {
                                           {"dword 1", {DwordValue(1)}, true},
                                           {"dword 2", {DwordValue(2)}, false},
                                           {"missing value", {}, {}},
                                       });
    ExpectLoads(Flag(Shown::Zero), {
                                       {"dword 0", {DwordValue(0)}, true},
                                       {"dword 1", {DwordValue(1)}, false},
                                       {"binary", {BinaryValue(kOneAsBinary)}, {}},
                                   });
    RegFlag missingChecks = Flag(Shown::Zero);
    missingChecks.missingChecks = true;
    ExpectLoads(missingChecks, {
                                   {"dword 0", {DwordValue(0)}, true},
                                   {"dword 1", {DwordValue(1)}, false},
                                   {"missing value", {}, true},
                                   {"missing key", {{}, true}, true},
                                   {"text", {TextValue(u"0"_s)}, {}},
                               });
}

TEST(Bindings, ATextShowsByItsRule)
{
    ExpectLoads(TextRow(TextShown::Equal, u"Yes"_s), {
                                                         {"Yes", {TextValue(u"Yes"_s)}, true},
                                                         {"yes", {TextValue(u"yes"_s)}, false},
                                                         {"missing value", {}, false},
                                                         {"dword", {DwordValue(1)}, {}},
                                                     });
    ExpectLoads(TextRow(TextShown::NotEqual, u"N"_s), {
                                                          {"N", {TextValue(u"N"_s)}, false},
                                                          {"Y", {TextValue(u"Y"_s)}, true},
                                                          {"missing value", {}, true},
                                                          {"dword", {DwordValue(0)}, {}},
                                                      });
    ExpectLoads(TextRow(TextShown::Boolean), {
                                                 {"2", {TextValue(u"2"_s)}, true},
                                                 {"0", {TextValue(u"0"_s)}, false},
                                                 {"tRUE", {TextValue(u"tRUE"_s)}, true},
                                                 {"False", {TextValue(u"False"_s)}, false},
                                                 {"abc", {TextValue(u"abc"_s)}, {}},
                                                 {"missing value", {}, {}},
                                             });
    ExpectLoads(TextRow(TextShown::Exists), {
                                                {"dword", {DwordValue(0)}, true},
                                                {"missing value", {}, false},
                                                {"missing key", {{}, true}, false},
                                            });
    ExpectLoads(TextRow(TextShown::Missing), {
                                                 {"empty text", {TextValue(QString())}, false},
                                                 {"missing key", {{}, true}, true},
                                             });
}

TEST(Bindings, WritesCreateTheKeyUnlessTheRowSaysNot)
{
    TempMachine machine;
    machine.Open();
    RegFlag flag{HKEY_LOCAL_MACHINE, u"A\\B"_s, u"F"_s, 200000, 7};
    Write(flag, true);
    EXPECT_EQ(machine.Get().RegQueryValue(HKEY_LOCAL_MACHINE, u"A\\B"_s, u"F"_s)->data,
              DwordValue(200000).data);
    Write(flag, false);
    EXPECT_EQ(machine.Get().RegQueryValue(HKEY_LOCAL_MACHINE, u"A\\B"_s, u"F"_s)->data,
              DwordValue(7).data);

    flag.key = u"A\\Missing"_s;
    flag.create = false;
    try {
        Write(flag, true);
        ADD_FAILURE() << "a write into a missing key that may not be created succeeded";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'F'");
    }
    EXPECT_FALSE(machine.Get().RegOpenKey(HKEY_LOCAL_MACHINE, u"A\\Missing"_s));
}

TEST(Bindings, ATextRowWithoutATextDeletesTheValue)
{
    TempMachine machine;
    machine.Open();
    const RegText row{HKEY_CURRENT_USER,  kKey,     u"T"_s, u"mstask.exe"_s, std::nullopt,
                      TextShown::Missing, QString()};
    Write(row, true);
    EXPECT_EQ(machine.Get().RegQueryValue(HKEY_CURRENT_USER, kKey, u"T"_s)->data,
              TextValue(u"mstask.exe"_s).data);
    Write(row, false);
    EXPECT_FALSE(machine.Get().RegQueryValue(HKEY_CURRENT_USER, kKey, u"T"_s));
    Write(row, false); // a value already gone is no error
}

TEST(Bindings, ProfileEntriesReadTheirDefaultAndWriteOneOrZero)
{
    TempMachine machine;
    machine.MakeWindows();
    machine.WriteFile(u"drive_c/MSDOS.SYS"_s, "[Options]\r\nBootKeys=0\r\nBootDelay=0x10\r\n");
    machine.Open();
    const IniFlag bootKeys{{u"dysk"_s, u"\\MsDos.sys"_s}, u"Options"_s, u"BootKeys"_s, true, true};
    const IniFlag logo{{u"dysk"_s, u"\\MsDos.sys"_s}, u"Options"_s, u"Logo"_s, true};
    const IniNumber delay{{u"dysk"_s, u"\\MsDos.sys"_s}, u"Options"_s, u"BootDelay"_s, 5};
    const IniNumber menuDelay{{u"dysk"_s, u"\\MsDos.sys"_s}, u"Options"_s, u"BootMenuDelay"_s, 5};
    QCheckBox keys, shown;
    QSpinBox spin, menu;
    Load(bootKeys, &keys);
    Load(logo, &shown);
    Load(delay, &spin);
    Load(menuDelay, &menu);
    EXPECT_TRUE(keys.isChecked()) << "inverted: false shows checked";
    EXPECT_TRUE(shown.isChecked()) << "missing: the default";
    EXPECT_EQ(spin.value(), 16);
    EXPECT_EQ(menu.value(), 5);
    Write(bootKeys, true);
    Write(logo, false);
    Write(delay, 3);
    EXPECT_EQ(machine.ReadFile(u"drive_c/MSDOS.SYS"_s),
              "[Options]\r\nBootKeys=0\r\nBootDelay=3\r\nLogo=0\r\n");
}

TEST(Bindings, AStartUpFillWritesTheCheckedValueBack)
{
    TempMachine machine;
    machine.SetDword(HKEY_CURRENT_USER, kKey, u"V"_s, 100000);
    machine.Open();
    const RegFlag row{HKEY_CURRENT_USER, kKey, u"V"_s, 200000, 0};
    QCheckBox box;
    OnChange(&box, [&] { Write(row, box.isChecked()); });
    TRegistry reg;
    Load(reg, row, &box);
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(machine.Get().RegQueryValue(HKEY_CURRENT_USER, kKey, u"V"_s)->data,
              DwordValue(200000).data);
}

TEST(Bindings, ARefusedWriteBackOfAProfileEntryEndsTheReader)
{
    TempMachine machine;
    machine.MakeWindows();
    machine.WriteFile(u"drive_c/MSDOS.SYS"_s, "[Options]\r\nLogo=1\r\n");
    machine.Open();
    RefusingPlatform refusing(machine.Get(), {u"Logo"_s});
    SetCurrentPlatform(&refusing);
    const IniFlag logo{{u"dysk"_s, u"\\MsDos.sys"_s}, u"Options"_s, u"Logo"_s, false};
    QCheckBox box;
    OnChange(&box, [&] { RunHandler([&] { Write(logo, box.isChecked()); }); });
    ScriptedDialogs dialogs; // the reader's error is its own to report: no box here
    EXPECT_THROW(Unguarded([&] { Load(logo, &box); }), EIniFileException);
    EXPECT_TRUE(box.isChecked());
    SetCurrentPlatform(&machine.Get());
}

namespace {

// A page of four boxes: plain, quiet, reporting, and one whose change runs its own handler.
struct FourBoxes
{
    QCheckBox* Plain = nullptr;
    QCheckBox* Quiet = nullptr;
    QCheckBox* Loud = nullptr;
    QCheckBox* Own = nullptr;
    int ownRuns = 0;
    void OwnClick() { ++ownRuns; }
};

} // namespace

TEST(Bindings, ATableConnectsItsBoundControlsAndLoadsThem)
{
    TempMachine machine;
    for (const char16_t* name : {u"A", u"B", u"C", u"D"})
        machine.SetDword(HKEY_CURRENT_USER, kKey, QString::fromUtf16(name), 1);
    machine.Open();
    RefusingPlatform refusing(machine.Get(), {u"B"_s, u"C"_s});
    SetCurrentPlatform(&refusing);
    const auto flag = [](const char16_t* name) {
        return RegFlag{
            .root = HKEY_CURRENT_USER, .key = kKey, .name = QString::fromUtf16(name), .checked = 7};
    };
    using Box = ControlRow<FourBoxes, QCheckBox>;
    const Box rows[] = {
        {&FourBoxes::Plain, "Plain", {}, {}, Bound{flag(u"A")}},
        {&FourBoxes::Quiet, "Quiet", {}, {}, Bound{flag(u"B"), Errors::Quiet}},
        {&FourBoxes::Loud, "Loud", {}, {}, Bound{flag(u"C")}},
        {&FourBoxes::Own, "Own", {}, {}, Irregular(flag(u"D"), &FourBoxes::OwnClick)},
    };
    FourBoxes page;
    QWidget parent;
    Build(&page, &parent, rows);
    ScriptedDialogs dialogs; // the refused write-backs at start end their steps silently
    TRegistry reg;
    LoadRows(reg, rows, &page);
    for (QCheckBox* box : {page.Plain, page.Quiet, page.Loud, page.Own})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    const auto stored = [&](const QString& name) {
        return machine.Get().RegQueryValue(HKEY_CURRENT_USER, kKey, name)->data;
    };
    EXPECT_EQ(stored(u"A"_s), DwordValue(7).data) << "a plain box writes its value back";
    EXPECT_EQ(stored(u"D"_s), DwordValue(1).data) << "its own handler ran instead";
    EXPECT_EQ(page.ownRuns, 1);

    page.Plain->click();
    EXPECT_EQ(stored(u"A"_s), DwordValue(0).data);
    page.Quiet->click(); // refused, and no message
    EXPECT_FALSE(page.Quiet->isChecked());
    dialogs.ExpectMessage(MessageAnswer::Ok);
    page.Loud->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'C'"_s);
    page.Own->click();
    EXPECT_EQ(page.ownRuns, 2);
    EXPECT_EQ(stored(u"D"_s), DwordValue(1).data);
    SetCurrentPlatform(&machine.Get());
}
