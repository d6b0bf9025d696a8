#include "kodfmSet.h"

#include "Colours.h"
#include "Controls.h"
#include "ErrorReport.h"
#include "Guarded.h"
#include "Platform.h"
#include "ProgramAddresses.h"
#include "WidgetEvents.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

TfmSet::TfmSet(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmSet"));
    setWindowTitle(QStringLiteral("Konfiguracja"));
    setFixedSize(372, 222);

    GroupBox2 = new QGroupBox(QStringLiteral("Ogólne"), this);
    GroupBox2->setGeometry(8, 8, 361, 57);
    CheckBox2 = new QCheckBox(
        QStringLiteral("Przyciągaj okno Tolmara do krawędzi ekranu ( a'la Winamp )"), GroupBox2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    // 4 pixels wider than designed: the caption's closing parenthesis needs them in this font.
    CheckBox2->setGeometry(24, 24, 309, 17);

    GroupBox1 = new QGroupBox(QStringLiteral("Ustawienia integracji z systemem"), this);
    GroupBox1->setGeometry(8, 72, 361, 113);
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 16, 337, 65);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Five lines of its own line breaks fill it exactly, as a memo without margins shows them.
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->document()->setDocumentMargin(0);
    SetColour(Memo1, QPalette::Base, Memo1->palette().color(QPalette::Button));
    Memo1->setPlainText(
        QStringLiteral("Program Tolmar może automatycznie zintegrować się z powłoką \n"
                       "systemową tzw. shellem. W Wyniku tej operacji do odpowiedniego \n"
                       "menu kontekstowego zostanie dodaty wpis 'Uruchom program Tolmar'. \n"
                       "Jeśli chcesz uruchamiać Tolmara szybciej i łatwiej zaznacz poniższe \n"
                       "pole wyboru:"));
    CheckBox1 =
        new QCheckBox(QStringLiteral("Zintegruj program Tolmar z powłoką systemową"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(24, 88, 257, 17);

    SpeedButton1 = new QPushButton(QStringLiteral("OK"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    MakeSpeedButton(SpeedButton1);
    SpeedButton1->setGeometry(272, 192, 97, 25);

    connect(CheckBox1, &QCheckBox::toggled, this, Handler(this, &TfmSet::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::toggled, this, Handler(this, &TfmSet::CheckBox2Click));
    connect(SpeedButton1, &QPushButton::clicked, this, Handler(this, &TfmSet::SpeedButton1Click));

    FormCreate();
}

void TfmSet::FormCreate()
{
    Guarded([&] {
        reg_.SetRootKey(HKEY_CURRENT_USER);
        reg_.OpenKey(kSettingsKey, false);
        CheckBox1->setChecked(reg_.ReadBool(QStringLiteral("Integracja")));
    });
    reg_.CloseKey();
    Guarded([&] {
        reg_.SetRootKey(HKEY_CURRENT_USER);
        reg_.OpenKey(kSettingsKey, false);
        CheckBox2->setChecked(reg_.ReadBool(QStringLiteral("Magnetyzm")));
    });
    reg_.CloseKey();
}

void TfmSet::CheckBox1Click() { SetShellIntegration(CheckBox1->isChecked()); }

void TfmSet::CheckBox2Click()
{
    Guarded([&] {
        reg_.SetRootKey(HKEY_CURRENT_USER);
        reg_.OpenKey(kSettingsKey, false);
        reg_.WriteBool(QStringLiteral("Magnetyzm"), CheckBox2->isChecked());
    });
    reg_.CloseKey();
}

void TfmSet::SpeedButton1Click() { close(); }

void TfmSet::SetShellIntegration(bool on)
{
    Guarded([&] {
        TRegistry reg;
        reg.OpenKey(kSettingsKey, false);
        reg.CloseKey();
        reg.OpenKey(kSettingsKey, false);
        reg.WriteBool(QStringLiteral("Integracja"), on);
        reg.CloseKey();
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        if (on) {
            reg.OpenKey(QStringLiteral("Software\\CLASSES\\Directory\\shell\\Tolmar QX"), true);
            reg.WriteString(QString(), QStringLiteral("Uruchom Tolmar QX"));
            reg.CloseKey();
            reg.OpenKey(QStringLiteral("Software\\CLASSES\\Directory\\shell\\Tolmar QX\\command"),
                        true);
            reg.WriteString(
                QString(), CurrentPlatform().SystemPathOf(QCoreApplication::applicationFilePath()));
        } else {
            reg.OpenKey(QStringLiteral("Software\\CLASSES\\Directory\\shell"), false);
            reg.DeleteKey(QStringLiteral("Tolmar QX"));
        }
        reg.CloseKey();
    });
}
