// The "Pliki i foldery" page: what start-up shows and writes back, the four switches and the
// folder list.
#include "MainFormFixture.h"
#include "UserInput.h"
#include "kodFrPlikiFoldery.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAdvanced =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
const QString kBitBucket =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket");
const QString kShellFoldersKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

class PlikiFolderyTest : public MainFormTest
{
protected:
    TFrPlikiFoldery& Page() { return *Form().FrPlikiFoldery; }
    QWidget& Scope() override { return Page(); }

    // The path shown in the row of that name.
    QString Path(const QString& name)
    {
        const QTableWidget* list = Page().lista;
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->item(row, 0)->text() == name) return list->item(row, 1)->text();
        ADD_FAILURE() << "no row " << name.toStdString();
        return {};
    }
    void SetPath(const QString& name, const QString& path)
    {
        QTableWidget* list = Page().lista;
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->item(row, 0)->text() == name) list->item(row, 1)->setText(path);
    }
    void Accept() { QTest::mouseClick(Page().SpeedButton1, Qt::LeftButton); }
};

} // namespace

TEST_F(PlikiFolderyTest, EachSwitchWritesItsValueAndTheNextStartShowsIt)
{
    const RegValue binaryOne = BinaryValue(QByteArray("\1\0\0\0", 4));
    ExpectBoundBoxes({
        {"CheckBox1",
         HKEY_CURRENT_USER,
         kAdvanced,
         u"Hidden"_s,
         DwordValue(1),
         DwordValue(2),
         {{DwordValue(1), true},
          {DwordValue(2), false},
          {DwordValue(0), false},
          {DwordValue(7), false}}},
        {"CheckBox2",
         HKEY_CURRENT_USER,
         kAdvanced,
         u"ShowSuperHidden"_s,
         DwordValue(1),
         DwordValue(0),
         {{DwordValue(5), true}, {std::nullopt, false}}},
        {"CheckBox3",
         HKEY_CURRENT_USER,
         kAdvanced,
         u"HideFileExt"_s,
         DwordValue(1),
         DwordValue(0),
         {{DwordValue(0), false}, {binaryOne, false}}},
        {"CheckBox4",
         HKEY_LOCAL_MACHINE,
         kBitBucket,
         u"NukeOnDelete"_s,
         DwordValue(1),
         DwordValue(0),
         {{binaryOne, false}, {DwordValue(3), true}}},
    });
}

TEST_F(PlikiFolderyTest, NothingIsReadOrWrittenOnAnEmptyMachine)
{
    Start();
    for (QCheckBox* box : {Page().CheckBox1, Page().CheckBox2, Page().CheckBox3, Page().CheckBox4})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAdvanced));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBitBucket));
    ASSERT_EQ(Page().lista->rowCount(), 15);
    EXPECT_EQ(Path(QStringLiteral("Pulpit")), QString());
}

TEST_F(PlikiFolderyTest, RowsAreShownInReverseOfTheReadingOrder)
{
    Start();
    const QTableWidget* list = Page().lista;
    ASSERT_EQ(list->rowCount(), 15);
    EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("Wzorce dokumentów"));
    EXPECT_EQ(list->item(14, 0)->text(), QStringLiteral("Dane aplikacji"));
    for (int row = 0; row < 15; ++row)
        EXPECT_EQ(list->item(row, 0)->text(), QString::fromUtf16(kShellFolders[14 - row].name));
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), QStringLiteral("Nazwa"));
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("Lokalizacja"));
    EXPECT_FALSE(list->item(3, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(list->item(3, 1)->flags() & Qt::ItemIsEditable);
}

TEST_F(PlikiFolderyTest, ABooleanStoredAsBinaryIsShownUncheckedAndReplacedByADword)
{
    machine.SetBinary(HKEY_LOCAL_MACHINE, kBitBucket, u"NukeOnDelete"_s, QByteArray("\1\0\0\0", 4));
    machine.SetBinary(HKEY_CURRENT_USER, kAdvanced, u"HideFileExt"_s, QByteArray("\1\0\0\0", 4));
    Start();
    EXPECT_FALSE(Page().CheckBox4->isChecked());
    EXPECT_FALSE(Page().CheckBox3->isChecked());
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kBitBucket, QStringLiteral("NukeOnDelete"))->type,
              REG_BINARY);
    Page().CheckBox4->click();
    EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, kBitBucket, QStringLiteral("NukeOnDelete")), 1);
    Page().CheckBox4->click();
    EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, kBitBucket, QStringLiteral("NukeOnDelete")), 0);
}

TEST_F(PlikiFolderyTest, AcceptWritesNonEmptyPathsAsTyped)
{
    machine.SetText(HKEY_CURRENT_USER, kShellFoldersKey, u"AppData"_s,
                    u"C:\\WINDOWS\\Dane aplikacji"_s);
    machine.SetText(HKEY_CURRENT_USER, kShellFoldersKey, u"Desktop"_s, u"C:\\WINDOWS\\Pulpit"_s);
    RegValue personal = TextValue(u"%USERPROFILE%\\Dokumenty"_s);
    personal.type = REG_EXPAND_SZ;
    machine.SetValue(HKEY_CURRENT_USER, kShellFoldersKey, u"Personal"_s, personal);
    Start();
    EXPECT_EQ(Path(QStringLiteral("Pulpit")), QStringLiteral("C:\\WINDOWS\\Pulpit"));
    EXPECT_EQ(Path(QStringLiteral("Moje dokumenty")), QStringLiteral("%USERPROFILE%\\Dokumenty"));
    EXPECT_EQ(Path(QStringLiteral("Ulubione")), QString());
    SetPath(QStringLiteral("Pulpit"), QStringLiteral("D:\\Nie ma takiego  "));
    SetPath(QStringLiteral("Dane aplikacji"), QString());
    Accept();
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kShellFoldersKey, QStringLiteral("Desktop")),
              QStringLiteral("D:\\Nie ma takiego  "));
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kShellFoldersKey, QStringLiteral("AppData")),
              QStringLiteral("C:\\WINDOWS\\Dane aplikacji"));
    EXPECT_FALSE(Reg(HKEY_CURRENT_USER, kShellFoldersKey, QStringLiteral("Favorites")));
    // An expandable path read as text goes back as plain text.
    EXPECT_EQ(Reg(HKEY_CURRENT_USER, kShellFoldersKey, QStringLiteral("Personal"))->type, REG_SZ);
}

// In the shown window: a path double-clicked, retyped and accepted with the button while it is
// still being edited goes in as typed.
TEST_F(PlikiFolderyTest, APathStillBeingTypedIsTakenByTheButton)
{
    machine.SetText(HKEY_CURRENT_USER, kShellFoldersKey, u"Desktop"_s, u"C:\\WINDOWS\\Pulpit"_s);
    Start();
    ASSERT_TRUE(ShowActive(&Form()));
    ShowPage(&Page());
    QTableWidget* list = Page().lista;
    QTableWidgetItem* desktop = list->findItems(u"Pulpit"_s, Qt::MatchExactly).value(0);
    ASSERT_NE(desktop, nullptr);
    QTableWidgetItem* path = list->item(desktop->row(), 1);
    list->scrollToItem(path);
    DoubleClick(list->viewport(), list->visualItemRect(path).center());
    Press(Qt::Key_A, Qt::ControlModifier);
    Type(u"D:\\Pulpit"_s);
    Click(Page().SpeedButton1);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kShellFoldersKey, u"Desktop"_s), u"D:\\Pulpit"_s);
}

TEST_F(PlikiFolderyTest, AValueOfAnotherTypeEndsTheListAtItsRow)
{
    machine.SetText(HKEY_CURRENT_USER, kShellFoldersKey, u"AppData"_s, u"A"_s);
    machine.SetText(HKEY_CURRENT_USER, kShellFoldersKey, u"Cache"_s, u"B"_s);
    machine.SetDword(HKEY_CURRENT_USER, kShellFoldersKey, u"Cookies"_s, 1);
    machine.SetText(HKEY_CURRENT_USER, kShellFoldersKey, u"Desktop"_s, u"D"_s);
    Start();
    EXPECT_EQ(Path(QStringLiteral("Dane aplikacji")), QStringLiteral("A"));
    EXPECT_EQ(Path(QStringLiteral("Temporary Internet Files")), QStringLiteral("B"));
    EXPECT_EQ(Path(QStringLiteral("Cookies")), QString());
    EXPECT_EQ(Path(QStringLiteral("Pulpit")), QString());
    EXPECT_EQ(Page().lista->rowCount(), 15);
}

TEST_F(PlikiFolderyTest, AcceptWithoutTheKeyReportsTheFirstWriteAndWritesNothing)
{
    Start();
    SetPath(QStringLiteral("Pulpit"), QStringLiteral("C:\\Pulpit"));
    SetPath(QStringLiteral("Czcionki"), QStringLiteral("C:\\Fonts"));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Accept();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Failed to set data for 'Desktop'"));
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Tolmar - Quorvix"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kShellFoldersKey));
}

TEST_F(PlikiFolderyTest, HelpTextsFollowTheMouse)
{
    Start();
    EXPECT_TRUE(
        HelpOver(Page().CheckBox4).startsWith(QStringLiteral("Nie przenosi plików do kosza")));
    EXPECT_TRUE(HelpOver(Page().CheckBox3).startsWith(QStringLiteral("Określa czy rozszerzenia")));
    EXPECT_TRUE(
        HelpOver(Page().CheckBox1)
            .startsWith(QStringLiteral("Pokazuje w oknach folderów pliki i foldery oznaczone")));
    const QString system = HelpOver(Page().CheckBox2);
    EXPECT_TRUE(system.startsWith(QStringLiteral("Pokazuje w oknach folderów także chronione")));
    EXPECT_EQ(HelpOver(Page().lista), system) << "moving over the list changes nothing";
}

TEST_F(PlikiFolderyTest, ARefusedWriteBackAtStartEndsItsStepSilently)
{
    machine.SetDword(HKEY_CURRENT_USER, kAdvanced, u"Hidden"_s, 1);
    machine.SetDword(HKEY_CURRENT_USER, kAdvanced, u"ShowSuperHidden"_s, 3);
    machine.SetDword(HKEY_LOCAL_MACHINE, kBitBucket, u"NukeOnDelete"_s, 1);
    refusedWrites = {u"Hidden"_s, u"NukeOnDelete"_s};
    Start(); // a message box here would fail the test: none is scripted
    EXPECT_TRUE(Page().CheckBox1->isChecked());
    EXPECT_TRUE(Page().CheckBox4->isChecked());
    // The steps after a refused one still run, and write back.
    EXPECT_TRUE(Page().CheckBox2->isChecked());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, u"ShowSuperHidden"_s), 1);

    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox4->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'NukeOnDelete'"_s);
    EXPECT_FALSE(Page().CheckBox4->isChecked());
}
