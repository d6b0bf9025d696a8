// The "MS-DOS" page: the two policies and the start-up options in "MsDos.sys", what start-up
// shows and writes back, and what stays of the rest of the file.
#include "Files.h"
#include "MainFormFixture.h"
#include "ProfileText.h"
#include "kodFrDOS.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kWinOldApp = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WinOldApp"_s;
const QString kFile = u"drive_c/MSDOS.SYS"_s;
const int kDosAttributes = faReadOnly | faHidden | faSysFile;
const QString kEntries[] = {u"AutoScan"_s, u"BootGUI"_s,       u"BootMenu"_s, u"BootKeys"_s,
                            u"Logo"_s,     u"BootMenuDelay"_s, u"BootDelay"_s};

// A check box bound to one entry of "Options": what checking and unchecking it write.
struct BoundEntry
{
    const char* control;
    QString key;
    QString checked;
    QString unchecked;
};

class DosTest : public MainFormTest
{
protected:
    DosTest()
    {
        machine.MakeWindows();
        machine.WriteFile(kFile, {});
    }

    TFrDOS& Page() { return *Form().FrDOS; }
    QWidget& Scope() override { return Page(); }
    QString MsDos() { return GetSystemPath(u"dysk"_s) + u"\\MsDos.sys"_s; }
    std::optional<QString> Entry(const QString& key)
    {
        return ProfileLookup(machine.ReadFile(kFile), u"Options"_s, key);
    }
    // The file without the lines of the page's seven entries.
    static QByteArray Untouched(const QByteArray& file)
    {
        QByteArray rest;
        for (const QByteArray& line : file.split('\n')) {
            const bool ours =
                std::any_of(std::begin(kEntries), std::end(kEntries), [&](const QString& key) {
                    return line.startsWith(key.toLatin1() + '=');
                });
            if (!ours) rest += line + '\n';
        }
        return rest;
    }

    // For every row: a click writes the checked text, the next start shows the box checked, a
    // second click writes the unchecked text and the start after shows it unchecked. The file
    // starts with every box unchecked.
    void ExpectBoundEntries(const std::vector<BoundEntry>& rows)
    {
        const auto expect = [&](bool checked) {
            for (const BoundEntry& row : rows)
                EXPECT_EQ(Entry(row.key), checked ? row.checked : row.unchecked)
                    << row.control << (checked ? " checked" : " unchecked");
        };
        const auto clickAll = [&](bool wasChecked) {
            for (const BoundEntry& row : rows) {
                auto* box = Find<QCheckBox>(row.control);
                EXPECT_EQ(box->isChecked(), wasChecked) << row.control << " at start";
                box->click();
            }
        };
        Start();
        clickAll(false);
        expect(true);
        Restart();
        clickAll(true);
        expect(false);
        Restart();
        for (const BoundEntry& row : rows)
            EXPECT_FALSE(Find<QCheckBox>(row.control)->isChecked()) << row.control;
    }

    void TypeInto(QSpinBox* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void LeaveField() { Page().CheckBox7->setFocus(); }
};

} // namespace

TEST_F(DosTest, EachBoxWritesItsSettingAndTheNextStartShowsIt)
{
    ExpectBoundBoxes({
        {"CheckBox1",
         HKEY_CURRENT_USER,
         kWinOldApp,
         u"Disabled"_s,
         DwordValue(1),
         DwordValue(0),
         {{DwordValue(3), true}, {std::nullopt, false}, {TextValue(u"1"_s), false}}},
        {"CheckBox2", HKEY_CURRENT_USER, kWinOldApp, u"NoRealMode"_s, DwordValue(1), DwordValue(0)},
    });
    Stop();
    machine.WriteFile(kFile, "[Options]\r\nAutoScan=0\r\nBootGUI=0\r\nBootMenu=0\r\n"
                             "BootKeys=1\r\nLogo=0\r\n");
    ExpectBoundEntries({
        {"CheckBox3", u"AutoScan"_s, u"1"_s, u"0"_s},
        {"CheckBox4", u"BootGUI"_s, u"1"_s, u"0"_s},
        {"CheckBox5", u"BootMenu"_s, u"1"_s, u"0"_s},
        {"CheckBox6", u"BootKeys"_s, u"0"_s, u"1"_s},
        {"CheckBox7", u"Logo"_s, u"1"_s, u"0"_s},
    });
}

TEST_F(DosTest, TheFirstStartWritesTheDefaultsOfMissingEntries)
{
    machine.WriteFile(kFile, "");
    Start();
    EXPECT_EQ(machine.ReadFile(kFile), "[Options]\r\nAutoScan=1\r\nBootGUI=1\r\nBootKeys=0\r\n"
                                       "Logo=1\r\nBootMenuDelay=5\r\nBootDelay=5\r\n");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kWinOldApp));
    EXPECT_FALSE(Reg(HKEY_CURRENT_USER, kWinOldApp, u"Disabled"_s));
    EXPECT_FALSE(Page().CheckBox1->isChecked());
    EXPECT_TRUE(Page().CheckBox6->isChecked());
    EXPECT_FALSE(Page().AktywneF->isEnabled());
    EXPECT_EQ(Page().AktywneF->value(), 5) << "read after the box set it to 0";
    EXPECT_FALSE(Page().CzasMenu->isEnabled());
    EXPECT_FALSE(Page().Label4->isEnabled());
    EXPECT_TRUE(Page().Label5->isEnabled());
}

TEST_F(DosTest, TheDefaultMachinesFileKeepsEveryOtherByteThroughEveryWrite)
{
    QFile original(QStringLiteral(TOLMAR_TEMPLATE "/drive_c/MSDOS.SYS"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    ASSERT_TRUE(before.contains(";xxxxxxxx"));
    machine.WriteFile(kFile, before);
    machine.Open();
    FileSetAttr(MsDos(), faReadOnly | faHidden | faSysFile);
    machine.Close();

    Start();
    EXPECT_EQ(FileGetAttr(MsDos()) & kDosAttributes, 0) << "cleared before the page writes";
    for (QCheckBox* box :
         {Page().CheckBox3, Page().CheckBox4, Page().CheckBox5, Page().CheckBox6, Page().CheckBox7})
        box->click();
    Page().CzasMenu->setValue(30);
    Page().AktywneF->setValue(0);
    Page().CheckBox6->click();
    const QByteArray after = machine.ReadFile(kFile);
    EXPECT_EQ(Untouched(after), Untouched(before));
    EXPECT_GT(after.size(), 1024);
    EXPECT_EQ(Entry(u"BootMenuDelay"_s), u"30"_s);
    EXPECT_EQ(Entry(u"BootKeys"_s), u"0"_s);
    EXPECT_EQ(Entry(u"AutoScan"_s), u"0"_s);
    Stop();

    machine.Open();
    const int expected = faReadOnly | (SupportsDosAttributes(machine.Prefix()) ? faHidden : 0);
    EXPECT_EQ(FileGetAttr(MsDos()) & kDosAttributes, expected) << "set back when the program ends";
}

TEST_F(DosTest, AFileOfLfLineEndsKeepsThemWhereStartUpWritesWhatIsThere)
{
    const QByteArray kept = "[Paths]\nWinDir=C:\\WINDOWS\n\n[Options]\nBootGUI=1\nBootMenu=0\n"
                            "Logo = 1 \nBootMenuDelay=5\nBootKeys=0\nBootDelay=5\n;padding\n";
    machine.WriteFile(kFile, kept + "AutoScan=1\n");
    Start();
    EXPECT_EQ(machine.ReadFile(kFile), kept + "AutoScan=1\n");
    Stop();

    // A value that start-up changes is written anew; every other line keeps its bytes.
    machine.WriteFile(kFile, kept + "AutoScan=2\n");
    Start();
    EXPECT_EQ(machine.ReadFile(kFile), kept + "AutoScan=1\r\n");
}

TEST_F(DosTest, AFileMadeReadOnlyAgainIsReportedAndTheBoxKeepsItsState)
{
    Start();
    FileSetAttr(MsDos(), faReadOnly);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox7->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Unable to write to C:\\MsDos.sys."_s);
    EXPECT_FALSE(Page().CheckBox7->isChecked());
    EXPECT_EQ(Entry(u"Logo"_s), u"1"_s);
}

TEST_F(DosTest, StoredNumbersAreReadWithTheirRulesAndOnlyTheMenuDelayIsClamped)
{
    machine.WriteFile(kFile, "[Options]\r\nAutoScan=2\r\nBootMenu=1\r\nBootMenuDelay=20000\r\n"
                             "BootDelay=0x0A\r\nBootKeys=1\r\n");
    Start();
    EXPECT_EQ(Entry(u"AutoScan"_s), u"1"_s) << "2 shows checked and is rewritten";
    EXPECT_EQ(Page().CzasMenu->value(), 10000);
    EXPECT_EQ(Entry(u"BootMenuDelay"_s), u"10000"_s);
    EXPECT_TRUE(Page().CzasMenu->isEnabled());
    EXPECT_TRUE(Page().Label4->isEnabled());
    EXPECT_EQ(Page().AktywneF->value(), 10);
    EXPECT_EQ(Entry(u"BootDelay"_s), u"10"_s);
    EXPECT_TRUE(Page().AktywneF->isEnabled());
    Stop();

    machine.WriteFile(kFile, "[Options]\r\nBootMenuDelay=0\r\nBootDelay=20000\r\nBootKeys=1\r\n");
    Start();
    EXPECT_EQ(Page().CzasMenu->value(), 1);
    EXPECT_EQ(Entry(u"BootMenuDelay"_s), u"0"_s) << "the text stays 1: nothing is written";
    EXPECT_EQ(Page().AktywneF->value(), 20000);
    EXPECT_EQ(Entry(u"BootDelay"_s), u"20000"_s);
}

TEST_F(DosTest, TheKeysBoxSetsTheirDelayAndEnablesItsField)
{
    machine.WriteFile(kFile, "[Options]\r\nBootKeys=1\r\nBootDelay=3\r\n");
    Start();
    ASSERT_FALSE(Page().CheckBox6->isChecked());
    Page().CheckBox6->click();
    EXPECT_EQ(Entry(u"BootKeys"_s), u"0"_s);
    EXPECT_FALSE(Page().AktywneF->isEnabled());
    EXPECT_EQ(Page().AktywneF->value(), 0);
    EXPECT_EQ(Entry(u"BootDelay"_s), u"0"_s);
    Page().CheckBox6->click();
    EXPECT_EQ(Entry(u"BootKeys"_s), u"1"_s);
    EXPECT_TRUE(Page().AktywneF->isEnabled());
    EXPECT_EQ(Entry(u"BootDelay"_s), u"1"_s);
    Stop();

    // A delay that already shows the box's number is not written again.
    machine.WriteFile(kFile, "[Options]\r\nBootKeys=1\r\nBootDelay=0x0\r\n");
    Start();
    Page().CheckBox6->click();
    EXPECT_EQ(Entry(u"BootKeys"_s), u"0"_s);
    EXPECT_EQ(Entry(u"BootDelay"_s), u"0x0"_s);
    Page().CheckBox5->click();
    EXPECT_TRUE(Page().CzasMenu->isEnabled());
    EXPECT_TRUE(Page().Label4->isEnabled());
    Page().CheckBox5->click();
    EXPECT_FALSE(Page().CzasMenu->isEnabled());
    EXPECT_FALSE(Page().Label4->isEnabled());
}

TEST_F(DosTest, TypedDelaysAreWrittenAsTypedAndAnEmptyFieldBecomesItsMinimum)
{
    machine.WriteFile(kFile, "[Options]\r\nBootMenu=1\r\nBootKeys=1\r\nBootDelay=7\r\n");
    Start();
    QApplication::setActiveWindow(&Form());
    TypeInto(Page().CzasMenu, u"1"_s);
    EXPECT_EQ(Entry(u"BootMenuDelay"_s), u"1"_s);
    QTest::keyClicks(Page().CzasMenu, u"5"_s);
    EXPECT_EQ(Entry(u"BootMenuDelay"_s), u"15"_s);
    // The field refuses a digit that would take it past its maximum.
    TypeInto(Page().CzasMenu, u"20000"_s);
    EXPECT_EQ(Entry(u"BootMenuDelay"_s), u"2000"_s);
    TypeInto(Page().CzasMenu, {});
    LeaveField();
    EXPECT_EQ(Page().CzasMenu->text(), u"1"_s);
    EXPECT_EQ(Entry(u"BootMenuDelay"_s), u"1"_s);
    TypeInto(Page().AktywneF, {});
    LeaveField();
    EXPECT_EQ(Page().AktywneF->text(), u"0"_s);
    EXPECT_EQ(Entry(u"BootDelay"_s), u"0"_s);
}

TEST_F(DosTest, HelpTextsFollowTheMouse)
{
    Start();
    EXPECT_EQ(HelpOver(Page().CheckBox1),
              u"Gdy zaznaczone, wiersz poleceń MS-DOS nie jest dostępny"_s);
    EXPECT_EQ(HelpOver(Page().CzasMenu), u"Czas przez który wyświetlane będzie menu startowe."_s);
    EXPECT_EQ(HelpOver(Page().Label4), HelpOver(Page().CzasMenu)) << "labels have none";
    EXPECT_TRUE(
        HelpOver(Page().AktywneF).startsWith(u"Czas przez który klawisze F4, F5, F6, F8"_s));
    EXPECT_TRUE(HelpOver(Page().CheckBox4).contains(u"zatrzyam się"_s));
}
