#include "kodFrIkony.h"

#include "Bindings.h"
#include "Controls.h"
#include "Dialogs.h"
#include "Files.h"
#include "Guarded.h"
#include "Hints.h"
#include "Keys.h"
#include "Pictures.h"
#include "ProgramDir.h"
#include "TIniFile.h"
#include "TRegistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNamespace =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace"_s;
const QString kBinGuid = u"{645FF040-5081-101B-9F08-00AA002F954E}"_s;
const QString kMyDocumentsGuid = u"{450d8fba-ad25-11d0-98a8-0800361b1103}"_s;
const QString kBinClass = u"CLSID\\"_s + kBinGuid;
const QString kDriveIcons =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\"_s;
const QString kNoDrive = u"<wybierz dysk>"_s;
const QString kNone = u"<brak>"_s;
const QString kPaintIcon = u"C:\\Progra~1\\Access~1\\MSPAINT.EXE,1"_s;
const QString kDontLoad = u"don't load"_s;

const RegFlag kShowInfoTip{
    .root = HKEY_CURRENT_USER, .key = kExplorerAdvanced, .name = u"ShowInfoTip"_s};
const RegFlag kHideIcons{
    .root = HKEY_CURRENT_USER, .key = kExplorerAdvanced, .name = u"HideIcons"_s};
const RegFlag kNoDesktop{
    .root = HKEY_CURRENT_USER, .key = kExplorerPolicies, .name = u"NoDesktop"_s};
// Any value of any type shows the arrow; the box writes it as an empty text.
const RegText kIsShortcut{.root = HKEY_CLASSES_ROOT,
                          .key = u"lnkfile"_s,
                          .name = u"IsShortcut"_s,
                          .checked = u""_s,
                          .unchecked = std::nullopt,
                          .rule = TextShown::Exists};

// A radio button's setting: the text it writes and the only text that selects it at start-up.
RegText Choice(HKEY root, const QString& key, const QString& name, const QString& text)
{
    return {.root = root,
            .key = key,
            .name = name,
            .checked = text,
            .unchecked = std::nullopt,
            .rule = TextShown::Equal,
            .match = text};
}
const QString kWindowMetrics = u"Control Panel\\Desktop\\WindowMetrics"_s;
const RegText kBpp16 = Choice(HKEY_CURRENT_USER, kWindowMetrics, u"Shell Icon BPP"_s, u"16"_s);
const RegText kBpp24 = Choice(HKEY_CURRENT_USER, kWindowMetrics, u"Shell Icon BPP"_s, u"24"_s);
const QString kPaintPicture = u"Paint.Picture\\DefaultIcon"_s;
const RegText kPreviewOn = Choice(HKEY_CLASSES_ROOT, kPaintPicture, QString(), u"%1"_s);
const RegText kPreviewOff = Choice(HKEY_CLASSES_ROOT, kPaintPicture, QString(), kPaintIcon);

// A desktop icon whose pop-up description the page edits.
struct DesktopIcon
{
    QString name;
    QString classKey; // under HKEY_CLASSES_ROOT
    QString defaultText;
    QString glyph;
};
const DesktopIcon kIcons[5] = {
    {u"Mój komputer"_s, u"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}"_s,
     u"Wyświetla zawartość tego komputera."_s, u"MojKomputer.bmp"_s},
    {u"Moje dokumenty"_s, u"CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}"_s,
     u"Przechowuje dokumenty, grafikę i inne pliki."_s, u"MojeDokumenty.bmp"_s},
    {u"Internet Explorer"_s, u"CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}"_s,
     u"Znajduje i wyświetla informacje sieci Web w Internecie."_s, u"InternetExplorer.bmp"_s},
    {u"Kosz"_s, kBinClass,
     u"Zawiera usunięte elementy, które możesz ostatecznie usunąć lub przywrócić."_s,
     u"Kosz.bmp"_s},
    {u"Otoczenie sieciowe"_s, u"CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}"_s,
     u"Wyświetla wszystkie komputery znajdujące się w Twojej sieci."_s, u"OtoczenieSieciowe.bmp"_s},
};

QString EditHelp(int icon)
{
    return u"Kliknij, aby zmienić tekst opisu pomocy dla ikony \""_s + kIcons[icon].name +
           u"\". Opis pomocy do ikony pojawia się gdy zatrzymasz na niej wskaźnik myszy na "
           u"dłuższy okres czasu."_s;
}
const QString kRestoreHelp = u"Przywraca domyślny tekst opisu pomocy dla danej ikony."_s;

// The five description buttons stand in a column, each with its restore button below it.
QRect EditPlace(int icon) { return {22, 8 + icon * 88, 48, 44}; }
QRect RestorePlace(int icon) { return {12, 54 + icon * 88, 68, 20}; }

using Button = ControlRow<TfrIkony, QPushButton>;
const Button kEditButtons[] = {
    {&TfrIkony::SpeedButton1, "SpeedButton1", EditPlace(0), QString(), &TfrIkony::SpeedButton1Click,
     EditHelp(0)},
    {&TfrIkony::SpeedButton2, "SpeedButton2", EditPlace(1), QString(), &TfrIkony::SpeedButton2Click,
     EditHelp(1)},
    {&TfrIkony::SpeedButton3, "SpeedButton3", EditPlace(2), QString(), &TfrIkony::SpeedButton3Click,
     EditHelp(2)},
    {&TfrIkony::SpeedButton4, "SpeedButton4", EditPlace(3), QString(), &TfrIkony::SpeedButton4Click,
     EditHelp(3)},
    {&TfrIkony::SpeedButton5, "SpeedButton5", EditPlace(4), QString(), &TfrIkony::SpeedButton5Click,
     EditHelp(4)},
};
const Button kRestoreButtons[] = {
    {&TfrIkony::SpeedButton6, "SpeedButton6", RestorePlace(0), u"Domyślnie"_s,
     &TfrIkony::SpeedButton6Click, kRestoreHelp},
    {&TfrIkony::SpeedButton7, "SpeedButton7", RestorePlace(1), u"Domyślnie"_s,
     &TfrIkony::SpeedButton7Click, kRestoreHelp},
    {&TfrIkony::SpeedButton8, "SpeedButton8", RestorePlace(2), u"Domyślnie"_s,
     &TfrIkony::SpeedButton8Click, kRestoreHelp},
    {&TfrIkony::SpeedButton9, "SpeedButton9", RestorePlace(3), u"Domyślnie"_s,
     &TfrIkony::SpeedButton9Click, kRestoreHelp},
    {&TfrIkony::SpeedButton10, "SpeedButton10", RestorePlace(4), u"Domyślnie"_s,
     &TfrIkony::SpeedButton10Click, kRestoreHelp},
};

using Box = ControlRow<TfrIkony, QCheckBox>;
const Box kInfoTipBox[] = {
    {&TfrIkony::CheckBox1,
     "CheckBox1",
     {10, 18, 420, 17},
     u"Pokazyj wyskakujące opisy pomocy"_s,
     Irregular(kShowInfoTip, &TfrIkony::CheckBox1Click),
     u"Gdy użytkownik wskaże na ikonę np. Kosz, a kursor pozostanie przez chwilę nieruchomy, "
     u"wówczas wyskoczy dymek z informacją o danym elemencie."_s},
};
const Box kNoDesktopBox[] = {
    {&TfrIkony::CheckBox2,
     "CheckBox2",
     {10, 36, 420, 17},
     u"Ukryj wszystkie ikony pulpitu"_s,
     Bound{kNoDesktop},
     u"Gdy zaznaczone, żadna ikona nie będzie pokazywana na pulpicie."_s},
};
const Box kDesktopIconBoxes[] = {
    {&TfrIkony::CheckBox4,
     "CheckBox4",
     {10, 54, 420, 17},
     u"Usuń ikonę \"Kosz\" z pulpitu systemu Windows"_s,
     &TfrIkony::CheckBox4Click,
     u"Na pulpicie nie będzie wyświetlana ikona kosza systemowego."_s},
    {&TfrIkony::CheckBox5,
     "CheckBox5",
     {10, 72, 420, 17},
     u"Usuń ikonę \"Moje dokumenty\" z pulpitu systemu Windows"_s,
     &TfrIkony::CheckBox5Click,
     u"Na pulpicie nie będzie wyświetlana ikona \"Moje dokumenty\"."_s},
    {&TfrIkony::CheckBox6,
     "CheckBox6",
     {10, 90, 420, 17},
     u"Ukrywaj ikony w trybie Active Desktop"_s,
     Bound{kHideIcons, Errors::Quiet},
     u"Gdy pulpit Active Desktop jest włączony - system będzie ukrywał ikony pulpitu, aby nie "
     u"przeszkadzały w eksplorowaniu stron WWW."_s},
};
const Box kShortcutBox[] = {
    {&TfrIkony::CheckBox3,
     "CheckBox3",
     {10, 108, 420, 17},
     u"Do ikony skrótu zawsze dodawaj strzałkę"_s,
     Irregular(kIsShortcut, &TfrIkony::CheckBox3Click),
     u"System Windows do ikony skrótu dodaj strzałkę. Odznacz tą opcję, aby ikona skrótu nie "
     u"była prezentowana z tym znakiem."_s},
};

using Radio = ControlRow<TfrIkony, QRadioButton>;
const Radio kDepthRadios[] = {
    {&TfrIkony::RadioButton1,
     "RadioButton1",
     {10, 16, 330, 17},
     u"Wyświetlaj ikony używając 16 bitowej głębi kolorów"_s,
     Bound{kBpp16}},
    {&TfrIkony::RadioButton2,
     "RadioButton2",
     {10, 34, 330, 17},
     u"Wyświetlaj ikony używając 24 bitowej głębi kolorów"_s,
     Bound{kBpp24}},
};
const Radio kPreviewOnRadio[] = {
    {&TfrIkony::RadioButton3,
     "RadioButton3",
     {10, 16, 200, 17},
     u"Włącz podgląd plików bitmapowych"_s,
     Bound{kPreviewOn},
     u"Gdy podgląd jest włączony, wówczas zawartość pliku-bitmapy wyświetlana jest jako ikona "
     u"tego pliku."_s},
};
const Radio kPreviewOffRadio[] = {
    {&TfrIkony::RadioButton4,
     "RadioButton4",
     {10, 34, 200, 17},
     u"Wyłącz podgląd plików bitmapowych"_s,
     Bound{kPreviewOff},
     u"Gdy podgląd jest wyłączony, wówczas wszystkie ikony plików bitmapowych wyglądają "
     u"identycznie."_s},
};

// The Polish captions of the applets the system brings, by their exact file names.
struct AppletName
{
    const char16_t* file;
    const char16_t* caption;
};
const AppletName kAppletNames[] = {
    {u"DESK.CPL", u"Ekran"},
    {u"MODEM.CPL", u"Modemy"},
    {u"JOY.CPL", u"Opcje gier"},
    {u"INETCPL.CPL", u"Opcje internetowe"},
    {u"PASSWORD.CPL", u"Hasła"},
    {u"MMSYS.CPL", u"Multimedia"},
    {u"ACCESS.CPL", u"Ułatwienia dostępu"},
    {u"APPWIZ.CPL", u"Dodaj\\Usuń programy"},
    {u"MAIN.CPL", u"Mysz"},
    {u"TIMEDATE.CPL", u"Data\\Godzina"},
    {u"ODBCCP32.CPL", u"ODBC"},
    {u"POWERCFG.CPL", u"Zarządzanie energią"},
    {u"NVTUICPL.CPL", u"Manager pulpitów nView"},
    {u"NETCPL.CPL", u"Sieć"},
    {u"INTL.CPL", u"Ustawienia regionalne"},
    {u"SYSDM.CPL", u"System"},
    {u"TELEPHON.CPL", u"Wybieranie numeru"},
    {u"STICPL.CPL", u"Skanery i aparaty cyfrowe"},
    {u"TWEAKUI.CPL", u"Microsoft Tweak UI"},
};

const char16_t* const kBinNames[] = {
    u"Kosz",       u"Śmietnik",   u"Wysypisko",    u"Odpadki",      u"Kubeł",
    u"Złomowisko", u"Śmietnisko", u"Nieczystości", u"Popielniczka", u"Odrzuty",
    u"Łubianka",   u"Kobiałka",   u"Koszyk",       u"Pojemnik",     u"Zbiornik",
};

// A picture of the program's data tree, pure green drawn transparent; null when it is missing.
QPixmap Picture(const QString& name) { return TransparentPicture(ProgramFile(name)); }

QLabel* NewPicture(QWidget* parent, const char* name, const QString& file, QRect geometry)
{
    QLabel* image = Named<QLabel>(parent, name, geometry);
    image->setPixmap(Picture(file));
    return image;
}

QString IconGlyph(int icon) { return u"\\Data\\Gfx\\Bmp\\Ikony\\"_s + kIcons[icon].glyph; }

void Help(QWidget* control, const QString& text)
{
    OnMouseMove(control, [text] { ShowHelpText(text); });
}

QPushButton* NewFlatButton(QWidget* parent, const char* name, const QString& caption,
                           QRect geometry)
{
    auto* button = Named<QPushButton>(parent, name, geometry);
    button->setText(caption);
    button->setFlat(true);
    return button;
}

} // namespace

QString AppletCaption(const QString& fileName)
{
    for (const AppletName& applet : kAppletNames)
        if (fileName == QString::fromUtf16(applet.file)) return QString::fromUtf16(applet.caption);
    return fileName;
}

std::optional<QChar> DriveLetter(const QString& text)
{
    if (text.isEmpty()) return std::nullopt;
    const QChar letter = text.front().toUpper();
    if (letter < u'A' || letter > u'Z') return std::nullopt;
    return letter;
}

QString MissingClassKeyText(const QString& classKey)
{
    return u"Program Tolmar wykrył, że w systemowym rejestrze nie istnieje klucz,który "
           u"pozwalałby zmienić wymaganą wartość.\n\rLokalizacja klucza: HKEY_CLASSES_ROOT\\"_s +
           classKey;
}

bool TfrIkony::PictureDialog::Execute(QWidget* parent)
{
    const std::optional<QString> chosen =
        Dialogs().OpenPicture(parent, u"Otwórz"_s, {u"Wszystkie ikony (*.ico)|*.ico"_s},
                              FileName.isEmpty() ? PickerFolder() : QFileInfo(FileName).path());
    if (!chosen) return false;
    FileName = *chosen;
    return true;
}

TfrIkony::TfrIkony(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TfrIkony"_s);
    setMinimumSize(640, 449);
    BuildDescriptions();
    BuildGeneral();
    BuildBin();
    BuildApplets();
    BuildDriveIcons();
}

void TfrIkony::BuildDescriptions()
{
    Build(this, this, kEditButtons);
    Build(this, this, kRestoreButtons);
    int icon = 0;
    for (QPushButton* button :
         {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5}) {
        button->setFlat(true);
        button->setIcon(Picture(IconGlyph(icon++)));
        button->setIconSize({32, 32});
    }
    for (QPushButton* button :
         {SpeedButton6, SpeedButton7, SpeedButton8, SpeedButton9, SpeedButton10})
        button->setFlat(true);
}

void TfrIkony::BuildGeneral()
{
    GroupBox1 = NewGroupBox(this, "GroupBox1", u"Ogólne"_s, {96, 4, 536, 190});
    Build(this, GroupBox1, kInfoTipBox);
    Build(this, GroupBox1, kNoDesktopBox);
    Build(this, GroupBox1, kDesktopIconBoxes);
    Build(this, GroupBox1, kShortcutBox);
    IkonaSkrotu =
        NewPicture(GroupBox1, "IkonaSkrotu", u"\\Data\\Gfx\\Bmp\\Sob1.bmp"_s, {316, 97, 32, 32});

    GroupBox6 = NewGroupBox(GroupBox1, "GroupBox6", u"Głębia kolorów ikon"_s, {10, 130, 516, 54});
    Help(GroupBox6, u"Określa jaką palętę kolorów system ma zastosować do wyświetlania ikon. Im "
                    u"więcej kolorów tym ładniejsze ikony."_s);
    Build(this, GroupBox6, kDepthRadios);
    Image2 = NewPicture(GroupBox6, "Image2", u"\\Data\\Gfx\\Bmp\\Ikony\\Glebia.bmp"_s,
                        {440, 16, 64, 32});

    GroupBox2 = NewGroupBox(this, "GroupBox2", u"Szybki podgląd bitmap"_s, {96, 198, 260, 60});
    Help(GroupBox2, u"Dzięki tej opcji zawartość plików bitmapowych widniała będzie jako ikona "
                    u"tego pliku. Włączenie tej opcji spowolni otwieranie się folderów z "
                    u"zawartością plików bitmapowych."_s);
    Build(this, GroupBox2, kPreviewOnRadio);
    Build(this, GroupBox2, kPreviewOffRadio);
    // Their own help texts stay shown: the mouse's moves over them do not reach the group's.
    RadioButton3->setAttribute(Qt::WA_NoMousePropagation);
    RadioButton4->setAttribute(Qt::WA_NoMousePropagation);
    Image3 = NewPicture(GroupBox2, "Image3", u"\\Data\\Gfx\\Bmp\\Ikony\\Podglad.bmp"_s,
                        {218, 18, 32, 32});
}

void TfrIkony::BuildBin()
{
    GroupBox3 = NewGroupBox(this, "GroupBox3", u"Kosz systemowy"_s, {362, 198, 270, 134});
    Image1 = NewPicture(GroupBox3, "Image1", IconGlyph(3), {10, 20, 32, 32});
    Label3 = NewLabel(GroupBox3, "Label3",
                      u"Tu możesz zmienić nazwę ikony kosza systemowego. Jeśli jeszcze nie wiesz "
                      u"co wpisać, skorzystaj z podpowiedzi klikając na \"Propozycje\"."_s,
                      {50, 16, 210, 56});
    Label3->setWordWrap(true);
    Edit1 = Named<QLineEdit>(GroupBox3, "Edit1", {10, 78, 250, 21});
    Panel1 = NewLabel(GroupBox3, "Panel1", u"Propozycje"_s, {10, 104, 90, 22});
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setCursor(Qt::PointingHandCursor);
    OnLeftClick(Panel1, Handler(this, &TfrIkony::Panel1Click));
    Help(Panel1, u"Kliknij lewym przyciskiem myszy, aby wybrać jedną z oferowanych przez program "
                 u"propozycji."_s);
    Button1 = Named<QPushButton>(GroupBox3, "Button1", {170, 104, 90, 22});
    Button1->setText(u"Zmień nazwę"_s);
    OnChange(Button1, Handler(this, &TfrIkony::Button1Click));
    Help(Button1, u"Kliknij, aby zastosować nową nazwę kosza."_s);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    for (const char16_t* name : kBinNames)
        PopupMenu1->addAction(QString::fromUtf16(name));
    connect(PopupMenu1, &QMenu::triggered, this, Handler(this, &TfrIkony::PopupMenu1ItemClick));
}

void TfrIkony::BuildApplets()
{
    GroupBox4 =
        NewGroupBox(this, "GroupBox4", u"Ukryj ikony Panelu Sterowania"_s, {96, 262, 260, 182});
    ChckList = Named<QListWidget>(GroupBox4, "ChckList", {10, 18, 240, 154});
    // A tick by the mouse or by the space bar; Qt's click signal misses the keyboard's.
    connect(ChckList, &QListWidget::itemChanged, this, Handler(this, &TfrIkony::ChckListClick));
    Help(ChckList,
         u"Wyświetla aplety Panelu Sterowania. Apletami są np. \"Dodaj/Usuń programy\", "
         u"\"Dźwięki\" czy \"Ustawienia regionalne\". Aplety te możesz ukryć klikając na pole "
         u"wyboru obok nazwy elementu."_s);
}

void TfrIkony::BuildDriveIcons()
{
    GroupBox5 = NewGroupBox(this, "GroupBox5", u"Ikony dysków"_s, {362, 336, 270, 108});
    Help(GroupBox5, u"Pole to zmianę ikon dysków do własnych upodobań. Wybierz dysk z listy, "
                    u"kliknij przycisk przeglądaj w celu wybrania dla niego ikony, następnie "
                    u"potwierdź swój wybór przyciskiem \"Tak\""_s);
    ComboBox1 = Named<QComboBox>(GroupBox5, "ComboBox1", {10, 18, 150, 21});
    ComboBox1->setEditable(true);
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter)
        if (letter != u'Q' && letter != u'V') ComboBox1->addItem(QChar(letter) + u":\\"_s);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(kNoDrive);
    connect(ComboBox1, &QComboBox::editTextChanged, this,
            Handler(this, &TfrIkony::ComboBox1Change));
    SpeedButton12 = NewFlatButton(GroupBox5, "SpeedButton12", u"Przeglądaj"_s, {166, 18, 94, 21});
    OnChange(SpeedButton12, Handler(this, &TfrIkony::SpeedButton12Click));

    Label4 = NewLabel(GroupBox5, "Label4", u"Nową ikoną dla dysku:"_s, {10, 46, 116, 14});
    Label5 = NewLabel(GroupBox5, "Label5", kNone, {128, 46, 132, 14});
    Label6 = NewLabel(GroupBox5, "Label6", u"będzie:"_s, {10, 62, 40, 14});
    Label7 = NewLabel(GroupBox5, "Label7", kNone, {52, 62, 208, 14});
    Label8 = NewLabel(GroupBox5, "Label8", u"Czy chcesz zastosować zmiany?"_s, {10, 84, 160, 14});
    SpeedButton13 = NewFlatButton(GroupBox5, "SpeedButton13", u"Tak"_s, {174, 80, 42, 22});
    OnChange(SpeedButton13, Handler(this, &TfrIkony::SpeedButton13Click));
    SpeedButton14 = NewFlatButton(GroupBox5, "SpeedButton14", u"Nie"_s, {218, 80, 42, 22});
    OnChange(SpeedButton14, Handler(this, &TfrIkony::SpeedButton14Click));
    ShowQuestion(false);
}

void TfrIkony::LoadState(TRegistry& reg, QStringList& appletFiles)
{
    // The painter's own icon is compared first: the preview is off when it is set.
    LoadRows(reg, kPreviewOffRadio, this);
    LoadRows(reg, kPreviewOnRadio, this);
    LoadRows(reg, kInfoTipBox, this);
    LoadNamespaceBox(reg, kBinGuid, CheckBox4);
    LoadNamespaceBox(reg, kMyDocumentsGuid, CheckBox5);
    LoadRows(reg, kDesktopIconBoxes, this);
    LoadRows(reg, kDepthRadios, this);
    LoadRows(reg, kNoDesktopBox, this);
    Guarded([&] {
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        reg.CloseKey();
        reg.OpenKey(kBinClass, false);
        Edit1->setText(reg.ReadString(QString()));
    });
    reg.CloseKey();
    LoadRows(reg, kShortcutBox, this);
    LoadApplets(appletFiles);
}

// A name-space subkey with a name keeps its icon on the desktop; without one (or without the
// subkey) the box shows the icon removed.
void TfrIkony::LoadNamespaceBox(TRegistry& reg, const QString& subkey, QCheckBox* box)
{
    bool exists = false;
    bool removed = true;
    Guarded([&] {
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.CloseKey();
        exists = reg.OpenKey(kNamespace + u'\\' + subkey, false);
        removed = reg.ReadString(QString()).isEmpty();
    });
    reg.CloseKey();
    if (!removed) return;
    if (exists) {
        // The box's handler would delete the subkey and whatever it holds: reading must not.
        const QSignalBlocker quiet(box);
        box->setChecked(true);
        return;
    }
    Guarded([&] { Fill([&] { box->setChecked(true); }); });
}

void TfrIkony::LoadApplets(QStringList& appletFiles)
{
    appletFiles_ = &appletFiles;
    // Showing what control.ini says is no tick of the user's, and writes nothing.
    const QSignalBlocker quiet(ChckList);
    Guarded([&] {
        for (const QString& name : ListDirectory(GetSystemPath(u"sys"_s) + u"\\*.cpl"_s, faAnyFile))
            ChckList->addItem(name);
    });
    for (int i = 0; i < ChckList->count(); ++i) {
        QListWidgetItem* item = ChckList->item(i);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        appletFiles.append(item->text().toUpper());
        item->setText(AppletCaption(item->text()));
    }
    if (appletFiles.isEmpty()) return;
    TIniFile ini(GetSystemPath(u"win"_s) + u"\\control.ini"_s);
    for (int i = 0; i < ChckList->count(); ++i) {
        const bool hidden = ini.ReadString(kDontLoad, appletFiles[i], u"False"_s) == u"no"_s;
        ChckList->item(i)->setCheckState(hidden ? Qt::Checked : Qt::Unchecked);
    }
}

void TfrIkony::EditDescription(int icon)
{
    const std::optional<QString> text = Dialogs().InputText(
        this, u"Wprowadź tekst"_s, u"Wprowadź nowy tekst opisu pomocy"_s, QString());
    if (!text || text->isEmpty()) return;
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        reg.OpenKey(kIcons[icon].classKey, false);
        reg.WriteString(u"InfoTip"_s, *text);
    } catch (const std::exception&) {
        throw std::runtime_error(MissingClassKeyText(kIcons[icon].classKey).toStdString());
    }
}

void TfrIkony::RestoreDescription(int icon)
{
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        reg.OpenKey(kIcons[icon].classKey, false);
        reg.WriteString(u"InfoTip"_s, kIcons[icon].defaultText);
    } catch (const std::exception&) {
        throw std::runtime_error(MissingClassKeyText(kIcons[icon].classKey).toStdString());
    }
}

void TfrIkony::SpeedButton1Click() { EditDescription(0); }
void TfrIkony::SpeedButton2Click() { EditDescription(1); }
void TfrIkony::SpeedButton3Click() { EditDescription(2); }
void TfrIkony::SpeedButton4Click() { EditDescription(3); }
void TfrIkony::SpeedButton5Click() { EditDescription(4); }
void TfrIkony::SpeedButton6Click() { RestoreDescription(0); }
void TfrIkony::SpeedButton7Click() { RestoreDescription(1); }
void TfrIkony::SpeedButton8Click() { RestoreDescription(2); }
void TfrIkony::SpeedButton9Click() { RestoreDescription(3); }
void TfrIkony::SpeedButton10Click() { RestoreDescription(4); }

void TfrIkony::CheckBox1Click()
{
    Swallowed([&] {
        Write(kShowInfoTip, CheckBox1->isChecked());
        SetShowHints(CheckBox1->isChecked());
    });
}

void TfrIkony::CheckBox3Click()
{
    Swallowed([&] {
        Write(kIsShortcut, CheckBox3->isChecked());
        const QPixmap picture = Picture(CheckBox3->isChecked() ? u"\\Data\\Gfx\\Bmp\\Sob2.bmp"_s
                                                               : u"\\Data\\Gfx\\Bmp\\Sob1.bmp"_s);
        if (!picture.isNull()) IkonaSkrotu->setPixmap(picture);
    });
}

void TfrIkony::CheckBox4Click()
{
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(kNamespace, true);
        if (CheckBox4->isChecked()) {
            reg.DeleteKey(u'\\' + kNamespace + u'\\' + kBinGuid);
        } else {
            reg.CloseKey();
            reg.SetRootKey(HKEY_CLASSES_ROOT);
            reg.OpenKey(kBinClass, true);
            QString name = reg.ReadString(QString());
            reg.CloseKey();
            // An empty name would read as a removed icon at the next start.
            if (name.isEmpty()) name = u"Kosz"_s;
            reg.SetRootKey(HKEY_LOCAL_MACHINE);
            reg.OpenKey(kNamespace + u'\\' + kBinGuid, true);
            reg.WriteString(QString(), name);
        }
        reg.CloseKey();
    } catch (const std::exception&) {
        // Swallowed by design: the box shows the new state even when nothing was written.
    }
}

void TfrIkony::CheckBox5Click()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kNamespace, true);
    if (CheckBox5->isChecked()) {
        reg.DeleteKey(u'\\' + kNamespace + u'\\' + kMyDocumentsGuid);
    } else {
        reg.OpenKey(u'\\' + kNamespace + u'\\' + kMyDocumentsGuid, true);
        reg.WriteString(QString(), u"Moje dokumenty"_s);
    }
    reg.CloseKey();
}

void TfrIkony::Button1Click()
{
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        reg.OpenKey(kBinClass, false);
        reg.WriteString(QString(), Edit1->text());
    } catch (const std::exception&) {
        throw std::runtime_error(
            (u"Ikona kosza została najprawdopodobniej usunięta przez bardzo drastyczny "
             u"program.\n\r\n\rNie można otworzyć klucza: HKEY_CLASSES_ROOT\\"_s +
             kBinClass)
                .toStdString());
    }
}

void TfrIkony::Panel1Click() { PopupMenu1->popup(QCursor::pos()); }

// A suggestion goes into the name's field; the rename button applies it.
void TfrIkony::PopupMenu1ItemClick(QAction* item) { Edit1->setText(item->text()); }

void TfrIkony::ChckListClick()
{
    TIniFile ini(GetSystemPath(u"win"_s) + u"\\control.ini"_s);
    for (int i = 0; i < ChckList->count(); ++i)
        if (ChckList->item(i)->checkState() == Qt::Checked)
            ini.WriteString(kDontLoad, appletFiles_->at(i), u"no"_s);
}

void TfrIkony::ComboBox1Change()
{
    Label5->setText(ComboBox1->currentText());
    ShowQuestion(!OpenIkony.FileName.isEmpty() && DriveLetter(ComboBox1->currentText()));
}

void TfrIkony::SpeedButton12Click()
{
    if (OpenIkony.Execute(this)) Label7->setText(QFileInfo(OpenIkony.FileName).fileName());
    // A drive chosen is enough: the question may write an empty icon path.
    ShowQuestion(DriveLetter(ComboBox1->currentText()).has_value());
}

void TfrIkony::SpeedButton13Click()
{
    const std::optional<QChar> drive = DriveLetter(ComboBox1->currentText());
    if (!drive) {
        ShowQuestion(false);
        return;
    }
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(kDriveIcons + *drive, true);
        reg.WriteString(u"DefaultIcon"_s, OpenIkony.FileName.isEmpty()
                                              ? QString()
                                              : CurrentPlatform().SystemPathOf(OpenIkony.FileName));
    }
    SpeedButton14Click();
    ShowQuestion(false);
}

void TfrIkony::SpeedButton14Click()
{
    OpenIkony.FileName.clear();
    ComboBox1->setEditText(kNoDrive);
    Label5->setText(kNone);
    Label7->setText(kNone);
    ShowQuestion(false);
}

void TfrIkony::ShowQuestion(bool shown)
{
    Label8->setVisible(shown);
    SpeedButton13->setVisible(shown);
    SpeedButton14->setVisible(shown);
}
