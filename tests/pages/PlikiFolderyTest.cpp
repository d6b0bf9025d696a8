// The "Pliki i foldery" page: what start-up shows and writes back, the four switches and the
// folder list.
#include "MainFormFixture.h"
#include "kodFrPlikiFoldery.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

const QString kAdvanced =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
const QString kBitBucket =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket");
const QString kShellFoldersKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

QByteArray Key(const char* path, const QByteArray& values)
{
    return QByteArray("\n[") + path + "] 1796737660\n#time=1dd871ab1a0c09e\n" + values;
}

const char* kAdvancedPath =
    "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Advanced";
const char* kShellPath =
    "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders";
const char* kBitBucketPath =
    "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\BitBucket";

class PlikiFolderyTest : public MainFormTest
{
protected:
    TFrPlikiFoldery& Page() { return *Form().FrPlikiFoldery; }

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

TEST_F(PlikiFolderyTest, HiddenShowsCheckedOnlyForOneAndUnchecksToTwo)
{
    for (const char* stored : {"dword:00000002", "dword:00000000", "dword:00000007"}) {
        SCOPED_TRACE(stored);
        machine.WriteHive(QStringLiteral("user.reg"),
                          Key(kAdvancedPath, QByteArray("\"Hidden\"=") + stored + "\n"));
        Start();
        EXPECT_FALSE(Page().CheckBox1->isChecked());
        Page().CheckBox1->click();
        EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, QStringLiteral("Hidden")), 1);
        Page().CheckBox1->click();
        EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, QStringLiteral("Hidden")), 2);
        Stop();
    }
}

TEST_F(PlikiFolderyTest, CheckedValuesAreWrittenBackAtStart)
{
    machine.WriteHive(QStringLiteral("user.reg"),
                      Key(kAdvancedPath,
                          "\"Hidden\"=dword:00000001\n\"HideFileExt\"=dword:00000000\n"
                          "\"ShowSuperHidden\"=dword:00000005\n"));
    Start();
    EXPECT_TRUE(Page().CheckBox1->isChecked());
    EXPECT_TRUE(Page().CheckBox2->isChecked());
    EXPECT_FALSE(Page().CheckBox3->isChecked());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, QStringLiteral("ShowSuperHidden")), 1);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, QStringLiteral("Hidden")), 1);
    // A box left unchecked writes nothing: the stored 0 stays as it was, not rewritten.
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, QStringLiteral("HideFileExt")), 0);
}

TEST_F(PlikiFolderyTest, ABooleanStoredAsBinaryIsShownUncheckedAndReplacedByADword)
{
    machine.WriteHive(QStringLiteral("system.reg"),
                      Key(kBitBucketPath, "\"NukeOnDelete\"=hex:01,00,00,00\n"));
    machine.WriteHive(QStringLiteral("user.reg"),
                      Key(kAdvancedPath, "\"HideFileExt\"=hex:01,00,00,00\n"));
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

TEST_F(PlikiFolderyTest, SwitchesCreateTheirKeysAndLandInTheRegistryFiles)
{
    Start();
    Page().CheckBox2->click();
    Page().CheckBox3->click();
    Page().CheckBox4->click();
    Stop();
    const QByteArray user = machine.ReadFile(QStringLiteral("user.reg"));
    EXPECT_TRUE(user.contains("\"HideFileExt\"=dword:00000001")) << user.constData();
    EXPECT_TRUE(user.contains("\"ShowSuperHidden\"=dword:00000001"));
    EXPECT_TRUE(
        machine.ReadFile(QStringLiteral("system.reg")).contains("\"NukeOnDelete\"=dword:00000001"));
}

TEST_F(PlikiFolderyTest, AcceptWritesNonEmptyPathsAsTyped)
{
    machine.WriteHive(QStringLiteral("user.reg"),
                      Key(kShellPath, "\"AppData\"=\"C:\\\\WINDOWS\\\\Dane aplikacji\"\n"
                                      "\"Desktop\"=\"C:\\\\WINDOWS\\\\Pulpit\"\n"
                                      "\"Personal\"=str(2):\"%USERPROFILE%\\\\Dokumenty\"\n"));
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

TEST_F(PlikiFolderyTest, AValueOfAnotherTypeEndsTheListAtItsRow)
{
    machine.WriteHive(QStringLiteral("user.reg"),
                      Key(kShellPath,
                          "\"AppData\"=\"A\"\n\"Cache\"=\"B\"\n\"Cookies\"=dword:00000001\n"
                          "\"Desktop\"=\"D\"\n"));
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
    const auto moveOver = [](QWidget* w) {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    };
    moveOver(Page().CheckBox4);
    EXPECT_TRUE(Form().OpisPomocy->toPlainText().startsWith(
        QStringLiteral("Nie przenosi plików do kosza")));
    moveOver(Page().CheckBox3);
    EXPECT_TRUE(
        Form().OpisPomocy->toPlainText().startsWith(QStringLiteral("Określa czy rozszerzenia")));
    moveOver(Page().CheckBox1);
    const QString hidden = Form().OpisPomocy->toPlainText();
    moveOver(Page().CheckBox2);
    EXPECT_FALSE(hidden.isEmpty());
    EXPECT_NE(Form().OpisPomocy->toPlainText(), hidden);
    // Moving over the list changes nothing.
    moveOver(Page().lista);
    EXPECT_NE(Form().OpisPomocy->toPlainText(), hidden);
}
