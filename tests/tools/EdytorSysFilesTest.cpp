// The system files editor: its file sequences with scripted pickers, the remembered folders,
// the inserted lines, and files that come back byte for byte.
#include "MainFormFixture.h"
#include "UserInput.h"
#include "kodFrEdytorSysFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSettings = u"Software\\Tolmar\\Ustawienia"_s;
const QString kPathOpen = u"PathOpenInEdytorSysFiles"_s;
const QString kPathSave = u"PathSaveInEdytorSysFiles"_s;

class EdytorSysFilesTest : public MainFormTest
{
protected:
    EdytorSysFilesTest()
    {
        machine.MakeWindows();
        machine.WriteFile(u"drive_c/AUTOEXEC.BAT"_s, "@echo off\r\nSET PATH=C:\\WINDOWS\r\n");
        machine.WriteFile(u"drive_c/WINDOWS/B.TXT"_s, "old\r\n");
    }

    TfrEdytorSysFiles& Page() { return *Form().frEdytorSysFiles; }
    QString Shown() { return Page().editor->toPlainText(); }
    void Push(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString Host(const char* relative) { return machine.Host(QString::fromLatin1(relative)); }
    QByteArray File(const char* relative)
    {
        return machine.ReadFile(QString::fromLatin1(relative));
    }

    void Open(const char* relative)
    {
        dialogs.ExpectFile(Host(relative));
        Push(Page().SpeedButton1);
    }
    void SaveAs(const char* relative)
    {
        dialogs.ExpectFile(Host(relative));
        Push(Page().SpeedButton2);
    }
    // The last error report's text, or nothing when none was shown.
    QString Reported()
    {
        return dialogs.Messages().empty() ? QString() : dialogs.Messages().back().text;
    }
    // Puts the caret at the start of a line, counted from 0.
    void CaretToLine(int line)
    {
        QTextCursor caret(Page().editor->document()->findBlockByNumber(line));
        Page().editor->setTextCursor(caret);
    }
};

} // namespace

TEST(EdytorSysFilesText, AnyLineEndIsWrittenAsCrLf)
{
    EXPECT_EQ(EditorText("a\r\nb\nc\rd"), u"a\nb\nc\nd"_s);
    EXPECT_EQ(FileBytes(u"a\nb\n"_s), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(FileBytes(u"zażółć"_s), QByteArray("za\xbf\xf3\xb3\xe6"));
}

TEST_F(EdytorSysFilesTest, LooksAndListsAsDesigned)
{
    Start();
    const QFont font = Page().editor->font();
    EXPECT_EQ(font.family(), u"Courier New"_s);
    EXPECT_EQ(font.pixelSize(), 15);
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(Page().editor->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(Page().editor->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(Page().editor->document()->documentMargin(), 10);
    EXPECT_EQ(Page().editor->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(Page().ComboBox1->count(), 23);
    EXPECT_EQ(Page().ComboBox1->itemText(13),
              u"move <dysk:\\ścieżka\\nazwa_pliku1,nazwa_pliku2[...] [spacja] cel>"_s);
    EXPECT_EQ(Page().ComboBox2->itemText(1), u"<wartość>=<dana>"_s);
    for (QComboBox* box : {Page().ComboBox1, Page().ComboBox2})
        EXPECT_EQ(box->currentText(), u"<wybierz>"_s);
}

TEST_F(EdytorSysFilesTest, OpenShowsTheFileAndRemembersItsFolderForTheNextStart)
{
    Start();
    Open("drive_c/AUTOEXEC.BAT");
    ASSERT_EQ(dialogs.Pickers().size(), 1u);
    EXPECT_EQ(dialogs.Pickers()[0].title, u"Przeglądaj w poszukiwaniu pliku systemowego"_s);
    EXPECT_EQ(dialogs.Pickers()[0].filters,
              QStringList({u"Wszystkie pliki (*.*)|*.*"_s, u"Pliki wsadowe (*.bat)|*.bat"_s,
                           u"Pliki systemowe (*.sys)|*.sys"_s, u"Pliki INI (*.ini)|*.ini"_s}));
    // No folder remembered yet: the open picker starts in the Windows directory.
    EXPECT_EQ(dialogs.Pickers()[0].folder, CurrentPlatform().HostPath(u"C:\\WINDOWS"_s));
    EXPECT_EQ(Shown(), u"@echo off\nSET PATH=C:\\WINDOWS\n"_s);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kSettings, kPathOpen), u"C:\\"_s);

    SaveAs("drive_c/WINDOWS/B.TXT");
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kSettings, kPathSave), u"C:\\WINDOWS"_s);

    Restart();
    dialogs.ExpectFile(std::nullopt);
    Push(Page().SpeedButton1);
    dialogs.ExpectFile(std::nullopt);
    Push(Page().SpeedButton2);
    EXPECT_EQ(dialogs.Pickers()[2].folder, CurrentPlatform().HostPath(u"C:\\"_s));
    EXPECT_EQ(dialogs.Pickers()[3].folder, CurrentPlatform().HostPath(u"C:\\WINDOWS"_s));
    EXPECT_EQ(dialogs.Pickers()[3].title, QString());
    EXPECT_TRUE(dialogs.Pickers()[3].filters.isEmpty());
}

TEST_F(EdytorSysFilesTest, AFolderThatNoLongerExistsIsNotOffered)
{
    machine.SetText(HKEY_CURRENT_USER, kSettings, kPathOpen, u"C:\\Usunięty"_s);
    machine.SetText(HKEY_CURRENT_USER, kSettings, kPathSave, u""_s);
    Start();
    EXPECT_EQ(Page().OpenD.InitialDir, u"%windir%"_s);
    EXPECT_EQ(Page().SaveD.InitialDir, QString());
}

TEST_F(EdytorSysFilesTest, SaveAsWinsOverTheOpenedFileUntilAReload)
{
    Start();
    Open("drive_c/AUTOEXEC.BAT");
    Page().editor->appendPlainText(u"rem B"_s);
    SaveAs("drive_c/WINDOWS/B.TXT");
    Page().editor->appendPlainText(u"rem again"_s);
    Push(Page().SpeedButton3);
    EXPECT_EQ(File("drive_c/WINDOWS/B.TXT"),
              QByteArray("@echo off\r\nSET PATH=C:\\WINDOWS\r\n\r\nrem B\r\nrem again"));
    EXPECT_EQ(File("drive_c/AUTOEXEC.BAT"), QByteArray("@echo off\r\nSET PATH=C:\\WINDOWS\r\n"));

    // Reload brings the opened file back, edits gone, and the next save goes to it again.
    Push(Page().SpeedButton4);
    EXPECT_EQ(Shown(), u"@echo off\nSET PATH=C:\\WINDOWS\n"_s);
    EXPECT_TRUE(Page().SaveD.FileName.isEmpty());
    EXPECT_FALSE(Page().editor->document()->isUndoAvailable());
    Page().editor->appendPlainText(u"rem A"_s);
    Push(Page().SpeedButton3);
    EXPECT_EQ(File("drive_c/AUTOEXEC.BAT"),
              QByteArray("@echo off\r\nSET PATH=C:\\WINDOWS\r\n\r\nrem A"));
}

TEST_F(EdytorSysFilesTest, SaveWithNoFileAsksForAName)
{
    Start();
    Page().editor->setPlainText(u"nowy\n"_s);
    SaveAs("drive_c/NOWY.BAT");
    Push(Page().SpeedButton3);
    EXPECT_EQ(File("drive_c/NOWY.BAT"), QByteArray("nowy\r\n"));
    EXPECT_EQ(dialogs.Pickers().size(), 1u);
}

TEST_F(EdytorSysFilesTest, ACancelledPickerChangesNothing)
{
    machine.SetText(HKEY_CURRENT_USER, kSettings, kPathSave, u"C:\\WINDOWS"_s);
    Start();
    Open("drive_c/AUTOEXEC.BAT");
    Page().editor->appendPlainText(u"rem edited"_s);
    const QString edited = Shown();
    dialogs.ExpectFile(std::nullopt);
    Push(Page().SpeedButton1);
    dialogs.ExpectFile(std::nullopt);
    Push(Page().SpeedButton2);
    EXPECT_EQ(Shown(), edited);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kSettings, kPathOpen), u"C:\\"_s);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kSettings, kPathSave), u"C:\\WINDOWS"_s);
    // The opened file is still the current one.
    Push(Page().SpeedButton3);
    EXPECT_EQ(File("drive_c/AUTOEXEC.BAT"),
              QByteArray("@echo off\r\nSET PATH=C:\\WINDOWS\r\n\r\nrem edited"));
}

TEST_F(EdytorSysFilesTest, ReloadWithNoFileIsAnOpen)
{
    Start();
    Page().editor->setPlainText(u"unnamed"_s);
    dialogs.ExpectFile(std::nullopt);
    Push(Page().SpeedButton4);
    EXPECT_EQ(Shown(), u"unnamed"_s);
    dialogs.ExpectFile(Host("drive_c/AUTOEXEC.BAT"));
    Push(Page().SpeedButton4);
    EXPECT_EQ(Shown(), u"@echo off\nSET PATH=C:\\WINDOWS\n"_s);
    EXPECT_EQ(Page().OpenD.FileName, Host("drive_c/AUTOEXEC.BAT"));
}

TEST_F(EdytorSysFilesTest, RichTextIsShownAndSavedAsItsPlainText)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Ala \\b ma\\b0  kota\\par\r\n}\r\n";
    machine.WriteFile(u"drive_c/OPIS.RTF"_s, rtf);
    Start();
    Open("drive_c/OPIS.RTF");
    EXPECT_TRUE(Shown().startsWith(u"{\\rtf1\\ansi"_s));
    Push(Page().SpeedButton3);
    EXPECT_EQ(File("drive_c/OPIS.RTF"), rtf);
}

TEST_F(EdytorSysFilesTest, Windows1250FilesComeBackByteForByte)
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n') bytes.append(char(b));
    bytes += "\r\n[Options]\r\nUwaga=\xbf\xf3\xb3\xe6\r\n";
    machine.WriteFile(u"drive_c/CP1250.INI"_s, bytes);
    machine.WriteFile(u"drive_c/UNIX.INI"_s, "a=1\nb=2\n");
    Start();
    Open("drive_c/CP1250.INI");
    EXPECT_TRUE(Shown().endsWith(u"Uwaga=żółć\n"_s));
    Push(Page().SpeedButton3);
    EXPECT_EQ(File("drive_c/CP1250.INI"), bytes);

    Open("drive_c/UNIX.INI");
    Push(Page().SpeedButton3);
    EXPECT_EQ(File("drive_c/UNIX.INI"), QByteArray("a=1\r\nb=2\r\n"));
}

TEST_F(EdytorSysFilesTest, WithoutTheSettingsKeyTheFileIsDoneAndTheFolderWriteFails)
{
    Start();
    ASSERT_TRUE(CurrentPlatform().RegDeleteKey(HKEY_CURRENT_USER, kSettings));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Open("drive_c/AUTOEXEC.BAT");
    EXPECT_EQ(Reported(), u"Failed to set data for 'PathOpenInEdytorSysFiles'"_s);
    EXPECT_EQ(Shown(), u"@echo off\nSET PATH=C:\\WINDOWS\n"_s);

    dialogs.ExpectMessage(MessageAnswer::Ok);
    SaveAs("drive_c/WINDOWS/B.TXT");
    EXPECT_EQ(Reported(), u"Failed to set data for 'PathSaveInEdytorSysFiles'"_s);
    EXPECT_EQ(File("drive_c/WINDOWS/B.TXT"), QByteArray("@echo off\r\nSET PATH=C:\\WINDOWS\r\n"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
}

TEST_F(EdytorSysFilesTest, AFileThatFailsIsNeitherCurrentNorRemembered)
{
    Start();
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Open("drive_c/BRAK.BAT");
    // The system's own message, with the reason in the language of the Polish system.
    EXPECT_EQ(Reported(), u"Cannot open file \"C:\\BRAK.BAT\". Brak pliku lub katalogu."_s);
    EXPECT_EQ(Shown(), QString());
    EXPECT_FALSE(Text(HKEY_CURRENT_USER, kSettings, kPathOpen));
    EXPECT_TRUE(Page().OpenD.FileName.isEmpty());

    // A read-only file is refused as the system refuses it, whoever runs the program.
    QFile::setPermissions(Host("drive_c/WINDOWS/B.TXT"), QFile::ReadOwner | QFile::ReadGroup);
    Page().editor->setPlainText(u"new"_s);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    SaveAs("drive_c/WINDOWS/B.TXT");
    EXPECT_EQ(Reported(), u"Cannot create file \"C:\\WINDOWS\\B.TXT\". Permission denied."_s);
    EXPECT_EQ(File("drive_c/WINDOWS/B.TXT"), QByteArray("old\r\n"));
    EXPECT_FALSE(Text(HKEY_CURRENT_USER, kSettings, kPathSave));
}

TEST_F(EdytorSysFilesTest, AChosenLineGoesInBeforeTheCaretsLine)
{
    Start();
    Page().editor->setPlainText(u"one\ntwo\nthree\nfour"_s);
    CaretToLine(2);
    QComboBox* box = Page().ComboBox1;
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(7, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
    EXPECT_EQ(Shown(), u"one\ntwo\npause\nthree\nfour"_s);
    EXPECT_EQ(Page().editor->textCursor().blockNumber(), 3);

    QComboBox* ini = Page().ComboBox2;
    ini->showPopup();
    ini->view()->setCurrentIndex(ini->model()->index(0, 0));
    QTest::keyClick(ini->view(), Qt::Key_Return);
    EXPECT_EQ(Shown(), u"one\ntwo\npause\n[<sekcja>]\nthree\nfour"_s);
}

// In the shown window, with the keyboard and the mouse: a line goes in once when the user
// chooses it, and never while the list is only looked through or left.
TEST_F(EdytorSysFilesTest, ACommandGoesInOnlyWhenChosenAndExactlyAsChosen)
{
    Start();
    ASSERT_TRUE(ShowActive(&Form()));
    ShowPage(&Page());
    QComboBox* box = Page().ComboBox1;
    const QString second = box->itemText(1);
    const auto clickItem = [box](int item) {
        Press(Qt::Key_F4);
        ASSERT_TRUE(box->view()->isVisible());
        Click(box->view()->viewport(), Qt::LeftButton,
              box->view()->visualRect(box->model()->index(item, 0)).center());
    };
    const struct
    {
        const char* what;
        std::function<void()> act;
        QStringList inserted;
    } cases[] = {
        {"arrow keys, then Tab away",
         [] { Press(Qt::Key_Down), Press(Qt::Key_Down), Press(Qt::Key_Tab); },
         {}},
        {"an item's name typed, then a click elsewhere",
         [this] { Type(u"cls"_s), Click(Page().editor); },
         {}},
        {"the wheel over the focused list", [box] { Wheel(box, -1), Wheel(box, -1); }, {}},
        {"typed in another case, then Enter",
         [] { Type(u"PAUSE"_s), Press(Qt::Key_Return); },
         {u"PAUSE"_s}},
        {"arrow keys, then Enter",
         [] { Press(Qt::Key_Down), Press(Qt::Key_Down), Press(Qt::Key_Return); },
         {second}},
        {"an item clicked in the open list", [&] { clickItem(7); }, {u"pause"_s}},
        {"an item taken with Enter in the open list",
         [] { Press(Qt::Key_F4), Press(Qt::Key_Down), Press(Qt::Key_Down), Press(Qt::Key_Return); },
         {second}},
    };
    for (const auto& c : cases) {
        Page().editor->setPlainText(u"one\ntwo"_s);
        CaretToLine(1);
        box->setCurrentIndex(-1);
        box->setEditText(QString());
        Click(box, Qt::LeftButton, {10, box->height() / 2});
        c.act();
        EXPECT_EQ(Shown(), (QStringList{u"one"_s} + c.inserted + QStringList{u"two"_s}).join(u'\n'))
            << c.what;
    }
}

// A save is whole or nothing: a disk that fills up halfway (here a limit on the size of the
// files this process writes) leaves the old file as it was, and the message gives the reason.
TEST_F(EdytorSysFilesTest, ASaveThatRunsOutOfRoomLeavesTheOldFileAndSaysWhy)
{
    Start();
    Open("drive_c/WINDOWS/B.TXT");
    Page().editor->setPlainText(QString(6 * 1024, u'x'));
    struct rlimit before = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    struct rlimit limited = before;
    limited.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Push(Page().SpeedButton3);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(Reported(), u"Cannot write file \"C:\\WINDOWS\\B.TXT\". File too large."_s);
    EXPECT_EQ(File("drive_c/WINDOWS/B.TXT"), "old\r\n");
    EXPECT_TRUE(QDir(Host("drive_c/WINDOWS"))
                    .entryList({u".tolmar-*"_s}, QDir::Files | QDir::Hidden)
                    .isEmpty())
        << "no temporary file is left";
}
