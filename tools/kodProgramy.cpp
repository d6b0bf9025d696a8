#include "kodProgramy.h"

#include "Controls.h"
#include "Dialogs.h"
#include "Platform.h"
#include "TRegistry.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUninstallKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"_s;

TfmProgramy* instance = nullptr;

// The value that holds a setting of an entry: the usual one, else its quiet twin; nothing
// when the entry has neither.
std::optional<QString> PresentValue(TRegistry& reg, const QString& name, const QString& quiet)
{
    if (reg.ValueExists(name)) return name;
    if (reg.ValueExists(quiet)) return quiet;
    return std::nullopt;
}

QString ReadPresent(TRegistry& reg, const QString& name, const QString& quiet)
{
    const std::optional<QString> present = PresentValue(reg, name, quiet);
    return present ? reg.ReadString(*present) : QString();
}

// The program a removal command starts: its quoted first part, or else all before the first blank.
QString ProgramOf(const QString& command)
{
    const QString trimmed = command.trimmed();
    if (trimmed.startsWith(u'"')) return trimmed.mid(1).section(u'"', 0, 0);
    return trimmed.section(u' ', 0, 0);
}

void ShowSelectFirst(QWidget* parent)
{
    Dialogs().Message(parent, u"Zaznacz pozycję"_s,
                      u"Musisz zaznaczyć pozycję aby móc ją edytować!"_s, MessageIcon::Information,
                      MessageButtons::Ok);
}

} // namespace

TfmProgramy::TfmProgramy(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"TfmProgramy"_s);
    setWindowTitle(u"Zainstalowane programy"_s);
    setFixedSize(385, 464);

    GroupBox1 =
        NewGroupBox(this, "GroupBox1", u"Lista zainstalowanych programów"_s, {8, 8, 369, 284});
    Lista = Named<QListWidget>(GroupBox1, "Lista", {10, 18, 349, 256});
    Label1 = NewLabel(this, "Label1",
                      u"Kliknij pozycję na liście, a następnie w poniższym polu edycyjnym "
                      u"przypisz jej nową ścieżkę dostępu."_s,
                      {8, 298, 369, 28});
    Label1->setWordWrap(true);

    QFont fieldFont(u"Verdana"_s);
    fieldFont.setPixelSize(13);
    Label2 = NewLabel(this, "Label2", u"Nazwa programu:"_s, {8, 330, 180, 13});
    NazwaProgramu = Named<QLineEdit>(this, "NazwaProgramu", {8, 345, 369, 22});
    NazwaProgramu->setFont(fieldFont);
    Label3 = NewLabel(this, "Label3", u"Ścieżka De-Instalatora"_s, {8, 373, 180, 13});
    uninstaller = Named<QLineEdit>(this, "uninstaller", {8, 388, 369, 22});
    uninstaller->setFont(fieldFont);

    Button1 = Named<QPushButton>(this, "Button1", {8, 426, 90, 25});
    Button1->setText(u"Zapisz"_s);
    Button2 = Named<QPushButton>(this, "Button2", {104, 426, 90, 25});
    Button2->setText(u"Usuń"_s);
    Button3 = Named<QPushButton>(this, "Button3", {287, 426, 90, 25});
    Button3->setText(u"Przeglądaj..."_s);

    // The selection, not the current row: the list makes its first row current (a dotted
    // outline) when it takes the focus, which is no one's choice.
    connect(Lista, &QListWidget::itemSelectionChanged, this,
            Handler(this, &TfmProgramy::ListaClick));
    OnChange(Button1, Handler(this, &TfmProgramy::Button1Click));
    OnChange(Button2, Handler(this, &TfmProgramy::Button2Click));
    OnChange(Button3, Handler(this, &TfmProgramy::Button3Click));

    LoadProgramList();
    instance = this;
}

TfmProgramy::~TfmProgramy()
{
    if (instance == this) instance = nullptr;
}

TfmProgramy& TfmProgramy::Shared() { return *instance; }

int TfmProgramy::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = Lista->selectedItems();
    return selected.isEmpty() ? -1 : Lista->row(selected.first());
}

void TfmProgramy::LoadProgramList()
{
    Lista->clear();
    UninstallKeys.clear();
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kUninstallKey, true);
    reg.GetKeyNames(UninstallKeys);
    reg.CloseKey();
    Lista->addItems(UninstallKeys);
    // Nor a current row: the focus alone would otherwise outline the first one.
    Lista->setCurrentIndex(QModelIndex());
    try {
        for (int row = 0; row < UninstallKeys.size(); ++row) {
            reg.OpenKey(kUninstallKey + u'\\' + UninstallKeys[row], false);
            if (const auto name = PresentValue(reg, u"DisplayName"_s, u"QuietDisplayName"_s))
                Lista->item(row)->setText(reg.ReadString(*name));
            reg.CloseKey();
        }
    } catch (const std::exception&) {
        // Swallowed by design: the rows not reached keep their subkey names.
    }
}

void TfmProgramy::ShowEntryDetails(int row)
{
    // The row's own subkey, even when another row shows the same name.
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kUninstallKey + u'\\' + UninstallKeys[row], false);
    const QString name = ReadPresent(reg, u"DisplayName"_s, u"QuietDisplayName"_s);
    const QString command = ReadPresent(reg, u"UninstallString"_s, u"QuietUninstallString"_s);
    NazwaProgramu->setText(name);
    uninstaller->setText(command);
    // A long command shows from its program's name on.
    NazwaProgramu->setCursorPosition(0);
    uninstaller->setCursorPosition(0);
}

void TfmProgramy::ListaClick()
{
    const int row = SelectedRow();
    if (row >= 0) ShowEntryDetails(row);
}

void TfmProgramy::Button1Click()
{
    const int row = SelectedRow();
    if (row < 0) {
        ShowSelectFirst(this);
        return;
    }
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(kUninstallKey + u'\\' + UninstallKeys[row], true);
        if (const auto name = PresentValue(reg, u"DisplayName"_s, u"QuietDisplayName"_s))
            reg.WriteString(*name, NazwaProgramu->text());
        if (const auto command = PresentValue(reg, u"UninstallString"_s, u"QuietUninstallString"_s))
            reg.WriteString(*command, uninstaller->text());
        reg.CloseKey();
        LoadProgramList();
    } catch (const std::exception&) {
        ShowSelectFirst(this);
    }
}

void TfmProgramy::Button2Click()
{
    const int row = SelectedRow();
    if (row < 0) return;
    // The full path from the root: a name taken relative to a key that failed to open would
    // name a key at the root.
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.DeleteKey(u'\\' + kUninstallKey + u'\\' + UninstallKeys[row]);
    LoadProgramList();
}

void TfmProgramy::Button3Click()
{
    if (const std::optional<QString> chosen =
            Dialogs().OpenFile(this, u"Poszukiwanie programu deinstalacyjnego"_s,
                               {u"Wszystkie pliki|*.*"_s, u"Programy|*.exe"_s},
                               PickerFolder(ProgramOf(uninstaller->text()))))
        uninstaller->setText(CurrentPlatform().SystemPathOf(*chosen));
    Button1Click();
}
