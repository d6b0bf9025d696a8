#include "kodMainForm.h"

#include "Clock.h"
#include "ErrorReport.h"
#include "Files.h"
#include "LoadSystemState.h"
#include "ProgramDir.h"
#include "TRegistry.h"
#include "TabImages.h"
#include "kodFrAbout.h"
#include "kodFrDOS.h"
#include "kodFrEdytorSysFiles.h"
#include "kodFrIkony.h"
#include "kodFrInfo.h"
#include "kodFrInterfejs.h"
#include "kodFrPlikiFoldery.h"
#include "kodFrSiec.h"
#include "kodFrSztuczki.h"
#include "kodFrWindows.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTime>

namespace {

TMainForm* instance = nullptr;

const QString kSettingsKey = QStringLiteral("Software\\Tolmar\\Ustawienia");

template <class Frame>
Frame* AddPage(QTabWidget* tabs, const char* sheet, const QString& caption, int image)
{
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QString::fromLatin1(sheet));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* frame = new Frame;
    scroll->setWidget(frame);
    tabs->addTab(scroll, TabImage(image), caption);
    return frame;
}

QLabel* NamedLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TMainForm* MainForm()
{
    return instance;
}

void ShowHelpText(const QString& text)
{
    if (instance) instance->ShowHelpText(text);
}

TMainForm::TMainForm()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint)
{
    instance = this;
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tolmar 3.0 - Quorvex"));
    setFixedSize(792, 498);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    // The colour of a button face, kept in the window role so that labels keep theirs.
    QPalette facePalette = palette();
    facePalette.setColor(QPalette::Window, facePalette.color(QPalette::Button));
    setPalette(facePalette);
    setAutoFillBackground(true);

    Karty = new QTabWidget(this);
    Karty->setObjectName(QStringLiteral("Karty"));
    Karty->setGeometry(3, 0, 649, 498);
    Karty->setUsesScrollButtons(true);
    Karty->setDocumentMode(true);
    Karty->tabBar()->setExpanding(false);
    FrIkony = AddPage<TfrIkony>(Karty, "KartaIkony", QStringLiteral("Ikony"), 0);
    FrPlikiFoldery =
        AddPage<TFrPlikiFoldery>(Karty, "KartaPlikiFoldery", QStringLiteral("Pliki i foldery"), 1);
    FrInterfejs =
        AddPage<TFrInterfejs>(Karty, "KartaInterfejs", QStringLiteral("Interfejs użytkownika"), 2);
    frWindows = AddPage<TfrWindows>(Karty, "KartaWindows", QStringLiteral("Windows"), 3);
    FrSiec = AddPage<TFrSiec>(Karty, "KartaSiec", QStringLiteral("Sieć"), 4);
    FrDOS = AddPage<TFrDOS>(Karty, "KartaMSDOS", QStringLiteral("MS-DOS"), 5);
    frInfo = AddPage<TfrInfo>(Karty, "KartaInfo", QStringLiteral("Informacje o sprzedawcy"), 6);
    frEdytorSysFiles = AddPage<TfrEdytorSysFiles>(Karty, "KartaEdytorSysFiles",
                                                  QStringLiteral("Edytor plików systemowych"), 7);
    frAbout = AddPage<TfrAbout>(Karty, "KartaPomoc", QStringLiteral("O programie"), 8);
    FrSztuczki = AddPage<TFrSztuczki>(Karty, "KartaSztuczki", QStringLiteral("Sztuczki"), 9);

    rysunek_kuli = NamedLabel(this, "rysunek_kuli");
    rysunek_kuli->setGeometry(656, -88, 187, 164);
    rysunek_kuli->setAttribute(Qt::WA_TranslucentBackground);
    Zegar = NamedLabel(this, "Zegar");
    Zegar->setGeometry(695, 5, 43, 19);
    QFont clockFont(QStringLiteral("Arial"));
    clockFont.setBold(true);
    Zegar->setFont(clockFont);

    Menu = new QWidget(this);
    Menu->setObjectName(QStringLiteral("Menu"));
    Menu->setGeometry(656, 104, 130, 160);
    MenuTips = new QWidget(this);
    MenuTips->setObjectName(QStringLiteral("MenuTips"));
    MenuTips->setGeometry(656, 288, 130, 180);
    OpisPomocy = new QPlainTextEdit(MenuTips);
    OpisPomocy->setObjectName(QStringLiteral("OpisPomocy"));
    OpisPomocy->setGeometry(2, 20, 126, 140);
    OpisPomocy->setReadOnly(true);
    OpisPomocy->setFrameShape(QFrame::NoFrame);
    OpisPomocy->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette tips = OpisPomocy->palette();
    tips.setColor(QPalette::Base, tips.color(QPalette::ToolTipBase));
    tips.setColor(QPalette::Text, Qt::gray);
    OpisPomocy->setPalette(tips);
    QFont tipsFont(QStringLiteral("MS Sans Serif"));
    tipsFont.setPixelSize(11);
    OpisPomocy->setFont(tipsFont);

    try {
        FormCreate();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

TMainForm::~TMainForm()
{
    try {
        FormDestroy();
    } catch (const std::exception& error) {
        ReportError(error);
    }
    instance = nullptr;
}

void TMainForm::FormCreate()
{
    TRegistry reg;
    try {
        reg.CloseKey();
        reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
        reg.CloseKey();
        reg.OpenKey(kSettingsKey, true);
        reg.CloseKey();
    } catch (const std::exception&) {
        // Without the key the guarded block below fails and the window is centred.
    }

    reg.OpenKey(kSettingsKey, false);
    try {
        reg.WriteString(QStringLiteral("Version"), QStringLiteral("Tolmar Quorvex"));
        reg.WriteString(QStringLiteral("ShortVersion"), QStringLiteral("Tolmar QX"));
        move(x(), reg.ReadInteger(QStringLiteral("WindowTop")));
        move(reg.ReadInteger(QStringLiteral("WindowLeft")), y());
        Karty->setCurrentIndex(reg.ReadInteger(QStringLiteral("AktywnaKartaIndex")));
    } catch (const std::exception&) {
        centred_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
    reg.CloseKey();

    LabelDla = NamedLabel(this, "LabelDla");
    LabelDla->setText(QStringLiteral("Dla:"));
    LabelNazwa = NamedLabel(this, "LabelNazwa");
    QFont bold = LabelDla->font();
    bold.setBold(true);
    LabelDla->setFont(bold);
    for (QLabel* label : {LabelDla, LabelNazwa}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(123, 155, 237));
        label->setPalette(palette);
        label->setAttribute(Qt::WA_TranslucentBackground);
    }
    LabelDla->setGeometry(710, 35, 24, 13);
    LabelNazwa->setGeometry(720, 47, 0, 13);
    LabelDla->show();
    LabelNazwa->show();

    Zegar->setText(LongTimeString(QTime::currentTime()));
    const QString picture = ProgramFile(QStringLiteral("\\data\\gfx\\bmp\\Zegar.bmp"));
    if (QFileInfo::exists(picture)) {
        rysunek_kuli->setPixmap(QPixmap(picture));
        rysunek_kuli->resize(rysunek_kuli->pixmap().size());
    }
    QPalette clockPalette = Zegar->palette();
    clockPalette.setColor(QPalette::WindowText, QColor(35, 100, 255));
    Zegar->setPalette(clockPalette);
    QFont clockFont = Zegar->font();
    clockFont.setPixelSize(25);
    Zegar->setFont(clockFont);
    Zegar->adjustSize();
    Zegar->raise();

    try {
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(
            QStringLiteral("System\\CurrentControlSet\\Control\\ComputerName\\ComputerName"),
            false);
        LabelNazwa->setText(reg.ReadString(QStringLiteral("ComputerName")));
    } catch (const std::exception&) {
        // The name stays empty.
    }
    LabelNazwa->adjustSize();
    reg.CloseKey();

    const auto megabytes = int(CurrentPlatform().TotalPhysicalMemory() >> 20);
    frWindows->Label7->setText(QString::number(megabytes));
    frWindows->TrackBar1->setMaximum(megabytes);

    LoadSystemState(*this);
}

void TMainForm::ShowHelpText(const QString& text)
{
    if (OpisPomocy->toPlainText() != text) OpisPomocy->setPlainText(text);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    Handler(this, &TMainForm::FormClose)();
    event->accept();
}

void TMainForm::FormClose()
{
    TRegistry reg;
    // Created again if someone removed it while the program ran, so the window always closes
    // with its position saved.
    reg.OpenKey(kSettingsKey, true);
    reg.WriteInteger(QStringLiteral("WindowLeft"), x());
    reg.WriteInteger(QStringLiteral("WindowTop"), y());
    reg.WriteInteger(QStringLiteral("AktywnaKartaIndex"), Karty->currentIndex());
}

void TMainForm::FormDestroy()
{
    FileSetAttr(GetSystemPath(QStringLiteral("dysk")) + QStringLiteral("\\MsDos.sys"),
                faReadOnly | faHidden);
}
