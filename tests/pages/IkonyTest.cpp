// The "Ikony" page: what start-up shows and writes back, the descriptions, the desktop icon
// switches, the radio pairs, the Recycle Bin's name, the applet list and the drive icon.
#include "Files.h"
#include "Hints.h"
#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "TIniFile.h"
#include "UserInput.h"
#include "kodFrIkony.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAdvanced = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"_s;
const QString kPolicies = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"_s;
const QString kNamespace =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace"_s;
const QString kBinSubkey = kNamespace + u"\\{645FF040-5081-101B-9F08-00AA002F954E}"_s;
const QString kDocumentsSubkey = kNamespace + u"\\{450d8fba-ad25-11d0-98a8-0800361b1103}"_s;
const QString kBinClass = u"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"_s;
const QString kComputerClass = u"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}"_s;
const QString kMetrics = u"Control Panel\\Desktop\\WindowMetrics"_s;
const QString kPaint = u"Paint.Picture\\DefaultIcon"_s;
const QString kPaintIcon = u"C:\\Progra~1\\Access~1\\MSPAINT.EXE,1"_s;
const QString kDriveIcons = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons"_s;

class IkonyTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        machine.MakeWindows();
        SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM));
    }
    TfrIkony& Page() { return *Form().FrIkony; }
    QWidget& Scope() override { return Page(); }
    QString DontLoad(const QString& key)
    {
        TIniFile ini(GetSystemPath(u"win"_s) + u"\\control.ini"_s);
        return ini.ReadString(u"don't load"_s, key, u"(brak)"_s);
    }
    void ClickList(int row)
    {
        QListWidget* list = Page().ChckList;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center() + QPoint(40, 0));
    }
    static QImage Picture(const QString& name)
    {
        QPixmap picture(ProgramFile(name));
        picture.setMask(picture.createMaskFromColor(QColor(0, 255, 0)));
        return picture.toImage();
    }
};

} // namespace

TEST_F(IkonyTest, EachSwitchWritesItsValueAndTheNextStartShowsIt)
{
    ExpectBoundBoxes({
        {"CheckBox1", HKEY_CURRENT_USER, kAdvanced, u"ShowInfoTip"_s, DwordValue(1), DwordValue(0)},
        {"CheckBox2",
         HKEY_CURRENT_USER,
         kPolicies,
         u"NoDesktop"_s,
         DwordValue(1),
         DwordValue(0),
         {{DwordValue(2), true}, {DwordValue(0), false}, {TextValue(u"1"_s), false}}},
        {"CheckBox6",
         HKEY_CURRENT_USER,
         kAdvanced,
         u"HideIcons"_s,
         DwordValue(1),
         DwordValue(0),
         {{std::nullopt, false}, {DwordValue(7), true}}},
        {"RadioButton1", HKEY_CURRENT_USER, kMetrics, u"Shell Icon BPP"_s, TextValue(u"16"_s), {}},
        {"RadioButton2", HKEY_CURRENT_USER, kMetrics, u"Shell Icon BPP"_s, TextValue(u"24"_s), {}},
        {"RadioButton3", HKEY_CLASSES_ROOT, kPaint, QString(), TextValue(u"%1"_s), {}},
        {"RadioButton4", HKEY_CLASSES_ROOT, kPaint, QString(), TextValue(kPaintIcon), {}},
    });
}

TEST_F(IkonyTest, AnEmptyMachineGetsOnlyTheNameSpaceKeyOfTheTwoRemovedIcons)
{
    Start();
    EXPECT_TRUE(Page().CheckBox4->isChecked());
    EXPECT_TRUE(Page().CheckBox5->isChecked());
    for (QAbstractButton* off : std::initializer_list<QAbstractButton*>{
             Page().CheckBox1, Page().CheckBox2, Page().CheckBox3, Page().CheckBox6,
             Page().RadioButton1, Page().RadioButton2, Page().RadioButton3, Page().RadioButton4})
        EXPECT_FALSE(off->isChecked()) << off->objectName().toStdString();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kNamespace));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBinSubkey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDocumentsSubkey));
    for (const QString& key : {kAdvanced, kPolicies, kMetrics})
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << key.toStdString();
    for (const QString& key : {kBinClass, kPaint, u"lnkfile"_s})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key.toStdString();
    EXPECT_EQ(Page().Edit1->text(), QString());
    EXPECT_EQ(Page().ChckList->count(), 0);
    EXPECT_TRUE(Form().AppletFiles.isEmpty());
    EXPECT_FALSE(FileExists(GetSystemPath(u"win"_s) + u"\\control.ini"_s));
}

TEST_F(IkonyTest, ANameSpaceSubkeyWithoutANameShowsTheIconRemovedAndIsKept)
{
    machine.SetText(HKEY_LOCAL_MACHINE, kBinSubkey, {}, {});
    machine.SetText(HKEY_LOCAL_MACHINE, kBinSubkey + u"\\ShellFolder"_s, u"Attributes"_s, u"x"_s);
    machine.SetDword(HKEY_LOCAL_MACHINE, kDocumentsSubkey, {}, 7);
    Start();
    EXPECT_TRUE(Page().CheckBox4->isChecked());
    EXPECT_TRUE(Page().CheckBox5->isChecked());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kBinSubkey + u"\\ShellFolder"_s));
    EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, kDocumentsSubkey, {}), 7);
    // The user's own clicks do: showing the icons names them, removing them deletes the subkeys.
    Page().CheckBox4->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kBinSubkey, {}), u"Kosz"_s);
    Page().CheckBox4->click();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBinSubkey));
    Page().CheckBox5->click();
    Page().CheckBox5->click();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDocumentsSubkey));
}

TEST_F(IkonyTest, ShowingTheIconsAgainNamesTheirSubkeys)
{
    machine.SetText(HKEY_CLASSES_ROOT, kBinClass, {}, u"Śmietnik"_s);
    machine.SetText(HKEY_LOCAL_MACHINE, kDocumentsSubkey, {}, u"Dokumenty"_s);
    Start();
    EXPECT_FALSE(Page().CheckBox5->isChecked());
    EXPECT_EQ(Page().Edit1->text(), u"Śmietnik"_s);
    Page().CheckBox4->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kBinSubkey, {}), u"Śmietnik"_s);
    Page().CheckBox5->click();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDocumentsSubkey));
    Page().CheckBox5->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kDocumentsSubkey, {}), u"Moje dokumenty"_s);
    Restart();
    EXPECT_FALSE(Page().CheckBox4->isChecked());
    EXPECT_FALSE(Page().CheckBox5->isChecked());
}

TEST_F(IkonyTest, ABinWithoutANameIsShownAgainAsKosz)
{
    Start();
    Page().CheckBox4->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kBinSubkey, {}), u"Kosz"_s);
    Restart();
    EXPECT_FALSE(Page().CheckBox4->isChecked());
}

TEST_F(IkonyTest, ARefusedNameSpaceWriteIsSilentForTheBinAndReportedForMyDocuments)
{
    refusedWrites = {QString()};
    Start(); // both handlers run at start and delete nothing: no message
    Page().CheckBox4->click();
    EXPECT_FALSE(Page().CheckBox4->isChecked());
    EXPECT_EQ(dialogs.Messages().size(), 0u);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox5->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for ''"_s);
}

TEST_F(IkonyTest, DescriptionsAreAskedForAndRestored)
{
    machine.SetText(HKEY_CLASSES_ROOT, kComputerClass, {}, u"Mój komputer"_s);
    Start();
    dialogs.ExpectInput(std::nullopt);
    dialogs.ExpectInput(QString());
    Page().SpeedButton1->click();
    Page().SpeedButton1->click();
    EXPECT_FALSE(Reg(HKEY_CLASSES_ROOT, kComputerClass, u"InfoTip"_s));
    dialogs.ExpectInput(u"Twój komputer "_s);
    Page().SpeedButton1->click();
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kComputerClass, u"InfoTip"_s), u"Twój komputer "_s);
    Page().SpeedButton6->click();
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kComputerClass, u"InfoTip"_s),
              u"Wyświetla zawartość tego komputera."_s);
}

TEST_F(IkonyTest, ADescriptionOfAMissingClassKeyNamesTheKeyAndCreatesNothing)
{
    Start();
    dialogs.ExpectInput(u"Opis"_s);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().SpeedButton4->click();
    Page().SpeedButton9->click();
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    const QString text = u"Program Tolmar wykrył, że w systemowym rejestrze nie istnieje "
                         u"klucz,który pozwalałby zmienić wymaganą wartość.\n\rLokalizacja "
                         u"klucza: HKEY_CLASSES_ROOT\\"_s +
                         kBinClass + u'.';
    EXPECT_EQ(dialogs.Messages()[0].text, text);
    EXPECT_EQ(dialogs.Messages()[1].text, text);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kBinClass));
}

TEST_F(IkonyTest, TheShortcutArrowFollowsIsShortcutOfAnyType)
{
    machine.SetDword(HKEY_CLASSES_ROOT, u"lnkfile"_s, u"IsShortcut"_s, 0);
    Start();
    EXPECT_TRUE(Page().CheckBox3->isChecked());
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, u"lnkfile"_s, u"IsShortcut"_s), QString());
    EXPECT_EQ(Page().IkonaSkrotu->pixmap().toImage(), Picture(u"\\Data\\Gfx\\Bmp\\Sob2.bmp"_s));
    Page().CheckBox3->click();
    EXPECT_FALSE(Reg(HKEY_CLASSES_ROOT, u"lnkfile"_s, u"IsShortcut"_s));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, u"lnkfile"_s));
    const QImage withoutArrow = Picture(u"\\Data\\Gfx\\Bmp\\Sob1.bmp"_s);
    EXPECT_EQ(Page().IkonaSkrotu->pixmap().toImage(), withoutArrow);
    // Without its picture file the image keeps the one it shows.
    SetProgramDir(machine.Prefix());
    Page().CheckBox3->click();
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, u"lnkfile"_s, u"IsShortcut"_s), QString());
    EXPECT_EQ(Page().IkonaSkrotu->pixmap().toImage(), withoutArrow);
}

TEST_F(IkonyTest, RadioPairsSelectOnlyTheirExactTexts)
{
    const struct
    {
        QString bpp, paint;
        QRadioButton* TfrIkony::*depth;
        QRadioButton* TfrIkony::*preview;
    } cases[] = {
        {u"16"_s, kPaintIcon, &TfrIkony::RadioButton1, &TfrIkony::RadioButton4},
        {u"24"_s, u"%1"_s, &TfrIkony::RadioButton2, &TfrIkony::RadioButton3},
        {u"32"_s, u"%1 "_s, nullptr, nullptr},
        {u"16 "_s, kPaintIcon.toLower(), nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bpp.toStdString());
        machine.SetText(HKEY_CURRENT_USER, kMetrics, u"Shell Icon BPP"_s, c.bpp);
        machine.SetText(HKEY_CLASSES_ROOT, kPaint, {}, c.paint);
        Start();
        for (auto radio : {&TfrIkony::RadioButton1, &TfrIkony::RadioButton2})
            EXPECT_EQ((Page().*radio)->isChecked(), radio == c.depth);
        for (auto radio : {&TfrIkony::RadioButton3, &TfrIkony::RadioButton4})
            EXPECT_EQ((Page().*radio)->isChecked(), radio == c.preview);
        EXPECT_EQ(Text(HKEY_CURRENT_USER, kMetrics, u"Shell Icon BPP"_s), c.bpp);
        EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kPaint, {}), c.paint);
        Stop();
    }
    Start();
    Page().RadioButton2->click();
    Page().RadioButton3->click();
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kMetrics, u"Shell Icon BPP"_s), u"24"_s);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kPaint, {}), u"%1"_s);
    Page().RadioButton1->click();
    Page().RadioButton4->click();
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kMetrics, u"Shell Icon BPP"_s), u"16"_s);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kPaint, {}), kPaintIcon);
}

TEST_F(IkonyTest, TheBinIsRenamedAsTypedAndAMissingClassKeyIsReported)
{
    machine.SetText(HKEY_CLASSES_ROOT, kBinClass, {}, u"Kosz"_s);
    Start();
    ASSERT_TRUE(ShowActive(&Form()));
    ShowPage(&Page());
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        Click(Page().Panel1, other);
        EXPECT_FALSE(Page().PopupMenu1->isVisible()) << "button " << other;
    }
    Click(Page().Panel1);
    ASSERT_TRUE(Page().PopupMenu1->isVisible());
    ASSERT_EQ(Page().PopupMenu1->actions().size(), 15);
    Page().PopupMenu1->actions()[10]->trigger();
    Page().PopupMenu1->close();
    EXPECT_EQ(Page().Edit1->text(), u"Łubianka"_s);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kBinClass, {}), u"Kosz"_s);
    Page().Button1->click();
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kBinClass, {}), u"Łubianka"_s);
    Page().Edit1->clear();
    Page().Button1->click();
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kBinClass, {}), QString());

    CurrentPlatform().RegDeleteKey(HKEY_CLASSES_ROOT, kBinClass);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().Button1->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text,
              u"Ikona kosza została najprawdopodobniej usunięta przez bardzo drastyczny "
              u"program.\n\r\n\rNie można otworzyć klucza: HKEY_CLASSES_ROOT\\"_s +
                  kBinClass + u'.');
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kBinClass));
}

TEST_F(IkonyTest, AppletsAreHiddenOnlyByAnExactNo)
{
    for (const char* name : {"desk.cpl", "JOY.CPL", "MODEM.CPL", "DODATEK.CPL"})
        machine.WriteFile(u"drive_c/WINDOWS/SYSTEM/"_s + QLatin1String(name), "MZ");
    const QString ini = u"C:\\WINDOWS\\control.ini"_s;
    machine.SetProfile(ini, u"don't load"_s, u"DESK.CPL"_s, u"no"_s);
    machine.SetProfile(ini, u"don't load"_s, u"JOY.CPL"_s, u"no"_s);
    machine.SetProfile(ini, u"don't load"_s, u"MODEM.CPL"_s, u"No"_s);
    Start();
    const QListWidget* list = Page().ChckList;
    const QStringList& files = Form().AppletFiles;
    ASSERT_EQ(list->count(), 4);
    ASSERT_EQ(files.size(), 4);
    const auto row = [&](const QString& file) { return int(files.indexOf(file)); };
    EXPECT_EQ(list->item(row(u"DESK.CPL"_s))->text(), u"desk.cpl"_s);
    EXPECT_EQ(list->item(row(u"JOY.CPL"_s))->text(), u"Opcje gier"_s);
    EXPECT_EQ(list->item(row(u"MODEM.CPL"_s))->text(), u"Modemy"_s);
    EXPECT_EQ(list->item(row(u"DODATEK.CPL"_s))->text(), u"DODATEK.CPL"_s);
    EXPECT_EQ(list->item(row(u"DESK.CPL"_s))->checkState(), Qt::Checked);
    EXPECT_EQ(list->item(row(u"JOY.CPL"_s))->checkState(), Qt::Checked);
    EXPECT_EQ(list->item(row(u"MODEM.CPL"_s))->checkState(), Qt::Unchecked);
    EXPECT_EQ(DontLoad(u"DODATEK.CPL"_s), u"(brak)"_s); // checking marks wrote nothing

    list->item(row(u"MODEM.CPL"_s))->setCheckState(Qt::Checked);
    list->item(row(u"JOY.CPL"_s))->setCheckState(Qt::Unchecked);
    ClickList(row(u"DODATEK.CPL"_s));
    EXPECT_EQ(DontLoad(u"MODEM.CPL"_s), u"no"_s);
    EXPECT_EQ(DontLoad(u"JOY.CPL"_s), u"no"_s);
    EXPECT_EQ(DontLoad(u"DESK.CPL"_s), u"no"_s);
    EXPECT_EQ(DontLoad(u"DODATEK.CPL"_s), u"(brak)"_s);
}

// Ticked in the shown window, with the mouse on the box or with the space bar, an applet is
// hidden at once.
TEST_F(IkonyTest, AnAppletTickedWithTheMouseOrTheKeyboardIsHiddenAtOnce)
{
    for (const char* name : {"DESK.CPL", "JOY.CPL"})
        machine.WriteFile(u"drive_c/WINDOWS/SYSTEM/"_s + QLatin1String(name), "MZ");
    Start();
    ASSERT_TRUE(ShowActive(&Form()));
    QListWidget* list = Page().ChckList;
    const QRect first = list->visualItemRect(list->item(0));
    Click(list->viewport(), Qt::LeftButton, {first.left() + 8, first.center().y()});
    ASSERT_EQ(list->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(DontLoad(Form().AppletFiles[0]), u"no"_s);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Space);
    ASSERT_EQ(list->item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(DontLoad(Form().AppletFiles[1]), u"no"_s);
}

TEST_F(IkonyTest, AppletCaptionsCountLetterCase)
{
    EXPECT_EQ(AppletCaption(u"APPWIZ.CPL"_s), u"Dodaj\\Usuń programy"_s);
    EXPECT_EQ(AppletCaption(u"TWEAKUI.CPL"_s), u"Microsoft Tweak UI"_s);
    EXPECT_EQ(AppletCaption(u"Appwiz.cpl"_s), u"Appwiz.cpl"_s);
}

TEST_F(IkonyTest, ADriveAndAnIconAreAskedAboutAndWritten)
{
    machine.WriteFile(u"drive_c/Ikony/dysk.ico"_s, "ico");
    const QString icon = machine.Host(u"drive_c/Ikony/dysk.ico"_s);
    Start();
    TfrIkony& page = Page();
    EXPECT_EQ(page.ComboBox1->count(), 24);
    EXPECT_EQ(page.ComboBox1->currentText(), u"<wybierz dysk>"_s);
    dialogs.ExpectFile(icon);
    page.SpeedButton12->click(); // an icon first: no drive yet, no question
    EXPECT_EQ(page.Label7->text(), u"dysk.ico"_s);
    EXPECT_TRUE(page.Label8->isHidden());
    page.ComboBox1->setCurrentIndex(2);
    EXPECT_EQ(page.Label5->text(), u"C:\\"_s);
    EXPECT_FALSE(page.Label8->isHidden());
    EXPECT_FALSE(page.SpeedButton13->isHidden());
    page.SpeedButton13->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kDriveIcons + u"\\C"_s, u"DefaultIcon"_s),
              u"C:\\Ikony\\dysk.ico"_s);
    EXPECT_EQ(page.ComboBox1->currentText(), u"<wybierz dysk>"_s);
    EXPECT_EQ(page.Label5->text(), u"<brak>"_s);
    EXPECT_EQ(page.Label7->text(), u"<brak>"_s);
    EXPECT_TRUE(page.OpenIkony.FileName.isEmpty());
    EXPECT_TRUE(page.Label8->isHidden());

    // A drive typed in lower case, and a browse cancelled before any icon was chosen.
    page.ComboBox1->setEditText(u"d:"_s);
    EXPECT_TRUE(page.Label8->isHidden());
    dialogs.ExpectFile(std::nullopt);
    page.SpeedButton12->click();
    EXPECT_FALSE(page.Label8->isHidden());
    page.SpeedButton13->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kDriveIcons + u"\\D"_s, u"DefaultIcon"_s), QString());
}

TEST_F(IkonyTest, OnlyALetterNamesADrive)
{
    EXPECT_EQ(DriveLetter(u"c:\\"_s), QChar(u'C'));
    EXPECT_EQ(DriveLetter(u"Z"_s), QChar(u'Z'));
    for (const QString& text : {QString(), u"\\"_s, u"7:\\"_s, u"ż"_s, u"<wybierz dysk>"_s})
        EXPECT_EQ(DriveLetter(text), std::nullopt) << text.toStdString();

    machine.WriteFile(u"drive_c/dysk.ico"_s, "ico");
    Start();
    TfrIkony& page = Page();
    dialogs.ExpectFile(machine.Host(u"drive_c/dysk.ico"_s));
    page.ComboBox1->setCurrentIndex(0);
    page.SpeedButton12->click();
    EXPECT_FALSE(page.Label8->isHidden());
    for (const QString& text : {QString(), u"\\"_s, u"7"_s}) {
        page.ComboBox1->setEditText(text);
        EXPECT_TRUE(page.Label8->isHidden()) << text.toStdString();
        page.SpeedButton13Click();
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriveIcons));
    EXPECT_EQ(page.OpenIkony.FileName, machine.Host(u"drive_c/dysk.ico"_s));
}

TEST_F(IkonyTest, InfoTipsSwitchTheProgramsHintsUnlessTheWriteFails)
{
    Start();
    Page().CheckBox1->click();
    EXPECT_TRUE(ShowHints());
    Page().CheckBox1->click();
    EXPECT_FALSE(ShowHints());
    Stop();
    refusedWrites = {u"ShowInfoTip"_s};
    Start();
    Page().CheckBox1->click(); // swallowed: no message
    EXPECT_TRUE(Page().CheckBox1->isChecked());
    EXPECT_FALSE(ShowHints());
    SetShowHints(true);
}

TEST_F(IkonyTest, HelpTextsFollowTheMouse)
{
    Start();
    EXPECT_EQ(HelpOver(Page().SpeedButton3),
              u"Kliknij, aby zmienić tekst opisu pomocy dla ikony \"Internet Explorer\". Opis "
              u"pomocy do ikony pojawia się gdy zatrzymasz na niej wskaźnik myszy na dłuższy "
              u"okres czasu."_s);
    EXPECT_EQ(HelpOver(Page().SpeedButton10),
              u"Przywraca domyślny tekst opisu pomocy dla danej ikony."_s);
    EXPECT_TRUE(HelpOver(Page().GroupBox5).endsWith(u"przyciskiem \"Tak\""_s));
    EXPECT_EQ(HelpOver(Page().CheckBox5),
              u"Na pulpicie nie będzie wyświetlana ikona \"Moje dokumenty\"."_s);
    // The radio buttons of the colour depth have no text of their own: their group's shows.
    EXPECT_TRUE(HelpOver(Page().RadioButton1).startsWith(u"Określa jaką palętę kolorów"_s));
    EXPECT_TRUE(HelpOver(Page().RadioButton3).startsWith(u"Gdy podgląd jest włączony"_s));
    EXPECT_TRUE(HelpOver(Page().GroupBox2).startsWith(u"Dzięki tej opcji"_s));
}
