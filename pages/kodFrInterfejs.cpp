#include "kodFrInterfejs.h"

#include "Bindings.h"
#include "Controls.h"
#include "Dialogs.h"
#include "Errors.h"
#include "Files.h"
#include "Guarded.h"
#include "Keys.h"
#include "ProgramDir.h"
#include "TRegistry.h"
#include "kodKreatorAnimTapeta.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUpdateKey = u"System\\CurrentControlSet\\Control\\Update"_s;
const QString kMenuStartKey = u"Software\\Tolmar\\Menu Start"_s;
const QString kControlPanelClass = u".{21EC2020-3AEA-1069-A2DD-08002B30309D}"_s;
const QString kProgramsWithoutSubmenu = u"Data\\Gfx\\Bmp\\menu\\bpp.bmp"_s;
const QString kProgramsWithSubmenu = u"Data\\Gfx\\Bmp\\menu\\soft.bmp"_s;

const RegFlag kNoStartMenuSubFolders = ExplorerPolicy(u"NoStartMenuSubFolders"_s);
const RegFlag kNoFavoritesMenu = ExplorerPolicy(u"NoFavoritesMenu"_s);
const RegFlag kNoRecentDocsMenu = ExplorerPolicy(u"NoRecentDocsMenu"_s);
const RegFlag kNoSetFolders = ExplorerPolicy(u"NoSetFolders"_s);
const RegFlag kNoFind = ExplorerPolicy(u"NoFind"_s);
const RegFlag kNoRun = ExplorerPolicy(u"NoRun"_s);
const RegFlag kNoLogOff = ExplorerPolicy(u"NoLogOff"_s);
const RegFlag kNoClose = ExplorerPolicy(u"NoClose"_s);
const RegFlag kNoSaveSettings = ExplorerPolicy(u"NoSaveSettings"_s);
const RegFlag kPaintDesktopVersion{
    .root = HKEY_CURRENT_USER, .key = kDesktopKey, .name = u"PaintDesktopVersion"_s};
const RegFlag kNoViewContextMenu = ExplorerPolicy(u"NoViewContextMenu"_s);
const RegFlag kNoSetTaskbar = ExplorerPolicy(u"NoSetTaskbar"_s);
// Blinking taskbar buttons: a Desktop key that does not exist is not created.
const RegFlag kForegroundLockTimeout{.root = HKEY_CURRENT_USER,
                                     .key = kDesktopKey,
                                     .name = u"ForegroundLockTimeout"_s,
                                     .checked = 200000,
                                     .create = false};
const RegFlag kAutorun{.root = HKEY_LOCAL_MACHINE,
                       .key = u"SYSTEM\\CurrentControlSet\\Services\\CDRom"_s,
                       .name = u"Autorun"_s};
const RegFlag kControlPanelRecord{
    .root = HKEY_CURRENT_USER, .key = kMenuStartKey, .name = u"Panel Sterowania"_s};
const RegText kBeep{.root = HKEY_CURRENT_USER,
                    .key = u"Control Panel\\Sound"_s,
                    .name = u"Beep"_s,
                    .checked = u"Yes"_s,
                    .unchecked = u"No"_s,
                    .rule = TextShown::Equal,
                    .match = u"Yes"_s};
const RegText kSnapToDefaultButton{.root = HKEY_CURRENT_USER,
                                   .key = u"Control Panel\\Mouse"_s,
                                   .name = u"SnapToDefaultButton"_s,
                                   .checked = u"1"_s,
                                   .unchecked = u"0"_s,
                                   .rule = TextShown::Boolean};

// The patterns of "UserPreferencemask" the two window-activation boxes write, whole.
constexpr std::uint8_t kNoActivation = 0x3E;
constexpr std::uint8_t kActivateOnPointing = 0x3F;
constexpr std::uint8_t kActivateAndRaise = 0x7F;

const QString kTrayCaption = u"UWAGA! Tylko dla polskiej wersji systemu Windows 98!"_s;
const QString kTrayQuestion =
    u"Ta opcja przeznaczona jest dla systemów operacyjnych Windows 98 jedynie w polskiej wersji "
    u"językowej! Skorzystanie z tej opcji w systemie innym niż Windows 98 PL może przynieść "
    u"nieprzewidziane skutki.\n\r\n\rCzy nadal chcesz usunąć ten błąd?"_s;

using Box = ControlRow<TFrInterfejs, QCheckBox>;
using P = TFrInterfejs;

const Box kCommands[] = {
    {&P::CheckBox1,
     "CheckBox1",
     {8, 15, 190, 17},
     u"Ukryj podfoldery Menu Start"_s,
     &P::CheckBox1Click,
     u"Gdy zaznaczone, w menu start nie bedzie rozwijana lista z zainstalowanymi programami!"_s},
    {&P::CheckBox2,
     "CheckBox2",
     {8, 31, 190, 17},
     u"Ukryj menu Ulubione"_s,
     Irregular(kNoFavoritesMenu, &P::CheckBox2Click),
     u"Gdy zaznaczone, menu Ulubione nie będzie wyświetlane w menu start."_s},
    {&P::CheckBox3,
     "CheckBox3",
     {8, 47, 190, 17},
     u"Ukryj menu Dokumenty"_s,
     Irregular(kNoRecentDocsMenu, &P::CheckBox3Click),
     u"Gdy zaznaczone, menu Dokumenty nie będzie wyświetlane w menu start."_s},
    {&P::CheckBox4,
     "CheckBox4",
     {8, 63, 190, 17},
     u"Ukryj menu Ustawienia"_s,
     Irregular(kNoSetFolders, &P::CheckBox4Click),
     u"Gdy zaznaczone, menu Ustawienia nie będzie wyświetlane w menu start."_s},
    {&P::CheckBox5,
     "CheckBox5",
     {206, 15, 190, 17},
     u"Ukryj menu Znajdź"_s,
     Irregular(kNoFind, &P::CheckBox5Click),
     u"Gdy zaznaczone, w menu start nie będzie wyświeltane menu Znajdź."_s},
    {&P::CheckBox6,
     "CheckBox6",
     {206, 31, 190, 17},
     u"Ukryj polecenie Uruchom"_s,
     Irregular(kNoRun, &P::CheckBox6Click),
     u"Gdy zaznaczone, w menu start nie będzie wyświetlane polecenie uruchom."_s},
    {&P::CheckBox7,
     "CheckBox7",
     {206, 47, 190, 17},
     u"Ukryj polecenie Wyloguj"_s,
     Irregular(kNoLogOff, &P::CheckBox7Click),
     u"Gdy zaznaczone, w menu start nie będzie wyświetlane polecenie wyloguj."_s},
    {&P::CheckBox8,
     "CheckBox8",
     {206, 63, 190, 17},
     u"Ukryj polecenie Zamknij"_s,
     Irregular(kNoClose, &P::CheckBox8Click),
     u"Gdy zaznaczone, w menu start nie będzie wyświetlane polecenie zamknij. Uwaga! Brak tego "
     u"polecenia uniemożliwi poprawne zamknięcie systemu."_s},
};

const Box kDesktopBoxes[] = {
    {&P::CheckBox12,
     "CheckBox12",
     {8, 15, 393, 17},
     u"Nie zapisuj ustawień wizualnych przy zamykaniu"_s,
     Bound{kNoSaveSettings},
     u"Gdy zaznaczysz to pole system Windows nie będzie zapamiętywał: położenia ikon na pulpicie, "
     u"otwartych okien i ich położenia na pulpicie, ustawienia i rozmiaru paska zadań."_s},
    {&P::CheckBox13,
     "CheckBox13",
     {8, 31, 393, 17},
     u"Wyświetlaj wersje systemu na pulpicie"_s,
     Bound{kPaintDesktopVersion},
     u"Gdy zaznaczone, na pulpicie będzie wyświetlany numer wersji systemu Windows."_s},
};
const Box kContextMenuBox[] = {
    {&P::CheckBox10,
     "CheckBox10",
     {8, 47, 393, 17},
     u"Wyłącz menu kontekstowe (niezalecane)"_s,
     Bound{kNoViewContextMenu, Errors::Quiet},
     u"Jeśli wyłączysz tą opcję spowoduje to znaczne utrudnienie pracy w systemie Windows "
     u"ponieważ menu podręczne (menu, które rozwija się po kliknięciu prawym przyciskiem myszy na "
     u"obiekt) jest powszechnie wykorzystywane w tym systemie."_s},
};
const Box kSystemBoxes[] = {
    {&P::CheckBox19,
     "CheckBox19",
     {8, 63, 393, 17},
     u"Automatycznie odświeżaj zawartość folderów"_s,
     &P::CheckBox19Click,
     u"Systemy z rodziny 9.x nie odświeżają zawartości folderów automatycznie. Możesz zmusić "
     u"system by automatycznie aktualizował widoki folderów."_s},
    {&P::CheckBox20,
     "CheckBox20",
     {8, 79, 393, 17},
     u"Sygnalizuj błędy dźwiękiem PC Speakera"_s,
     Bound{kBeep},
     u"Przy błędach (wyświetlany tabliczkach) użytkownik będzie słyszał sygnał z głośniczka "
     u"wewnątrz obudowy komputera tzw. PCSpeakera."_s},
    {&P::CheckBox21,
     "CheckBox21",
     {8, 95, 393, 17},
     u"Uruchom zawartość płytki po jej włożeniu"_s,
     Bound{kAutorun},
     u"Uruchamia w systemie tzw. Autorun. Po włożeniu płytki CD-ROM automatycznie uruchamiany "
     u"jest np. program instalacyjny jakiegoś programu."_s},
    {&P::CheckBox22,
     "CheckBox22",
     {8, 111, 393, 17},
     u"Aktywuj okna przez wskazanie kursorem myszy"_s,
     &P::CheckBox22Click,
     u"Możliwe jest aktywowanie okna jeydnie przez najechanie na nie kursorem myszy."_s},
    {&P::CheckBox23,
     "CheckBox23",
     {8, 127, 393, 17},
     u"\"Wyciągnij\" okna na pierwszy plan po"_s,
     &P::CheckBox23Click,
     u"Określa czy okno ma być wyciągnięte na pierwszy plan po wskazaniu kursorem myszy."_s},
};
const Box kSnapBox[] = {
    {&P::CheckBox25,
     "CheckBox25",
     {8, 159, 393, 17},
     u"Umieszczaj kursor nad domyślnym przyciskiem"_s,
     Bound{kSnapToDefaultButton},
     u"Gdy zaznaczone, kursor myszy jest umieszczany przy domyślnym przycisku w tabliczka "
     u"informacyjnych i innych oknach."_s},
};

const Box kTaskbarLockBox[] = {
    {&P::CheckBox9,
     "CheckBox9",
     {8, 15, 287, 17},
     u"Wyłącz dostęp do właściwości paska zadań"_s,
     Bound{kNoSetTaskbar, Errors::Quiet},
     u"Gdy zaznaczone, Właściwości Paska Zadań nie będą dostępne."_s},
};
const Box kBlinkingBox[] = {
    {&P::CheckBox11,
     "CheckBox11",
     {8, 31, 287, 17},
     u"Włącz miganie"_s,
     Bound{kForegroundLockTimeout},
     u"Sygnalizuj miganiem przycisków na pasku zadań gdy aplikacja wymaga ingerencji "
     u"użytkownika."_s},
};

void HelpOnMouseMove(QWidget* control, const QString& help)
{
    OnMouseMove(control, [help] { ShowHelpText(help); });
}

// A picture of the form: a missing file leaves the image empty, without a message.
void ShowPicture(QLabel* image, const QString& file)
{
    image->setPixmap(QPixmap(ProgramFile(file)));
}

// Lays up to four bytes of a binary value over the number from its low end; the bytes the
// value does not supply keep what the number held. A missing value leaves it as it was.
void ReadBinaryInto(TRegistry& reg, const QString& name, int& number)
{
    std::uint8_t bytes[4] = {};
    const int count = reg.ReadBinaryData(name, bytes, 4);
    auto value = static_cast<std::uint32_t>(number);
    for (int i = 0; i < count; ++i)
        value = (value & ~(0xFFu << (8 * i))) | (std::uint32_t(bytes[i]) << (8 * i));
    number = static_cast<int>(value);
}

void WritePreferenceMask(TRegistry& reg, std::uint8_t low)
{
    const std::uint8_t mask[4] = {low, 0, 0, 0};
    reg.WriteBinaryData(u"UserPreferencemask"_s, mask, 4);
}

} // namespace

const QString kBitBtn2Caption = u"Stwórz skrót do Panelu Sterowania\r w Menu Start"_s;

std::optional<int> MenuDelayShown(const QString& stored)
{
    bool number = false;
    const int delay = stored.toInt(&number);
    if (!number) return std::nullopt;
    return std::clamp(delay, 1, 10000);
}

bool IsFolderNameAllowed(const QString& name)
{
    static const QString kRefused = u"\\/:*?\"<>|"_s;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || kRefused.contains(c)) return false;
    if (!name.isEmpty() && name.count(u'.') == name.size()) return false;
    // With the class id after it the name must fit Windows' 255 characters, and the 255 bytes
    // the disk under the machine keeps a name in.
    constexpr qsizetype kLongestName = 255;
    if (name.size() + kControlPanelClass.size() > kLongestName ||
        name.toUtf8().size() + kControlPanelClass.size() > kLongestName)
        return false;
    // Whatever follows a device's name, Windows opens the device instead of a folder.
    static const QRegularExpression kDevice(u"^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9]) *(\\.|$)"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    return !kDevice.match(name).hasMatch();
}

TFrInterfejs::TFrInterfejs(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TFrInterfejs"_s);
    setMinimumSize(640, 449);

    // More than a page holds: the frame scrolls, as a frame whose controls reach past its
    // bottom does.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    auto* sheet = new QWidget;
    sheet->setFixedSize(623, 598);
    scroll->setWidget(sheet);

    BuildStartMenu(sheet);
    BuildPanel1(sheet);
    BuildGroupBox7(sheet);
    BuildGroupBox2(sheet);
    BuildGroupBox4(sheet);
    BuildGroupBox17(sheet);
    BuildGroupBox5(sheet);
    BuildGroupBox3(sheet);
}

void TFrInterfejs::BuildStartMenu(QWidget* sheet)
{
    struct Entry
    {
        QLabel* TFrInterfejs::*member;
        const char* name;
        int top;
        int height;
        QString picture;
    };
    // The entries keep their places: a hidden one leaves a gap in the picture.
    const Entry entries[] = {
        {&P::Image1, "Image1", 4, 33, u"Data\\Gfx\\Bmp\\menu\\panel.bmp"_s},
        {&P::Image2, "Image2", 37, 33, kProgramsWithSubmenu},
        {&P::Image3, "Image3", 70, 33, u"Data\\Gfx\\Bmp\\menu\\ulubione.bmp"_s},
        {&P::Image4, "Image4", 103, 33, u"Data\\Gfx\\Bmp\\menu\\dokumenty.bmp"_s},
        {&P::Image5, "Image5", 136, 33, u"Data\\Gfx\\Bmp\\menu\\ustawienia.bmp"_s},
        {&P::Image6, "Image6", 169, 33, u"Data\\Gfx\\Bmp\\menu\\znajdz.bmp"_s},
        {&P::Image7, "Image7", 202, 33, u"Data\\Gfx\\Bmp\\menu\\uruchom.bmp"_s},
        {&P::Image8, "Image8", 235, 33, u"Data\\Gfx\\Bmp\\menu\\wyloguj.bmp"_s},
        {&P::Image9, "Image9", 268, 37, u"Data\\Gfx\\Bmp\\menu\\zamknij.bmp"_s},
    };
    for (const Entry& entry : entries) {
        QLabel* image = Named<QLabel>(sheet, entry.name, {4, entry.top, 201, entry.height});
        ShowPicture(image, entry.picture);
        this->*entry.member = image;
    }
    Image1->hide();
}

void TFrInterfejs::BuildPanel1(QWidget* sheet)
{
    Panel1 = Named<QFrame>(sheet, "Panel1", {210, 4, 409, 136});
    GroupBox1 = NewGroupBox(Panel1, "GroupBox1", u"Polecenia"_s, {0, 0, 409, 87});
    Build(this, GroupBox1, kCommands);
    Label1 = NewText(Panel1, "Label1",
                     u"UWAGA! Po zaznaczeniu jednej z opcji dostęp do niej będzie zablokowany "
                     u"więc i poruszanie się po systemie będzie utrudnione. Zalecane jest by te "
                     u"ustawienia były zmieniane przez zaawansowanych użytkowników."_s,
                     {2, 90, 405, 44});
}

void TFrInterfejs::BuildGroupBox7(QWidget* sheet)
{
    GroupBox7 = NewGroupBox(sheet, "GroupBox7", u"Ogólne"_s, {210, 144, 409, 182});
    Build(this, GroupBox7, kDesktopBoxes);
    Build(this, GroupBox7, kContextMenuBox);
    Build(this, GroupBox7, kSystemBoxes);
    Build(this, GroupBox7, kSnapBox);
    Label11 = NewLabel(GroupBox7, "Label11", u"wskazaniu kursorem myszy"_s, {26, 143, 200, 14});
    CheckBox23->setEnabled(false);
    Label11->setEnabled(false);
}

void TFrInterfejs::BuildGroupBox2(QWidget* sheet)
{
    GroupBox2 = NewGroupBox(sheet, "GroupBox2", u"Pasek zadań"_s, {4, 330, 303, 55});
    Build(this, GroupBox2, kTaskbarLockBox);
    Build(this, GroupBox2, kBlinkingBox);
}

void TFrInterfejs::BuildGroupBox4(QWidget* sheet)
{
    GroupBox4 = NewGroupBox(sheet, "GroupBox4", u"Opóźnienie rozwijania menu"_s, {4, 389, 303, 64});
    Label6 = NewLabel(GroupBox4, "Label6", u"Kolejne pod-menu mają się rozwijać w tempie:"_s,
                      {8, 15, 287, 14});
    CzasMenu = Named<QSpinBox>(GroupBox4, "CzasMenu", {8, 34, 60, 21});
    CzasMenu->setRange(1, 10000);
    CzasMenu->setSingleStep(1);
    CzasMenu->setValue(1);
    Label10 = NewLabel(GroupBox4, "Label10", u"milisekund od siebie."_s, {72, 38, 130, 14});
    Button2 = Named<QPushButton>(GroupBox4, "Button2", {220, 33, 75, 23});
    Button2->setText(u"Zastosuj"_s);
    OnChange(Button2, Handler(this, &TFrInterfejs::Button2Click));

    HelpOnMouseMove(Label10,
                    u"System opóźnia rozwijanie się kolejnych pod-menu. Domyślnie wartość ta "
                    u"ustawiona jest na około pół sekundy. Aby zmniejszyć ten czas, podaj "
                    u"odpowiednią wartość w polu poniżej."_s);
    // The field's own editor takes the mouse over the digits, the spin box only over its arrows.
    for (QWidget* part : {static_cast<QWidget*>(CzasMenu),
                          static_cast<QWidget*>(CzasMenu->findChild<QLineEdit*>())})
        HelpOnMouseMove(part, u"Tutaj wprowadź czas po którym ma się rozwinąć menu."_s);
    HelpOnMouseMove(Button2, u"Aby zatwierdzić wprowadzony czas opóźnienia rozwijania menu, "
                             u"kliknij przycisk \"Zastosuj\"."_s);
}

void TFrInterfejs::BuildGroupBox17(QWidget* sheet)
{
    GroupBox17 = NewGroupBox(sheet, "GroupBox17", u"Animowana tapeta"_s, {4, 457, 303, 101});
    Label13 = NewText(GroupBox17, "Label13",
                      u"Program Tolmar w obecnej wersji umożliwia użytkownikowi zastosowanie "
                      u"animowanego tła pulpitu. Aby stworzyć taką tapetę, kliknij poniższy "
                      u"przycisk. Kreator Animowanej Tapety przeprowadzi Cię przez wszystkie "
                      u"kroki."_s,
                      {8, 15, 287, 54});
    SpeedButton2 = Named<QPushButton>(GroupBox17, "SpeedButton2", {8, 72, 120, 23});
    SpeedButton2->setText(u"Uruchom kreatora"_s);
    SpeedButton2->setFlat(true);
    OnChange(SpeedButton2, Handler(this, &TFrInterfejs::SpeedButton2Click));
}

void TFrInterfejs::BuildGroupBox5(QWidget* sheet)
{
    GroupBox5 =
        NewGroupBox(sheet, "GroupBox5", u"Panel Sterowania w Menu Start"_s, {311, 330, 308, 146});
    Label3 = NewLabel(GroupBox5, "Label3", u"Poniżej wpisz nazwę:"_s, {8, 19, 120, 14});
    nazwa = Named<QLineEdit>(GroupBox5, "nazwa", {130, 15, 170, 21});
    Label4 = NewText(GroupBox5, "Label4",
                     u"Nazwa może być dowolna. Po jej wpisaniu kliknij przycisk 'Stwórz skrót do "
                     u"Panelu Sterowania w Menu Start'."_s,
                     {8, 40, 292, 28});
    Label5 =
        NewLabel(GroupBox5, "Label5", u"Następnie kliknij poniższy przycisk:"_s, {8, 70, 292, 14});
    BitBtn2 = Named<QToolButton>(GroupBox5, "BitBtn2", {8, 88, 220, 52});
    BitBtn2->setText(u"Stwórz skrót do Panelu Sterowania w Menu Start"_s);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
    BitBtn2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QObject::connect(BitBtn2, &QToolButton::clicked, BitBtn2,
                     Handler(this, &TFrInterfejs::BitBtn2Click));

    HelpOnMouseMove(nazwa, u"W to pole wpisz nazwę dla menu Panelu Sterowania, które zostanie "
                           u"utworzone w menu start. I kliknij poniższy przycisk \"Stwórz skrót "
                           u"do Panelu Sterowania w Menu Start\"."_s);
    HelpOnMouseMove(BitBtn2, u"Kliknij, aby utworzyć nowe, bardzo przydatne menu \"Panel "
                             u"Sterowania\" w Menu Start."_s);
}

void TFrInterfejs::BuildGroupBox3(QWidget* sheet)
{
    GroupBox3 = NewGroupBox(sheet, "GroupBox3", u"Błąd w polskiej wersji Windows 98"_s,
                            {311, 480, 308, 114});
    Label2 = NewText(GroupBox3, "Label2",
                     u"Ta opcja usuwa błąd w polskiej wersji systemu Windows 98 dotyczący "
                     u"podwójnego ładowania się zasobnika systemowego w wyniku czego ikonki na "
                     u"pasku zadań podwajają się. Aby usunąć ten błąd kliknij poniższy przycisk."_s,
                     {8, 15, 292, 68});
    BitBtn1 = Named<QPushButton>(GroupBox3, "BitBtn1", {8, 85, 100, 24});
    BitBtn1->setText(u"Usuń błąd"_s);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    OnChange(BitBtn1, Handler(this, &TFrInterfejs::BitBtn1Click));
}

void TFrInterfejs::LoadState(TRegistry& reg)
{
    Guarded([&] {
        OpenForReading(reg, kNoStartMenuSubFolders.root, kNoStartMenuSubFolders.key);
        const bool on = Shows(kNoStartMenuSubFolders, reg.ReadInteger(kNoStartMenuSubFolders.name));
        Fill([&] { CheckBox1->setChecked(on); });
        ShowProgramsEntry();
    });
    reg.CloseKey();
    // A checked box's handler hides its entry; an unchecked one leaves it shown, as made.
    LoadRows(reg, kCommands, this);
    LoadRows(reg, kDesktopBoxes, this);

    // Read by the folder refresh and again by the window activation: the second value lays
    // its bytes over what the first left.
    int number = 0;
    Guarded([&] {
        OpenForReading(reg, HKEY_LOCAL_MACHINE, kUpdateKey);
        ReadBinaryInto(reg, u"UpdateMode"_s, number);
        if (number == 0) Fill([&] { CheckBox19->setChecked(true); });
        if (number == 1) Fill([&] { CheckBox19->setChecked(false); });
    });
    reg.CloseKey();

    LoadRows(reg, kTaskbarLockBox, this);
    LoadRows(reg, kContextMenuBox, this);
    // Its line break is a carriage return, which the button draws as a line feed.
    BitBtn2->setText(QString(kBitBtn2Caption).replace(u'\r', u'\n'));

    Guarded([&] {
        OpenForReading(reg, HKEY_LOCAL_MACHINE, kRunKey);
        BitBtn1->setEnabled(reg.ValueExists(u"SystemTray"_s));
    });
    reg.CloseKey();

    Guarded([&] {
        OpenForReading(reg, kControlPanelRecord.root, kControlPanelRecord.key);
        Image1->setVisible(Shows(kControlPanelRecord, reg.ReadInteger(kControlPanelRecord.name)));
    });
    reg.CloseKey();

    Guarded([&] {
        OpenForReading(reg, HKEY_CURRENT_USER, kDesktopKey);
        if (const std::optional<int> delay = MenuDelayShown(reg.ReadString(u"MenuShowDelay"_s)))
            CzasMenu->setValue(*delay);
    });
    reg.CloseKey();

    LoadRows(reg, kBlinkingBox, this);
    LoadRows(reg, kSystemBoxes, this);

    Guarded([&] {
        OpenForReading(reg, HKEY_CURRENT_USER, kDesktopKey);
        ReadBinaryInto(reg, u"UserPreferencemask"_s, number);
        if (number == kNoActivation) Fill([&] { CheckBox22->setChecked(false); });
        if (number == kActivateOnPointing || number == kActivateAndRaise)
            Fill([&] { CheckBox22->setChecked(true); });
        if (number == kActivateAndRaise) Fill([&] { CheckBox23->setChecked(true); });
    });
    reg.CloseKey();

    LoadRows(reg, kSnapBox, this);
}

void TFrInterfejs::ShowProgramsEntry()
{
    const QString file =
        ProgramFile(CheckBox1->isChecked() ? kProgramsWithoutSubmenu : kProgramsWithSubmenu);
    QPixmap picture;
    if (!picture.load(file)) throw SystemError(u"Cannot open file %1"_s.arg(file));
    Image2->setPixmap(picture);
}

void TFrInterfejs::CheckBox1Click()
{
    Write(kNoStartMenuSubFolders, CheckBox1->isChecked());
    ShowProgramsEntry();
}

void TFrInterfejs::CheckBox2Click()
{
    Write(kNoFavoritesMenu, CheckBox2->isChecked());
    Image3->setHidden(CheckBox2->isChecked());
}

void TFrInterfejs::CheckBox3Click()
{
    Write(kNoRecentDocsMenu, CheckBox3->isChecked());
    Image4->setHidden(CheckBox3->isChecked());
}

void TFrInterfejs::CheckBox4Click()
{
    Write(kNoSetFolders, CheckBox4->isChecked());
    Image5->setHidden(CheckBox4->isChecked());
}

void TFrInterfejs::CheckBox5Click()
{
    Write(kNoFind, CheckBox5->isChecked());
    Image6->setHidden(CheckBox5->isChecked());
}

void TFrInterfejs::CheckBox6Click()
{
    Write(kNoRun, CheckBox6->isChecked());
    Image7->setHidden(CheckBox6->isChecked());
}

void TFrInterfejs::CheckBox7Click()
{
    Write(kNoLogOff, CheckBox7->isChecked());
    Image8->setHidden(CheckBox7->isChecked());
}

void TFrInterfejs::CheckBox8Click()
{
    Write(kNoClose, CheckBox8->isChecked());
    Image9->setHidden(CheckBox8->isChecked());
}

void TFrInterfejs::CheckBox19Click()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kUpdateKey, true);
    // Inverted: the byte 00 is what makes folders refresh themselves.
    const std::uint8_t mode = CheckBox19->isChecked() ? 0 : 1;
    reg.WriteBinaryData(u"UpdateMode"_s, &mode, 1);
}

void TFrInterfejs::CheckBox22Click()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.OpenKey(kDesktopKey, true);
    if (CheckBox22->isChecked()) {
        CheckBox23->setEnabled(true);
        Label11->setEnabled(true);
        WritePreferenceMask(reg, kActivateOnPointing);
    } else {
        // Unchecking the dependent box runs its handler, which writes its own pattern first.
        CheckBox23->setChecked(false);
        CheckBox23->setEnabled(false);
        Label11->setEnabled(false);
        WritePreferenceMask(reg, kNoActivation);
    }
}

void TFrInterfejs::CheckBox23Click()
{
    Swallowed([&] {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.OpenKey(kDesktopKey, true);
        WritePreferenceMask(reg, CheckBox23->isChecked() ? kActivateAndRaise : kActivateOnPointing);
    });
}

void TFrInterfejs::Button2Click()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.OpenKey(kDesktopKey, true);
    reg.WriteString(u"MenuShowDelay"_s, QString::number(CzasMenu->value()));
}

void TFrInterfejs::BitBtn1Click()
{
    if (Dialogs().Message(this, kTrayCaption, kTrayQuestion, MessageIcon::Warning,
                          MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        // A value already gone is no error; a key that cannot be opened or a value that stays
        // is, so the button is not disabled over a repair that did not happen.
        if (!reg.OpenKey(kRunKey, true))
            throw SystemError(u"Failed to open key '%1'"_s.arg(kRunKey));
        reg.DeleteValue(u"SystemTray"_s);
        if (reg.ValueExists(u"SystemTray"_s))
            throw SystemError(u"Failed to delete value 'SystemTray'"_s);
        BitBtn1->setEnabled(false);
    } catch (const std::exception&) {
        Dialogs().Message(this, u"Usuwanie błędu"_s,
                          u"Nie można usunąć błędu, który już usunięto ;)"_s,
                          MessageIcon::Information, MessageButtons::Ok);
    }
}

void TFrInterfejs::BitBtn2Click()
{
    const QString name = nazwa->text();
    // The name becomes part of a path: a separator would lead out of "Menu Start" and a
    // character the file system refuses would fail without a word.
    if (!IsFolderNameAllowed(name)) {
        Dialogs().Message(this, u"Panel Sterowania w Menu Start"_s,
                          u"Nazwa nie może zawierać znaków \\ / : * ? \" < > | ani składać się z "
                          u"samych kropek."_s,
                          MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const QString folder =
        GetSystemPath(u"win"_s) + u"\\Menu Start\\"_s + name + kControlPanelClass;
    // A folder made before is as good as a new one.
    CreateDir(folder);
    if (!DirectoryExists(folder)) return;
    Swallowed([] {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.OpenKey(kMenuStartKey, true);
        reg.WriteInteger(u"Panel Sterowania"_s, 1);
    });
    Image1->show();
}

void TFrInterfejs::SpeedButton2Click()
{
    TfmKreatorAnimTapeta wizard(window());
    wizard.exec();
}
