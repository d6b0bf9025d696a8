#include "kodFrPlikiFoldery.h"

#include "ErrorReport.h"
#include "Guarded.h"
#include "TRegistry.h"
#include "WidgetEvents.h"
#include "kodMainForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString kAdvancedKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
const QString kBitBucketKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket");
const QString kShellFoldersKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

QCheckBox* NewCheckBox(QWidget* parent, const char* name, const QString& caption, int top)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(16, top, 400, 17);
    return box;
}

void WriteFlag(HKEY root, const QString& key, const QString& name, int value)
{
    TRegistry reg;
    reg.SetRootKey(root);
    reg.OpenKey(key, true);
    reg.WriteInteger(name, value);
}

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
    setObjectName(QStringLiteral("TFrPlikiFoldery"));
    setMinimumSize(640, 449);

    GroupBox1 = new QGroupBox(QStringLiteral("Ogólne"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 625, 105);
    CheckBox1 = NewCheckBox(GroupBox1, "CheckBox1", QStringLiteral("Pokazuj pliki ukryte"), 20);
    CheckBox2 = NewCheckBox(GroupBox1, "CheckBox2", QStringLiteral("Pokazuj pliki systemowe"), 40);
    CheckBox3 = NewCheckBox(GroupBox1, "CheckBox3",
                            QStringLiteral("Ukrywaj rozszerzenia plików znanych typów"), 60);
    CheckBox4 =
        NewCheckBox(GroupBox1, "CheckBox4",
                    QStringLiteral("Nie przenoś plików do kosza - usuwaj je natychmiast"), 80);

    GroupBox2 = new QGroupBox(QStringLiteral("Lokalizacje folderów systemowych"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 120, 625, 320);
    lista = new QTableWidget(0, 2, GroupBox2);
    lista->setObjectName(QStringLiteral("lista"));
    lista->setGeometry(12, 20, 601, 256);
    lista->setHorizontalHeaderLabels({QStringLiteral("Nazwa"), QStringLiteral("Lokalizacja")});
    lista->setColumnWidth(0, 123);
    lista->setColumnWidth(1, 264);
    lista->horizontalHeader()->setStretchLastSection(true);
    lista->verticalHeader()->hide();
    lista->verticalHeader()->setDefaultSectionSize(18);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    lista->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    SpeedButton1 = new QPushButton(QStringLiteral("Zaakceptuj wprowadzone zmiany"), GroupBox2);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setFlat(true);
    SpeedButton1->setGeometry(12, 284, 200, 25);

    connect(CheckBox1, &QCheckBox::toggled, this, Handler(this, &TFrPlikiFoldery::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::toggled, this, Handler(this, &TFrPlikiFoldery::CheckBox2Click));
    connect(CheckBox3, &QCheckBox::toggled, this, Handler(this, &TFrPlikiFoldery::CheckBox3Click));
    connect(CheckBox4, &QCheckBox::toggled, this, Handler(this, &TFrPlikiFoldery::CheckBox4Click));
    connect(SpeedButton1, &QPushButton::clicked, this,
            Handler(this, &TFrPlikiFoldery::SpeedButton1Click));
    OnMouseMove(CheckBox1, Handler(this, &TFrPlikiFoldery::CheckBox1MouseMove));
    OnMouseMove(CheckBox2, Handler(this, &TFrPlikiFoldery::CheckBox2MouseMove));
    OnMouseMove(CheckBox3, Handler(this, &TFrPlikiFoldery::CheckBox3MouseMove));
    OnMouseMove(CheckBox4, Handler(this, &TFrPlikiFoldery::CheckBox4MouseMove));
}

void TFrPlikiFoldery::LoadState(TRegistry& reg)
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
            lista->setItem(at, 1, new QTableWidgetItem(paths[i]));
        }
    });

    const auto flag = [&](HKEY root, const QString& key, const QString& name, auto apply) {
        Guarded([&] {
            reg.SetRootKey(root);
            reg.CloseKey();
            reg.OpenKey(key, false);
            apply(reg.ReadInteger(name));
        });
        reg.CloseKey();
    };
    flag(HKEY_CURRENT_USER, kAdvancedKey, QStringLiteral("Hidden"),
         [&](int n) { CheckBox1->setChecked(n == 1); });
    flag(HKEY_CURRENT_USER, kAdvancedKey, QStringLiteral("ShowSuperHidden"),
         [&](int n) { CheckBox2->setChecked(n != 0); });
    flag(HKEY_CURRENT_USER, kAdvancedKey, QStringLiteral("HideFileExt"),
         [&](int n) { CheckBox3->setChecked(n != 0); });
    flag(HKEY_LOCAL_MACHINE, kBitBucketKey, QStringLiteral("NukeOnDelete"),
         [&](int n) { CheckBox4->setChecked(n != 0); });
}

void TFrPlikiFoldery::CheckBox1Click()
{
    WriteFlag(HKEY_CURRENT_USER, kAdvancedKey, QStringLiteral("Hidden"),
              CheckBox1->isChecked() ? 1 : 2);
}

void TFrPlikiFoldery::CheckBox2Click()
{
    WriteFlag(HKEY_CURRENT_USER, kAdvancedKey, QStringLiteral("ShowSuperHidden"),
              CheckBox2->isChecked());
}

void TFrPlikiFoldery::CheckBox3Click()
{
    WriteFlag(HKEY_CURRENT_USER, kAdvancedKey, QStringLiteral("HideFileExt"),
              CheckBox3->isChecked());
}

void TFrPlikiFoldery::CheckBox4Click()
{
    WriteFlag(HKEY_LOCAL_MACHINE, kBitBucketKey, QStringLiteral("NukeOnDelete"),
              CheckBox4->isChecked());
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

void TFrPlikiFoldery::CheckBox1MouseMove()
{
    ShowHelpText(QStringLiteral("Pokazuje w oknach folderów pliki i foldery oznaczone atrybutem "
                                "ukryty, które zwykle pozostają niewidoczne."));
}

void TFrPlikiFoldery::CheckBox2MouseMove()
{
    ShowHelpText(QStringLiteral("Pokazuje w oknach folderów także chronione pliki systemowe, "
                                "niewidoczne nawet wtedy, gdy pokazywane są pliki ukryte."));
}

void TFrPlikiFoldery::CheckBox3MouseMove()
{
    ShowHelpText(
        QStringLiteral("Określa czy rozszerzenia plików zarejestrowanych w systemie (takich "
                       "które można otworzyć za pomocą określonego programu) będą "
                       "pokazywane w nazwie tego pliku."));
}

void TFrPlikiFoldery::CheckBox4MouseMove()
{
    ShowHelpText(QStringLiteral("Nie przenosi plików do kosza, usuwa je natychmiast. Efekt jest "
                                "analogiczny jak przy wciśniętym klawiszu Shift podczas kasowania "
                                "pliku."));
}
