// The editor of installed programs: the names it lists, the fields it fills, save, delete and
// browse.
#include "MainFormFixture.h"
#include "TRegistry.h"
#include "UserInput.h"
#include "kodProgramy.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUninstall = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"_s;

class ProgramyTest : public MainFormTest
{
protected:
    TfmProgramy& Editor() { return TfmProgramy::Shared(); }

    void Entry(const QString& key, const QString& name, const QString& value)
    {
        machine.SetText(HKEY_LOCAL_MACHINE, kUninstall + u'\\' + key, name, value);
    }
    std::optional<QString> EntryText(const QString& key, const QString& name)
    {
        return Text(HKEY_LOCAL_MACHINE, kUninstall + u'\\' + key, name);
    }
    QStringList Rows()
    {
        QStringList rows;
        for (int row = 0; row < Editor().Lista->count(); ++row)
            rows << Editor().Lista->item(row)->text();
        return rows;
    }
    void Select(int row) { Editor().Lista->setCurrentRow(row); }
};

} // namespace

TEST_F(ProgramyTest, RowsShowTheNameOrItsQuietTwinOrTheSubkey)
{
    Entry(u"Alfa"_s, u"DisplayName"_s, u"Program Alfa"_s);
    Entry(u"Alfa"_s, u"QuietDisplayName"_s, u"Cichy Alfa"_s);
    Entry(u"Beta"_s, u"QuietDisplayName"_s, u"Cicha Beta"_s);
    Entry(u"Beta"_s, u"QuietUninstallString"_s, u"beta.exe /q"_s);
    Entry(u"Gamma"_s, u"UninstallString"_s, u"gamma.exe"_s);
    Start();
    EXPECT_EQ(Rows(), QStringList({u"Program Alfa"_s, u"Cicha Beta"_s, u"Gamma"_s}));
    EXPECT_EQ(Editor().UninstallKeys, QStringList({u"Alfa"_s, u"Beta"_s, u"Gamma"_s}));
    EXPECT_EQ(Editor().Lista->currentRow(), -1);

    Select(1);
    EXPECT_EQ(Editor().NazwaProgramu->text(), u"Cicha Beta"_s);
    EXPECT_EQ(Editor().uninstaller->text(), u"beta.exe /q"_s);
    Editor().NazwaProgramu->setText(u"Nowa Beta"_s);
    Editor().uninstaller->setText(u"nowa.exe"_s);
    Editor().Button1->click();
    EXPECT_EQ(EntryText(u"Beta"_s, u"QuietDisplayName"_s), u"Nowa Beta"_s);
    EXPECT_EQ(EntryText(u"Beta"_s, u"QuietUninstallString"_s), u"nowa.exe"_s);
    EXPECT_FALSE(EntryText(u"Beta"_s, u"DisplayName"_s));
    EXPECT_FALSE(EntryText(u"Beta"_s, u"UninstallString"_s));
    // Reloaded, with no row selected; the fields keep their text.
    EXPECT_EQ(Rows()[1], u"Nowa Beta"_s);
    EXPECT_EQ(Editor().Lista->currentRow(), -1);
    EXPECT_EQ(Editor().uninstaller->text(), u"nowa.exe"_s);

    Select(2);
    EXPECT_EQ(Editor().NazwaProgramu->text(), QString());
    Editor().NazwaProgramu->setText(u"Gamma 2"_s);
    Editor().Button1->click();
    EXPECT_FALSE(EntryText(u"Gamma"_s, u"DisplayName"_s));
    EXPECT_FALSE(EntryText(u"Gamma"_s, u"QuietDisplayName"_s));
    EXPECT_EQ(EntryText(u"Gamma"_s, u"UninstallString"_s), u"gamma.exe"_s);
}

TEST_F(ProgramyTest, TwoEntriesOfOneNameEachShowAndSaveTheirOwn)
{
    Entry(u"A"_s, u"DisplayName"_s, u"Gra"_s);
    Entry(u"A"_s, u"UninstallString"_s, u"a.exe"_s);
    Entry(u"B"_s, u"DisplayName"_s, u"Gra"_s);
    Entry(u"B"_s, u"UninstallString"_s, u"b.exe"_s);
    Start();
    Select(0);
    EXPECT_EQ(Editor().uninstaller->text(), u"a.exe"_s);
    Editor().Button1->click();
    EXPECT_EQ(EntryText(u"A"_s, u"UninstallString"_s), u"a.exe"_s);
    EXPECT_EQ(EntryText(u"B"_s, u"UninstallString"_s), u"b.exe"_s);
    Select(1);
    EXPECT_EQ(Editor().uninstaller->text(), u"b.exe"_s);
}

TEST_F(ProgramyTest, SavingNeedsASelectionAndAFailedSaveDoesNotReload)
{
    Entry(u"A"_s, u"DisplayName"_s, u"Gra"_s);
    Entry(u"A"_s, u"UninstallString"_s, u"a.exe"_s);
    refusedWrites = {u"UninstallString"_s};
    Start();
    dialogs.ExpectMessage(MessageAnswer::Ok);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Editor().Button1->click();
    Select(0);
    Editor().NazwaProgramu->setText(u"Nowa gra"_s);
    Editor().Button1->click();
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    for (const auto& shown : dialogs.Messages()) {
        EXPECT_EQ(shown.caption, u"Zaznacz pozycję"_s);
        EXPECT_EQ(shown.text, u"Musisz zaznaczyć pozycję aby móc ją edytować!"_s);
        EXPECT_EQ(shown.icon, MessageIcon::Information);
    }
    // The name was written before the command failed; the rows were not rebuilt.
    EXPECT_EQ(EntryText(u"A"_s, u"DisplayName"_s), u"Nowa gra"_s);
    EXPECT_EQ(Rows(), QStringList({u"Gra"_s}));
    EXPECT_EQ(Editor().Lista->currentRow(), 0);
}

TEST_F(ProgramyTest, BrowsingSavesEvenWhenCancelled)
{
    Entry(u"A"_s, u"DisplayName"_s, u"Gra"_s);
    Entry(u"A"_s, u"UninstallString"_s, u"a.exe"_s);
    Start();
    Select(0);
    Editor().NazwaProgramu->setText(u"Gra 2"_s);
    dialogs.ExpectFile(std::nullopt);
    Editor().Button3->click();
    EXPECT_EQ(EntryText(u"A"_s, u"DisplayName"_s), u"Gra 2"_s);
    EXPECT_EQ(EntryText(u"A"_s, u"UninstallString"_s), u"a.exe"_s);

    Select(0);
    dialogs.ExpectFile(machine.Host(u"drive_c/Gra/usun.exe"_s));
    Editor().Button3->click();
    EXPECT_EQ(EntryText(u"A"_s, u"UninstallString"_s), u"C:\\Gra\\usun.exe"_s);

    // The picker starts in the machine: on its C: drive, then where the command's program is.
    machine.WriteFile(u"drive_c/Gra/usun.exe"_s, "MZ");
    Select(0);
    Editor().uninstaller->setText(u"\"C:\\Gra\\usun.exe\" /x"_s);
    dialogs.ExpectFile(std::nullopt);
    Editor().Button3->click();
    ASSERT_EQ(dialogs.Pickers().size(), 3u);
    EXPECT_EQ(dialogs.Pickers()[0].folder, machine.Host(u"drive_c"_s));
    EXPECT_EQ(dialogs.Pickers()[2].folder, machine.Host(u"drive_c/Gra"_s));
}

TEST_F(ProgramyTest, DeleteRemovesTheSelectedSubtreeAndNothingWithoutASelection)
{
    Entry(u"A"_s, u"DisplayName"_s, u"Gra"_s);
    Entry(u"A\\Wersja"_s, u"Numer"_s, u"1"_s);
    Entry(u"B"_s, u"DisplayName"_s, u"Poczta"_s);
    Start();
    Editor().Button2->click();
    EXPECT_EQ(Rows().size(), 2);
    Select(0);
    Editor().Button2->click();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstall + u"\\A"_s));
    EXPECT_EQ(Rows(), QStringList({u"Poczta"_s}));
    EXPECT_EQ(Editor().Lista->currentRow(), -1);
}

TEST_F(ProgramyTest, DeleteNeverReachesAKeyAtTheRoot)
{
    Entry(u"Network"_s, u"DisplayName"_s, u"Sieć"_s);
    machine.SetText(HKEY_LOCAL_MACHINE, u"Network\\Logon"_s, u"Primary"_s, u"1"_s);
    Start();
    // The uninstall key goes away behind the editor's back.
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.DeleteKey(u'\\' + kUninstall));
    Select(0);
    Editor().Button2->click();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"Network\\Logon"_s));
}

TEST_F(ProgramyTest, AMistypedNameStopsTheNamingButEveryRowKeepsItsSubkey)
{
    Entry(u"A"_s, u"DisplayName"_s, u"Gra"_s);
    machine.SetDword(HKEY_LOCAL_MACHINE, kUninstall + u"\\B"_s, u"DisplayName"_s, 7);
    Entry(u"C"_s, u"DisplayName"_s, u"Poczta"_s);
    Entry(u"C"_s, u"UninstallString"_s, u"c.exe"_s);
    Start();
    EXPECT_EQ(Rows(), QStringList({u"Gra"_s, u"B"_s, u"C"_s}));
    Select(2);
    EXPECT_EQ(Editor().uninstaller->text(), u"c.exe"_s);

    dialogs.ExpectMessage(MessageAnswer::Ok);
    Select(1);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Invalid data type for 'DisplayName'"_s);
    EXPECT_EQ(Editor().uninstaller->text(), u"c.exe"_s);
}

TEST_F(ProgramyTest, TheStartMakesTheUninstallKey)
{
    Start();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstall));
}

// As a user meets the editor: it opens with the list holding the focus, which picks no entry,
// so the buttons act only on an entry the user clicked.
TEST_F(ProgramyTest, InTheOpenedEditorOnlyAClickedEntryIsSavedOrDeleted)
{
    Entry(u"A"_s, u"DisplayName"_s, u"Gra"_s);
    Entry(u"A"_s, u"UninstallString"_s, u"a.exe"_s);
    Entry(u"B"_s, u"DisplayName"_s, u"Poczta"_s);
    Start();
    ASSERT_TRUE(ShowActive(&Editor()));
    ASSERT_TRUE(Editor().Lista->hasFocus());
    EXPECT_EQ(Editor().Lista->currentRow(), -1);
    EXPECT_EQ(Editor().uninstaller->text(), QString());

    Click(Editor().Button2);
    EXPECT_EQ(Rows(), QStringList({u"Gra"_s, u"Poczta"_s}));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Click(Editor().Button1);
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(EntryText(u"A"_s, u"UninstallString"_s), u"a.exe"_s);

    Click(Editor().Lista->viewport(), Qt::LeftButton,
          Editor().Lista->visualItemRect(Editor().Lista->item(1)).center());
    EXPECT_EQ(Editor().NazwaProgramu->text(), u"Poczta"_s);
    Click(Editor().Button2);
    EXPECT_EQ(Rows(), QStringList({u"Gra"_s}));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstall + u"\\A"_s));
}
