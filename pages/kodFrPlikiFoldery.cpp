#include "kodFrPlikiFoldery.h"

#include "Bindings.h"
#include "Controls.h"
#include "Guarded.h"
#include "Keys.h"
#include "TRegistry.h"
#include "WidgetEvents.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kShellFoldersKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"_s;

const RegFlag kHidden{.root = HKEY_CURRENT_USER,
                      .key = kExplorerAdvanced,
                      .name = u"Hidden"_s,
                      .unchecked = 2,
                      .rule = Shown::Equal,
                      .match = 1};
const RegFlag kShowSuperHidden{
    .root = HKEY_CURRENT_USER, .key = kExplorerAdvanced, .name = u"ShowSuperHidden"_s};
const RegFlag kHideFileExt{
    .root = HKEY_CURRENT_USER, .key = kExplorerAdvanced, .name = u"HideFileExt"_s};
const RegFlag kNukeOnDelete{
    .root = HKEY_LOCAL_MACHINE,
    .key = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket"_s,
    .name = u"NukeOnDelete"_s};

using Box = ControlRow<TFrPlikiFoldery, QCheckBox>;

// A path cell: a long path is shortened in its middle, so both its drive and its folder's name
// stay in sight, and shows whole as the cell's tooltip, also while it is being retyped.
class PathItem final : public QTableWidgetItem
{
public:
    using QTableWidgetItem::QTableWidgetItem;
    QVariant data(int role) const override
    {
        return role == Qt::ToolTipRole ? QVariant(text()) : QTableWidgetItem::data(role);
    }
};
const Box kBoxes[] = {
    {&TFrPlikiFoldery::CheckBox1,
     "CheckBox1",
     {16, 20, 400, 17},
     u"Pokazuj pliki ukryte"_s,
     Bound{kHidden},
     u"Pokazuje w oknach folderów pliki i foldery oznaczone atrybutem ukryty, które zwykle "
     u"pozostają niewidoczne."_s},
    {&TFrPlikiFoldery::CheckBox2,
     "CheckBox2",
     {16, 40, 400, 17},
     u"Pokazuj pliki systemowe"_s,
     Bound{kShowSuperHidden},
     u"Pokazuje w oknach folderów także chronione pliki systemowe, niewidoczne nawet wtedy, gdy "
     u"pokazywane są pliki ukryte."_s},
    {&TFrPlikiFoldery::CheckBox3,
     "CheckBox3",
     {16, 60, 400, 17},
     u"Ukrywaj rozszerzenia plików znanych typów"_s,
     Bound{kHideFileExt},
     u"Określa czy rozszerzenia plików zarejestrowanych w systemie (takich które można otworzyć "
     u"za pomocą określonego programu) będą pokazywane w nazwie tego pliku."_s},
    {&TFrPlikiFoldery::CheckBox4,
     "CheckBox4",
     {16, 80, 400, 17},
     u"Nie przenoś plików do kosza - usuwaj je natychmiast"_s,
     Bound{kNukeOnDelete},
     u"Nie przenosi plików do kosza, usuwa je natychmiast. Efekt jest analogiczny jak przy "
     u"wciśniętym klawiszu Shift podczas kasowania pliku."_s},
};

} // namespace

const ShellFolder kShellFolders[15] = {
    {u"Dane aplikacji", u"AppData"},
    {u"Temporary Internet Files", u"Cache"},
    {u"Cookies", u"Cookies"},
    {u"Pulpit", u"Desktop"},
    {u"Ulubione", u"Favorites"},
    {u"Czcionki", u"Fonts"},
    {u"Historia", u"History"},
    {u"Moje dokumenty", u"Personal"},
    {u"Print Hood", u"PrintHood"},
    {u"Programy", u"Programs"},
    {u"Ostatnio otwierane", u"Recent"},
    {u"Wyślij do", u"SendTo"},
    {u"Menu Start", u"Start Menu"},
    {u"Autostart", u"Startup"},
    {u"Wzorce dokumentów", u"Templates"},
};

TFrPlikiFoldery::TFrPlikiFoldery(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TFrPlikiFoldery"_s);
    setMinimumSize(640, 449);

    GroupBox1 = NewGroupBox(this, "GroupBox1", u"Ogólne"_s, {8, 8, 625, 105});
    Build(this, GroupBox1, kBoxes);

    GroupBox2 =
        NewGroupBox(this, "GroupBox2", u"Lokalizacje folderów systemowych"_s, {8, 120, 625, 320});
    lista = Named<QTableWidget>(GroupBox2, "lista", {12, 20, 601, 256});
    lista->setColumnCount(2);
    lista->setHorizontalHeaderLabels({u"Nazwa"_s, u"Lokalizacja"_s});
    lista->setColumnWidth(0, 123);
    lista->setColumnWidth(1, 264);
    lista->verticalHeader()->hide();
    lista->setWordWrap(false);
    lista->setTextElideMode(Qt::ElideMiddle);
    lista->verticalHeader()->setDefaultSectionSize(18);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    lista->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    SpeedButton1 = Named<QPushButton>(GroupBox2, "SpeedButton1", {12, 284, 200, 25});
    SpeedButton1->setText(u"Zaakceptuj wprowadzone zmiany"_s);
    MakeSpeedButton(SpeedButton1);
    OnChange(SpeedButton1, Handler(this, &TFrPlikiFoldery::SpeedButton1Click));
}

void TFrPlikiFoldery::LoadState(TRegistry& reg)
{
    LoadFolders(reg);
    LoadRows(reg, kBoxes, this);
}

void TFrPlikiFoldery::LoadFolders(TRegistry& reg)
{
    QString paths[15];
    Guarded([&] {
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.CloseKey();
        reg.OpenKey(kShellFoldersKey, false);
        for (int i = 0; i < 15; ++i)
            paths[i] = reg.ReadString(QString::fromUtf16(kShellFolders[i].value));
    });
    reg.CloseKey();

    Guarded([&] {
        // Each row goes in at the current row, the first, so the screen shows them reversed.
        for (int i = 0; i < 15; ++i) {
            const int at = std::max(lista->currentRow(), 0);
            lista->insertRow(at);
            auto* name = new QTableWidgetItem(QString::fromUtf16(kShellFolders[i].name));
            name->setFlags(name->flags() & ~Qt::ItemIsEditable);
            lista->setItem(at, 0, name);
            lista->setItem(at, 1, new PathItem(paths[i]));
        }
    });
}

void TFrPlikiFoldery::SpeedButton1Click()
{
    TRegistry reg;
    reg.OpenKey(kShellFoldersKey, false);
    for (const ShellFolder& folder : kShellFolders) {
        const QString name = QString::fromUtf16(folder.name);
        for (int row = 0; row < lista->rowCount(); ++row) {
            if (lista->item(row, 0)->text().compare(name, Qt::CaseInsensitive) != 0) continue;
            const QString path = lista->item(row, 1)->text();
            if (!path.isEmpty()) reg.WriteString(QString::fromUtf16(folder.value), path);
            break;
        }
    }
}
