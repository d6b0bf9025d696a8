#include "kodFrWindows.h"

#include "Bindings.h"
#include "Colours.h"
#include "Controls.h"
#include "Cp1250.h"
#include "Dialogs.h"
#include "Files.h"
#include "Guarded.h"
#include "Keys.h"
#include "TRegistry.h"
#include "kodProgramy.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTextCursor>
#include <algorithm>
#include <memory>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kRunServicesKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"_s;
const QString kWinlogonKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Winlogon"_s;
const QString kDisplaySettingsKey = u"Display\\Settings"_s;
const QString kBlinkRate = u"CursorBlinkRate"_s;

const RegText kSchedulingAgent{.root = HKEY_LOCAL_MACHINE,
                               .key = kRunServicesKey,
                               .name = u"SchedulingAgent"_s,
                               .checked = std::nullopt,
                               .unchecked = u"mstask.exe"_s,
                               .rule = TextShown::Missing};
const RegText kNoCursorBlink{.root = HKEY_CURRENT_USER,
                             .key = kDesktopKey,
                             .name = kBlinkRate,
                             .checked = u"-1"_s,
                             .unchecked = u"200"_s,
                             .rule = TextShown::Equal,
                             .match = u"-1"_s};
const RegText kEditRegFiles{.root = HKEY_CLASSES_ROOT,
                            .key = u"regfile\\shell"_s,
                            .name = QString(),
                            .checked = u"edit"_s,
                            .unchecked = u""_s,
                            .rule = TextShown::Equal,
                            .match = u"edit"_s};
const IniFlag kConservativeSwapfile{.file = {u"win"_s, u"\\System.ini"_s},
                                    .section = u"386Enh"_s,
                                    .key = u"ConservativeSwapfileUsage"_s,
                                    .byDefault = true};

RegFlag SystemPolicy(const QString& name)
{
    return {.root = HKEY_CURRENT_USER, .key = kSystemPolicies, .name = name};
}

const RegFlag kNoDispCPL = SystemPolicy(u"NoDispCPL"_s);
const RegFlag kNoDispBackgroundPage = SystemPolicy(u"NoDispBackgroundPage"_s);
const RegFlag kNoDispScrSavPage = SystemPolicy(u"NoDispScrSavPage"_s);
const RegFlag kNoDispAppearancePage = SystemPolicy(u"NoDispAppearancePage"_s);
const RegFlag kNoDispSettingsPage = SystemPolicy(u"NoDispSettingsPage"_s);
const RegFlag kNoSecCPL = SystemPolicy(u"NoSecCPL"_s);
const RegFlag kNoPwdPage = SystemPolicy(u"NoPwdPage"_s);
const RegFlag kNoAdminPage = SystemPolicy(u"NoAdminPage"_s);
const RegFlag kNoProfilePage = SystemPolicy(u"NoProfilePage"_s);
const RegFlag kNoDevMgrPage = SystemPolicy(u"NoDevMgrPage"_s);
const RegFlag kNoConfigPage = SystemPolicy(u"NoConfigPage"_s);
const RegFlag kNoFileSysPage = SystemPolicy(u"NoFileSysPage"_s);
const RegFlag kNoVirtMemPage = SystemPolicy(u"NoVirtMemPage"_s);
const RegFlag kDisableRegistryTools = SystemPolicy(u"DisableRegistryTools"_s);
const RegFlag kNoPrinterTabs = ExplorerPolicy(u"NoPrinterTabs"_s);
const RegFlag kNoDeletePrinter = ExplorerPolicy(u"NoDeletePrinter"_s);
const RegFlag kNoAddPrinter = ExplorerPolicy(u"NoAddPrinter"_s);

const QString kSchedulerError =
    u"Nie można zmienić wartości!\n\rPrawdopodobnie klucz nie istnieje. Możliwe, że klucz "
    u"został usunięty. Zaleca się przywrócenie rejestru do poprzedniego stanu, gdyż brak klucza "
    u"systemowego może spowodować nieprawidłową pracę systemu i aplikacji w nim "
    u"zainstalowanych!\n\r\n\rA może zupełnie przypadkowo odpaliłeś Tolmara w innym systemie niż "
    u"98 lub 98SE, hmm?"_s;
const QString kFreeMemError = u"Wystąpił błąd podczas operacji oczyszczania pamięci. Tolmar "
                              u"będzie pracował stabilnie i nie musisz go restartować."_s;
const QString kFreeMemQuestion =
    u"W związku z tym, że systemu Windows nie radzą sobie ze automatycznym zwalnianiem pamięci, "
    u"program Tolmar stworzy skrypt automatyzujący wykonywanie tej operacji. Będzie on dostępny "
    u"na dysku C: pod nazwą FreeMem.vbs\n\r\n\rCzy stworzyć skrypt umożliwiający szybkie "
    u"oczyszczanie wybranej ilości pamięci?"_s;
const QString kSwapfileHelp =
    u"Gdy powstawał Windows98 ilość RAMu w komputerze rzadko przekraczała 32MB. System "
    u"zaprojektowano więc tak by aktywnie korzystał z pamięci wirtualnej. Jeśli masz więcej niż "
    u"128 MB pamięci RAM włącz tę opcję."_s;

using Box = ControlRow<TfrWindows, QCheckBox>;
using Button = ControlRow<TfrWindows, QPushButton>;

const Box kSchedulerBox[] = {
    {&TfrWindows::CheckBox19,
     "CheckBox19",
     {8, 14, 258, 17},
     u"Wyłącz harmonogram zadań"_s,
     Irregular(kSchedulingAgent, &TfrWindows::CheckBox19Click),
     u"Dezaktywuje Harmonogram zadań Windows (Zaplanowane zadania). Ikonka harmonogramu nie "
     u"będzie pokazywana na pasku zadań."_s},
};
const Box kCursorBox[] = {
    {&TfrWindows::CheckBox18,
     "CheckBox18",
     {8, 96, 274, 17},
     u"Wyłącz migotanie kursora"_s,
     Bound{kNoCursorBlink}},
};
const Button kMessageButtons[] = {
    {&TfrWindows::Button2,
     "Button2",
     {8, 218, 65, 25},
     u"Generuj"_s,
     &TfrWindows::Button2Click,
     u"Generuje komunikat, który ma się wyświetlić przy starcie systemu."_s},
    {&TfrWindows::Button3,
     "Button3",
     {77, 218, 65, 25},
     u"Zapisz"_s,
     &TfrWindows::Button3Click,
     u"Kliknij, aby stworzyć komunikat startowy."_s},
    {&TfrWindows::Button4,
     "Button4",
     {146, 218, 65, 25},
     u"Wyczyść"_s,
     &TfrWindows::Button4Click,
     u"Czyści oba powyższe pola tekstowe."_s},
    {&TfrWindows::Button6,
     "Button6",
     {215, 218, 67, 25},
     u"Usuń"_s,
     &TfrWindows::Button6Click,
     u"Usuwa komunikat startowy."_s},
};
const Box kSwapfileBox[] = {
    {&TfrWindows::CheckBox20,
     "CheckBox20",
     {8, 20, 281, 17},
     u"Rozpocznij korzystanie z pamięci wirtualnej"_s,
     Bound{kConservativeSwapfile},
     kSwapfileHelp},
};
const Box kPasswordsBox[] = {
    {&TfrWindows::CheckBox7,
     "CheckBox7",
     {16, 16, 150, 17},
     u"Wyłącz dostęp do Haseł"_s,
     Irregular(kNoSecCPL, &TfrWindows::CheckBox7Click),
     u"Wyłącza dostęp do apletu Hasła."_s},
};
const Box kPasswordsBoxes[] = {
    {&TfrWindows::CheckBox8,
     "CheckBox8",
     {10, 14, 263, 17},
     u"Ukryj zakładkę Zmień hasło"_s,
     Bound{kNoPwdPage},
     u"Ukrywa zakładkę \"Zmień hasło\" w aplecie Hasła"_s},
    {&TfrWindows::CheckBox9,
     "CheckBox9",
     {10, 34, 263, 17},
     u"Ukryj zakładkę Zdalne administrowanie"_s,
     Bound{kNoAdminPage},
     u"Ukrywa zakładkę \"Zdalne aministrowanie\" w aplecie Hasła"_s},
};
const Box kRegistryToolsBox[] = {
    {&TfrWindows::CheckBox14,
     "CheckBox14",
     {8, 16, 281, 17},
     u"Wyłącz dostęp do Edytora Rejestru (niezalecane)"_s,
     Bound{kDisableRegistryTools},
     u"Jeśli wyłączysz dostęp do rejestru systemowego programy takie jak Tolmar wciąż będą mogły "
     u"z niego korzystać, jednak użytkownik już nie."_s},
};
const Box kRegFileBox[] = {
    {&TfrWindows::CheckBox24,
     "CheckBox24",
     {8, 36, 281, 17},
     u"Otwieraj pliki .reg do edycji"_s,
     Bound{kEditRegFiles},
     u"Normalnie, gdy otwierasz plik reg jego zawartość importowana jest do rejestru. Może być "
     u"on otwierany także do edycji."_s},
};
const Box kSystemBoxes[] = {
    {&TfrWindows::CheckBox10,
     "CheckBox10",
     {8, 16, 281, 17},
     u"Wyłącz dostęp do Menadżera urządzeń"_s,
     Bound{kNoDevMgrPage},
     u"Wyłącza dostęp do \"Menadżera urządzeń\" w aplecie \"Właściwości: System\""_s},
    {&TfrWindows::CheckBox11,
     "CheckBox11",
     {8, 36, 281, 17},
     u"Wyłącz dostęp do Profili sprzętu"_s,
     Bound{kNoConfigPage},
     u"Wyłącza dostęp do \"Profile sprzętu\" w aplecie \"Właściwości: System\""_s},
    {&TfrWindows::CheckBox12,
     "CheckBox12",
     {8, 56, 281, 17},
     u"Wyłącz dostęp do właściwości Systemu plików"_s,
     Bound{kNoFileSysPage},
     u"Wyłącza dostęp do \"Właściwości systemu plików\" w aplecie \"Właściwości: System\""_s},
    {&TfrWindows::CheckBox13,
     "CheckBox13",
     {8, 76, 281, 17},
     u"Wyłącz dostęp do właściwości Pamięci wirtualnej"_s,
     Bound{kNoVirtMemPage},
     u"Wyłącza dostęp do \"Właściwości pamięci wirtualnej\" w aplecie \"Właściwości: System\""_s},
};
const Box kPrinterBoxes[] = {
    {&TfrWindows::CheckBox15,
     "CheckBox15",
     {8, 16, 281, 17},
     u"Ukryj zakładki Ogólne i Szczegóły we"_s,
     Bound{kNoPrinterTabs},
     u"Ukrywa zakładki \"Ogólne\" i \"Szczegóły\" we Właściwościach drukarki."_s},
    {&TfrWindows::CheckBox16,
     "CheckBox16",
     {8, 50, 281, 17},
     u"Brak możliwości usuwania drukarek"_s,
     Bound{kNoDeletePrinter},
     u"Jeśli zaznaczone użytkownik nie będzie miał możliwości usuwania zainstalowanych "
     u"drukarek."_s},
    {&TfrWindows::CheckBox17,
     "CheckBox17",
     {8, 70, 281, 17},
     u"Brak możliwości dodawania drukarek"_s,
     Bound{kNoAddPrinter},
     u"Jeśli zaznaczone użytkownik nie będzie miał możliwości dodawania nowych drukarek."_s},
};
const Box kDisplayBox[] = {
    {&TfrWindows::CheckBox5,
     "CheckBox5",
     {16, 374, 200, 17},
     u"Wyłącz dostęp do Właściwości ekranu"_s,
     Irregular(kNoDispCPL, &TfrWindows::CheckBox5Click),
     u"Gdy zanaczone, użytkownik nie będzie miał wglądu do apletu \"Właściwości: Ekran\" w "
     u"panelu sterowania."_s},
};
const Box kDisplayBoxes[] = {
    {&TfrWindows::CheckBox1,
     "CheckBox1",
     {10, 14, 279, 17},
     u"Ukryj zakładkę Tło"_s,
     Bound{kNoDispBackgroundPage},
     u"Ukrywa zakładkę \"Tło\" we \"Właściwościach: Ekran\" panelu sterowania."_s},
    {&TfrWindows::CheckBox2,
     "CheckBox2",
     {10, 34, 279, 17},
     u"Ukryj zakładkę Wygaszacz ekranu"_s,
     Bound{kNoDispScrSavPage},
     u"Ukrywa zakładkę \"Wygaszacz ekranu\" we \"Właściwościach: Ekran\" panelu sterowania."_s},
    {&TfrWindows::CheckBox4,
     "CheckBox4",
     {10, 54, 279, 17},
     u"Ukryj zakładkę Wygląd"_s,
     Bound{kNoDispAppearancePage},
     u"Ukrywa zakładkę \"Wygląd\" we \"Właściwościach: Ekran\" panelu sterowania."_s},
    {&TfrWindows::CheckBox3,
     "CheckBox3",
     {10, 74, 279, 17},
     u"Ukryj zakładki Ustawienia, Sieć Web i Efekty"_s,
     Bound{kNoDispSettingsPage},
     u"Ukrywa zakładki \"Ustawienia\", \"Sieć Web\" i \"Efekty\" we \"Właściwościach: Ekran\" "
     u"panelu sterowania."_s},
};
const Box kProfileBoxes[] = {
    {&TfrWindows::CheckBox6,
     "CheckBox6",
     {8, 16, 281, 17},
     u"Wyłącz dostęp do Profili użytkownika"_s,
     Bound{kNoProfilePage},
     u"Ta opcja wyłącza dostęp do Profili użytkownika w panelu sterowania oraz zakładki Profile "
     u"użytkownika w arkuszu Hasła."_s},
};

// The field inside a spin box: it may show a stored text outside the box's range ("-1"),
// which the spin box itself would neither take nor report.
QLineEdit* FieldOf(QSpinBox* spin) { return spin->findChild<QLineEdit*>(); }

// A memo has no length limit of its own: what goes beyond it is cut off where it came in. The
// limit counts the text as it is stored, where a line break is a carriage return and a line feed.
void LimitLength(QPlainTextEdit* memo, int limit)
{
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, limit] {
        const QString text = memo->toPlainText();
        const int excess = StoredLength(text) - limit;
        if (excess <= 0) return;
        QTextCursor cursor = memo->textCursor();
        const int end = cursor.position();
        int start = end;
        for (int cut = 0; cut < excess && start > 0; --start)
            cut += text[start - 1] == u'\n' ? 2 : 1;
        cursor.setPosition(start, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    });
}

const QColor kGreen(0, 128, 0);
const QColor kAmber(243, 179, 7);
const QColor kRed(255, 0, 0);

} // namespace

int StoredLength(const QString& memoText) { return int(memoText.size() + memoText.count(u'\n')); }

QColor MemoryColour(int megabytes, int totalMegabytes)
{
    if (megabytes <= totalMegabytes / 2) return kGreen;
    if (megabytes <= totalMegabytes - totalMegabytes / 3) return kAmber;
    return kRed;
}

QByteArray FreeMemScript(int megabytes)
{
    constexpr qint64 kLongestSpace = 2147483647;
    const qint64 bytes = std::min(qint64(megabytes) * 1048576, kLongestSpace);
    return ToCp1250(u"FreeMem = Space("_s + QString::number(bytes) + u")\r\n"_s);
}

bool IsDisplayNumber(const QString& text)
{
    if (text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    bool ok = false;
    return text.toInt(&ok) > 0 && ok;
}

bool ResolutionNeedsConfirming(int width, int height) { return width + height > 1024 + 768; }

TfrWindows::TfrWindows(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TfrWindows"_s);
    setMinimumSize(625, 976);
    BuildAutostart();
    BuildProgramsAndCursor();
    BuildMessage();
    BuildDisplay();
    BuildMemory();
    BuildAccess();
}

void TfrWindows::BuildAutostart()
{
    GroupBox5 = NewGroupBox(this, "GroupBox5", u"Autostart"_s, {8, 8, 290, 256});
    Label6 = NewLabel(GroupBox5, "Label6",
                      u"Poniżej znajdują się programy ładujące się podczas startu systemu:"_s,
                      {8, 16, 274, 28});
    Label6->setWordWrap(true);
    Lista = Named<QListWidget>(GroupBox5, "Lista", {8, 46, 274, 132});
    OnMouseMove(Lista, [] {
        ShowHelpText(u"Wyświetla (ukryte) elementy autostartu. M.in. to tam ukrywają się "
                     u"złośliwe dialery, konie trojańskie i inne robactwa ;)"_s);
    });
    BitBtn3 = Named<QPushButton>(GroupBox5, "BitBtn3", {8, 184, 274, 25});
    BitBtn3->setText(u"Usuń element Autostartu"_s);
    BitBtn3->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    OnChange(BitBtn3, Handler(this, &TfrWindows::BitBtn3Click));
    OnMouseMove(BitBtn3, [] {
        ShowHelpText(u"Kliknij ten przycisk aby usunąć zaznaczony element autstartu."_s);
    });
    GroupBox14 = NewGroupBox(GroupBox5, "GroupBox14", u"Harmonogram zadań"_s, {8, 214, 274, 36});
    Build(this, GroupBox14, kSchedulerBox);
}

void TfrWindows::BuildProgramsAndCursor()
{
    GroupBox7 = NewGroupBox(this, "GroupBox7", u"Zainstalowane programy"_s, {8, 272, 290, 104});
    Label8 = NewLabel(GroupBox7, "Label8",
                      u"Kliknij na poniższy przycisk aby otworzyć okno pozwalające na "
                      u"usunięcie/edycję np. błędnych pozycji na liście Dodaj/Usuń programy w "
                      u"Panelu Sterowania."_s,
                      {8, 16, 274, 52});
    Label8->setWordWrap(true);
    Button1 = Named<QPushButton>(GroupBox7, "Button1", {8, 72, 274, 25});
    Button1->setText(u"Lista zainstalowanych programów"_s);
    OnChange(Button1, Handler(this, &TfrWindows::Button1Click));

    GroupBox13 = NewGroupBox(this, "GroupBox13", u"Migotanie kursora"_s, {8, 384, 290, 124});
    Label15 = NewLabel(GroupBox13, "Label15",
                       u"Im większa wartość tym mniejsza częstotliwość migania kursora "
                       u"tekstowego. Poniższa wartość wyraża czas między kolejnymi "
                       u"mignięciami."_s,
                       {8, 16, 274, 42});
    Label15->setWordWrap(true);
    Label16 = NewLabel(GroupBox13, "Label16", u"Co"_s, {8, 68, 18, 13});
    SpinEdit1 = Named<QSpinBox>(GroupBox13, "SpinEdit1", {28, 64, 70, 21});
    SpinEdit1->setRange(1, 10000);
    SpinEdit1->setValue(1);
    // Every change of the text is written: the field reports what is typed or set (also a text
    // the spin box would not take as a value), the spin box what its arrows step to. A typed
    // number is reported by both, and written once.
    const auto handler = Handler(this, &TfrWindows::SpinEdit1Change);
    const auto changed = [this, handler, shown = std::make_shared<QString>(SpinEdit1->text())] {
        if (SpinEdit1->text() == *shown) return;
        *shown = SpinEdit1->text();
        handler();
    };
    connect(FieldOf(SpinEdit1), &QLineEdit::textChanged, this, changed);
    connect(SpinEdit1, &QSpinBox::textChanged, this, changed);
    Label17 = NewLabel(GroupBox13, "Label17", u"milisekund"_s, {104, 68, 80, 13});
    Build(this, GroupBox13, kCursorBox);
}

void TfrWindows::BuildMessage()
{
    GroupBox11 = NewGroupBox(this, "GroupBox11", u"Komunikat"_s, {8, 516, 290, 252});
    Label2 = NewLabel(GroupBox11, "Label2",
                      u"Uaktywnienie tej spcji spowoduje wyświetlanie przez system Windows "
                      u"komunikatu przy starcie."_s,
                      {8, 16, 274, 28});
    Label2->setWordWrap(true);
    Label3 = NewLabel(GroupBox11, "Label3", u"Temat:"_s, {8, 52, 40, 13});
    Edit1 = Named<QLineEdit>(GroupBox11, "Edit1", {50, 48, 232, 21});
    Label4 = NewLabel(GroupBox11, "Label4", u"Tekst:"_s, {8, 76, 40, 13});
    Memo1 = Named<QPlainTextEdit>(GroupBox11, "Memo1", {8, 92, 274, 118});
    Build(this, GroupBox11, kMessageButtons);
}

void TfrWindows::BuildDisplay()
{
    GroupBox12 = NewGroupBox(this, "GroupBox12", u"Wyświetlanie obrazu w systemie Windows"_s,
                             {304, 8, 313, 176});
    Label13 = NewLabel(GroupBox12, "Label13",
                       u"Zaleca się by te ustawienia były modyfikowane tylko przez doświadczonych "
                       u"użytkowników lub administratorów systemu."_s,
                       {8, 16, 297, 42});
    Label13->setWordWrap(true);
    Label14 = NewLabel(GroupBox12, "Label14", u"Rozdzielczość:"_s, {8, 68, 120, 13});
    Edit2 = Named<QLineEdit>(GroupBox12, "Edit2", {130, 64, 50, 21});
    Edit2->setMaxLength(4);
    Label21 = NewLabel(GroupBox12, "Label21", u"na"_s, {186, 68, 16, 13});
    Edit5 = Named<QLineEdit>(GroupBox12, "Edit5", {206, 64, 50, 21});
    Edit5->setMaxLength(4);
    Label18 = NewLabel(GroupBox12, "Label18", u"Głębia kolorów:"_s, {8, 94, 120, 13});
    Edit3 = Named<QLineEdit>(GroupBox12, "Edit3", {130, 90, 50, 21});
    Label20 = NewLabel(GroupBox12, "Label20", u"Szybkość odświeżania:"_s, {8, 120, 120, 13});
    Edit4 = Named<QLineEdit>(GroupBox12, "Edit4", {130, 116, 50, 21});
    Button5 = Named<QPushButton>(GroupBox12, "Button5", {8, 144, 297, 25});
    Button5->setText(u"Zastosuj powyższe ustawienia"_s);
    OnChange(Button5, Handler(this, &TfrWindows::Button5Click));
}

void TfrWindows::BuildMemory()
{
    GroupBox16 = NewGroupBox(this, "GroupBox16", u"Pamięć"_s, {304, 192, 313, 236});
    GroupBox1 = NewGroupBox(GroupBox16, "GroupBox1", u"Pamięć RAM"_s, {8, 16, 297, 124});
    SpeedButton1 = Named<QPushButton>(GroupBox1, "SpeedButton1", {8, 20, 64, 25});
    SpeedButton1->setText(u"Zwolnij"_s);
    SpeedButton1->setFlat(true);
    OnChange(SpeedButton1, Handler(this, &TfrWindows::SpeedButton1Click));
    TrackBar1 = new QSlider(Qt::Horizontal, GroupBox1);
    TrackBar1->setObjectName(u"TrackBar1"_s);
    TrackBar1->setGeometry(78, 20, 211, 25);
    TrackBar1->setRange(1, 1048576);
    TrackBar1->setValue(1);
    TrackBar1->setSingleStep(1);
    TrackBar1->setTickPosition(QSlider::NoTicks);
    connect(TrackBar1, &QSlider::valueChanged, this, Handler(this, &TfrWindows::TrackBar1Change));

    Label1 = NewLabel(GroupBox1, "Label1", u"Ilość pamięci przeznaczona do zwolnienia:"_s,
                      {8, 60, 220, 13});
    Label11 = NewLabel(GroupBox1, "Label11", u"1"_s, {230, 58, 40, 17});
    Label11->setAlignment(Qt::AlignCenter);
    Label11->setAutoFillBackground(true);
    SetColour(Label11, QPalette::WindowText, Qt::white);
    SetColour(Label11, QPalette::Window, kGreen);
    Label9 = NewLabel(GroupBox1, "Label9", u"MB"_s, {274, 60, 18, 13});
    Label5 = NewLabel(GroupBox1, "Label5", u"Całkowity rozmiar zainstalowanej pamięci:"_s,
                      {8, 90, 220, 13});
    Label7 = NewLabel(GroupBox1, "Label7", u"0"_s, {230, 90, 40, 13});
    Label7->setAlignment(Qt::AlignCenter);
    Label10 = NewLabel(GroupBox1, "Label10", u"MB"_s, {274, 90, 18, 13});

    GroupBox17 = NewGroupBox(GroupBox16, "GroupBox17", u"Plik wymiany (pamięć wirtualna)"_s,
                             {8, 146, 297, 80});
    Build(this, GroupBox17, kSwapfileBox);
    Label22 = NewLabel(GroupBox17, "Label22", u"dopiero gdy zajęte będzie 70% pamięci RAM."_s,
                       {26, 38, 263, 13});
    OnMouseMove(Label22, [] { ShowHelpText(kSwapfileHelp); });
}

void TfrWindows::BuildAccess()
{
    GroupBox15 = NewGroupBox(this, "GroupBox15", u"Uprawnienia dostępu"_s, {304, 436, 313, 532});

    GroupBox3 = NewGroupBox(GroupBox15, "GroupBox3", u"Hasła i administracja"_s, {8, 16, 297, 86});
    GroupBox4 = NewGroupBox(GroupBox3, "GroupBox4", QString(), {8, 24, 281, 56});
    Build(this, GroupBox4, kPasswordsBoxes);
    // Made after its group box, so it lies on the group's frame as its title.
    Build(this, GroupBox3, kPasswordsBox);

    GroupBox9 = NewGroupBox(GroupBox15, "GroupBox9", u"Rejestr Windows"_s, {8, 106, 297, 60});
    Build(this, GroupBox9, kRegistryToolsBox);
    Build(this, GroupBox9, kRegFileBox);

    GroupBox8 = NewGroupBox(GroupBox15, "GroupBox8", u"Właściwości systemu"_s, {8, 170, 297, 100});
    Build(this, GroupBox8, kSystemBoxes);

    GroupBox10 = NewGroupBox(GroupBox15, "GroupBox10", u"Drukarki"_s, {8, 274, 297, 94});
    Build(this, GroupBox10, kPrinterBoxes);
    Label12 = NewLabel(GroupBox10, "Label12", u"Właściwościach drukarek"_s, {26, 32, 263, 13});

    GroupBox2 = NewGroupBox(GroupBox15, "GroupBox2", QString(), {8, 382, 297, 98});
    Build(this, GroupBox2, kDisplayBoxes);
    Build(this, GroupBox15, kDisplayBox);

    GroupBox6 = NewGroupBox(GroupBox15, "GroupBox6", u"Profile użytkownika"_s, {8, 484, 297, 40});
    Build(this, GroupBox6, kProfileBoxes);

    // The titles on the frames cover the frame's line, and are only as wide as their caption.
    for (QCheckBox* title : {CheckBox7, CheckBox5}) {
        title->setAutoFillBackground(true);
        title->resize(title->sizeHint().width() + 2, title->height());
    }
}

void TfrWindows::ShowMemorySize(int megabytes)
{
    Label7->setText(QString::number(megabytes));
    TrackBar1->setMaximum(megabytes);
}

void TfrWindows::LoadState(TRegistry& reg)
{
    LoadAutostart(reg);
    LoadRows(reg, kSchedulerBox, this);
    LoadRows(reg, kDisplayBox, this);
    LoadRows(reg, kDisplayBoxes, this);
    LoadRows(reg, kPasswordsBox, this);
    LoadRows(reg, kPasswordsBoxes, this);
    LoadRows(reg, kProfileBoxes, this);
    LoadRows(reg, kSystemBoxes, this);
    LoadRows(reg, kRegistryToolsBox, this);
    LoadRows(reg, kPrinterBoxes, this);
    LoadRows(reg, kCursorBox, this);
    LoadBlinkRate(reg);
    LoadRows(reg, kRegFileBox, this);
    Unguarded([&] {
        if (Label7->text().toInt() < 128) {
            CheckBox20->setEnabled(false);
            Label22->setEnabled(false);
        }
        LoadRows(reg, kSwapfileBox, this);
        Edit1->setMaxLength(250);
        LimitLength(Memo1, 250);
    });
}

void TfrWindows::LoadAutostart(TRegistry& reg)
{
    Guarded([&] {
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.CloseKey();
        reg.OpenKey(kRunKey, false);
        QStringList names;
        reg.GetValueNames(names);
        Lista->clear();
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name, Lista);
            item->setCheckState(Qt::Unchecked);
            item->setSizeHint({0, 13});
        }
    });
    reg.CloseKey();
}

void TfrWindows::LoadBlinkRate(TRegistry& reg)
{
    Guarded([&] {
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.CloseKey();
        reg.OpenKey(kDesktopKey, false);
        const QString rate = reg.ReadString(kBlinkRate);
        if (!rate.isEmpty()) Fill([&] { FieldOf(SpinEdit1)->setText(rate); });
    });
    reg.CloseKey();
}

void TfrWindows::CheckBox5Click()
{
    Write(kNoDispCPL, CheckBox5->isChecked());
    for (QCheckBox* tab : {CheckBox1, CheckBox2, CheckBox4, CheckBox3})
        tab->setEnabled(!CheckBox5->isChecked());
}

void TfrWindows::CheckBox7Click()
{
    Write(kNoSecCPL, CheckBox7->isChecked());
    for (QCheckBox* tab : {CheckBox8, CheckBox9})
        tab->setEnabled(!CheckBox7->isChecked());
}

void TfrWindows::CheckBox19Click()
{
    try {
        Write(kSchedulingAgent, CheckBox19->isChecked());
    } catch (const std::exception&) {
        throw std::runtime_error(kSchedulerError.toStdString());
    }
}

void TfrWindows::SpinEdit1Change()
{
    // The field is written on every keystroke, and says nothing.
    Swallowed([&] {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.OpenKey(kDesktopKey, true);
        reg.WriteString(kBlinkRate, SpinEdit1->text());
    });
}

void TfrWindows::BitBtn3Click()
{
    QStringList kept;
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(kRunKey, true);
        int row = 0;
        while (row < Lista->count()) {
            QListWidgetItem* item = Lista->item(row);
            if (item->checkState() != Qt::Checked) {
                ++row;
                continue;
            }
            const MessageAnswer answer = Dialogs().WarningQuestion(
                this, u"Czy napewno chcesz usunąć ten element Autostartu?\n\rElement: "_s +
                          item->text() + u'.');
            if (answer == MessageAnswer::No) break;
            if (answer != MessageAnswer::Yes) {
                ++row;
                continue;
            }
            reg.DeleteValue(item->text());
            if (reg.ValueExists(item->text())) {
                // Still in the registry, so still listed; unchecked, or the walk, which starts
                // over, would ask about it again and again.
                item->setCheckState(Qt::Unchecked);
                kept << item->text();
            } else {
                delete Lista->takeItem(row);
            }
            row = 0;
        }
    } catch (const std::exception&) {
        // Swallowed by design: the walk ends where it failed.
    }
    if (!kept.isEmpty())
        Dialogs().Message(this, u"Autostart"_s,
                          u"Tych elementów Autostartu nie udało się usunąć:\n\r"_s +
                              kept.join(u"\n\r"_s),
                          MessageIcon::Warning, MessageButtons::Ok);
}

void TfrWindows::Button1Click() { TfmProgramy::Shared().exec(); }

void TfrWindows::Button2Click()
{
    Dialogs().Message(this, Edit1->text(), Memo1->toPlainText(), MessageIcon::None,
                      MessageButtons::Ok);
}

void TfrWindows::Button3Click()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kWinlogonKey, true);
    reg.WriteString(u"LegalNoticeCaption"_s, Edit1->text());
    reg.WriteString(u"LegalNoticeText"_s, MessageText());
}

void TfrWindows::Button4Click()
{
    Edit1->clear();
    Memo1->clear();
}

void TfrWindows::Button6Click()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kWinlogonKey, true);
    reg.DeleteValue(u"LegalNoticeCaption"_s);
    reg.DeleteValue(u"LegalNoticeText"_s);
}

QString TfrWindows::MessageText() const { return Memo1->toPlainText().replace(u'\n', u"\r\n"_s); }

void TfrWindows::Button5Click()
{
    const QString width = Edit2->text();
    const QString height = Edit5->text();
    const QString depth = Edit3->text();
    const QString rate = Edit4->text();
    // Nothing is written unless all four hold numbers: a half-applied mode is worse than none.
    if (!IsDisplayNumber(width) || !IsDisplayNumber(height) || !IsDisplayNumber(depth) ||
        !IsDisplayNumber(rate))
        return;
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_CONFIG);
        reg.OpenKey(kDisplaySettingsKey, false);
        reg.WriteString(u"BitsPerPixel"_s, depth);
        reg.WriteString(u"RefreshRate"_s, rate);
        if (ResolutionNeedsConfirming(width.toInt(), height.toInt()) &&
            Dialogs().WarningQuestion(
                this, u"Wprowadzono rozdzielczość większą niż 1024x768. Czy napewno chcesz "
                      u"zmienić rozdzielczość na "_s +
                          width + u'x' + height + u" ?"_s) != MessageAnswer::Yes)
            return;
        reg.WriteString(u"Resolution"_s, width + u',' + height);
    } catch (const std::exception&) {
        // Swallowed by design: a missing key says nothing, as success says nothing.
    }
}

void TfrWindows::TrackBar1Change()
{
    const int position = TrackBar1->value();
    Label11->setText(QString::number(position));
    SetColour(Label11, QPalette::Window, MemoryColour(position, Label7->text().toInt()));
}

void TfrWindows::SpeedButton1Click()
{
    const QString path = GetSystemPath(u"dysk"_s) + u"\\FreeMem.vbs"_s;
    WriteFileBytes(path, FreeMemScript(TrackBar1->value()));
    try {
        // A script is a document, not a program: its host runs it.
        WinExec(u"wscript.exe \""_s + path + u'"', SW_HIDE);
    } catch (const std::exception&) {
        throw std::runtime_error(kFreeMemError.toStdString());
    }
    if (Dialogs().Message(this, u"Oczyszczanie pamięci"_s, kFreeMemQuestion,
                          MessageIcon::Information, MessageButtons::YesNo) == MessageAnswer::No)
        DeleteFile(path);
}
