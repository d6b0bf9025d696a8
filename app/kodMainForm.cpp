#include "kodMainForm.h"

#include "Clock.h"
#include "Colours.h"
#include "ErrorReport.h"
#include "Files.h"
#include "Fonts.h"
#include "Guarded.h"
#include "HelpText.h"
#include "ProgramAddresses.h"
#include "ProgramDir.h"
#include "ProgramVersion.h"
#include "Snapping.h"
#include "System.h"
#include "TRegistry.h"
#include "TabImages.h"
#include "WidgetEvents.h"
#include "kodFrAbout.h"
#include "kodKnow.h"
#include "kodfmSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTime>

namespace {

// The tab of the About page, the one page the start-up reader does not build: the reader's
// steps follow the tabs around it.
constexpr int kAboutPage = 8;

// A page's sheet: it holds the page from the moment the page is built.
QScrollArea* AddSheet(QTabWidget* tabs, const char* sheet, const QString& caption, int image)
{
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QString::fromLatin1(sheet));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    tabs->addTab(scroll, TabImage(image), caption);
    return scroll;
}

QLabel* NamedLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TMainForm::TMainForm()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tolmar 3.0 - Quorvex"));
    setFixedSize(792, 498);
    setFont(WindowsFont(QStringLiteral("MS Sans Serif"), -11));
    // The colour of a button face, kept in the window role so that labels keep theirs.
    SetColour(this, QPalette::Window, palette().color(QPalette::Button));
    setAutoFillBackground(true);

    BuildPages();
    BuildClock();
    BuildMenu();
    BuildTips();
    SetHelpTextSink([this](const QString& text) { ShowHelpText(text); });

    try {
        FormCreate();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

void TMainForm::BuildPages()
{
    Karty = new QTabWidget(this);
    Karty->setObjectName(QStringLiteral("Karty"));
    Karty->setGeometry(3, 0, 649, 498);
    Karty->setUsesScrollButtons(true);
    Karty->setDocumentMode(true);
    Karty->tabBar()->setExpanding(false);
    // The desktop's flat-button tabs: the page shown is a pressed button, the others lie flat,
    // and the one under the mouse lights its caption.
    Karty->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { background: transparent; border: 1px solid transparent; margin: 2px 1px;"
        " padding: 2px 5px; }"
        "QTabBar::tab:selected { border-color: #808080 #ffffff #ffffff #808080;"
        " background: #e4e4e4; }"
        "QTabBar::tab:hover:!selected { color: #0000ff; }"));
    const struct
    {
        const char* sheet;
        QString caption;
    } sheets[] = {
        {"KartaIkony", QStringLiteral("Ikony")},
        {"KartaPlikiFoldery", QStringLiteral("Pliki i foldery")},
        {"KartaInterfejs", QStringLiteral("Interfejs użytkownika")},
        {"KartaWindows", QStringLiteral("Windows")},
        {"KartaSiec", QStringLiteral("Sieć")},
        {"KartaMSDOS", QStringLiteral("MS-DOS")},
        {"KartaInfo", QStringLiteral("Informacje o sprzedawcy")},
        {"KartaEdytorSysFiles", QStringLiteral("Edytor plików systemowych")},
        {"KartaPomoc", QStringLiteral("O programie")},
        {"KartaSztuczki", QStringLiteral("Sztuczki")},
    };
    for (int i = 0; i < kPageCount; ++i)
        sheets_[i] = AddSheet(Karty, sheets[i].sheet, sheets[i].caption, i);
}

void TMainForm::BuildClock()
{
    rysunek_kuli = NamedLabel(this, "rysunek_kuli");
    rysunek_kuli->setGeometry(656, -88, 187, 164);
    rysunek_kuli->setAttribute(Qt::WA_TranslucentBackground);
    Zegar = NamedLabel(this, "Zegar");
    Zegar->setGeometry(695, 5, 43, 19);
    QFont clockFont(QStringLiteral("Arial"));
    clockFont.setBold(true);
    Zegar->setFont(clockFont);

    OnLeftDoubleClick(rysunek_kuli, Handler(this, &TMainForm::rysunek_kuliDblClick));
    OnLeftDoubleClick(Zegar, Handler(this, &TMainForm::rysunek_kuliDblClick));
}

void TMainForm::BuildMenu()
{
    Menu = new SidePanel(this, "Menu", QRect(656, 104, 130, 160));
    struct LinkLabel
    {
        const char* name;
        QRect geometry;
        const char* caption;
    };
    const LinkLabel links[7] = {
        {"Label1", {10, 24, 102, 13}, "Co chcesz zrobić?"},
        {"Label2", {16, 40, 106, 12}, "Skorzystać z pomocy"},
        {"Label3", {16, 56, 80, 12}, "Zgłosić problem"},
        {"Label4", {16, 72, 91, 12}, "Napisać do autora"},
        {"Label5", {16, 88, 112, 12}, "Odwiedzić www Tolmara"},
        {"Label6", {16, 104, 108, 12}, "Lepiej poznać Tolmar'a"},
        {"Label7", {16, 120, 96, 12}, "Zmienić ustawienia"},
    };
    for (int i = 0; i < 7; ++i) {
        QLabel* label = NamedLabel(Menu, links[i].name);
        label->setText(QString::fromUtf8(links[i].caption));
        label->setGeometry(links[i].geometry);
        // The text keeps its place at the top while the fold animation grows the label.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        labelHeights_[i] = links[i].geometry.height();
        QFont verdana = WindowsFont(QStringLiteral("Verdana"), i == 0 ? -11 : -9);
        verdana.setUnderline(i > 0);
        label->setFont(verdana);
        if (i > 0) {
            SetColour(label, QPalette::WindowText, QColor(0, 0, 255));
            label->setCursor(Qt::ArrowCursor);
            OnEvent(label, QEvent::Enter,
                    [label] { SetColour(label, QPalette::WindowText, QColor(255, 0, 0)); });
            OnEvent(label, QEvent::Leave,
                    [label] { SetColour(label, QPalette::WindowText, QColor(0, 0, 255)); });
        }
        MenuLabels[i] = label;
    }
    OnLeftClick(MenuLabels[1], Handler(this, &TMainForm::Label2Click));
    OnLeftClick(MenuLabels[2], Handler(this, &TMainForm::Label3Click));
    OnLeftClick(MenuLabels[3], Handler(this, &TMainForm::Label4Click));
    OnLeftClick(MenuLabels[4], Handler(this, &TMainForm::Label5Click));
    OnLeftClick(MenuLabels[5], Handler(this, &TMainForm::Label6Click));
    OnLeftClick(MenuLabels[6], Handler(this, &TMainForm::Label7Click));
}

void TMainForm::BuildTips()
{
    MenuTips = new SidePanel(this, "MenuTips", QRect(656, 288, 130, 180));
    OpisPomocy = new QPlainTextEdit(MenuTips);
    OpisPomocy->setObjectName(QStringLiteral("OpisPomocy"));
    OpisPomocy->setGeometry(2, 20, 126, 140);
    OpisPomocy->setReadOnly(true);
    OpisPomocy->setFrameShape(QFrame::NoFrame);
    OpisPomocy->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetColour(OpisPomocy, QPalette::Base, OpisPomocy->palette().color(QPalette::ToolTipBase));
    // Windows' grey, not Qt's lighter one.
    SetColour(OpisPomocy, QPalette::Text, QColor(0x80, 0x80, 0x80));
    OpisPomocy->setFont(WindowsFont(QStringLiteral("MS Sans Serif"), -11));
    MenuTips->Body = OpisPomocy;
    connect(OpisPomocy, &QPlainTextEdit::textChanged, this,
            Handler(this, &TMainForm::OpisPomocyChange));
}

TMainForm::~TMainForm()
{
    StopAnimations();
    SetHelpTextSink(nullptr);
    try {
        FormDestroy();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

void TMainForm::FormCreate()
{
    TRegistry reg;
    reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
    reg.CloseKey();
    reg.OpenKey(kSettingsKey, true);
    reg.CloseKey();
    RestorePlace();
    BuildSidePanels();
    ShowComputerName();

    StartClock();

    // The reader fills the pages up to the shown one before the window is first drawn, and the
    // rest right after (FillRemainingPages), in its own order either way.
    reader_.Start();
    BuildPagesThrough(Karty->currentIndex());
    // A page is never shown unbuilt, whatever shows it first.
    connect(Karty, &QTabWidget::currentChanged, this,
            [this](int index) { BuildPagesThrough(index); });
}

void TMainForm::BuildPage(int index)
{
    if (index != kAboutPage) {
        // Pages built before the reader started (the window's creation failed) stay unfilled.
        reader_.Step(index < kAboutPage ? index : index - 1,
                     [&](QWidget* page) { sheets_[index]->setWidget(page); });
        return;
    }
    frAbout = new TfrAbout;
    sheets_[index]->setWidget(frAbout);
    const QString about = ProgramFile(QStringLiteral("\\Data\\Txt\\AboutTolmar.rtf"));
    if (QFileInfo::exists(about)) frAbout->LoadText(about);
}

void TMainForm::BuildPagesThrough(int index)
{
    while (builtPages_ <= index && builtPages_ < kPageCount)
        BuildPage(builtPages_++);
}

void TMainForm::FillRemainingPages() { BuildPagesThrough(kPageCount - 1); }

void TMainForm::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Queued, so that the first frame reaches the screen before the rest of the pages is built.
    if (!restQueued_) {
        restQueued_ = true;
        QMetaObject::invokeMethod(this, &TMainForm::FinishStart, Qt::QueuedConnection);
    }
}

void TMainForm::FinishStart()
{
    // The desktop's menu and launchers show the installed icon until this one is set.
    const QString icon = ProgramFile(QStringLiteral("\\data\\gfx\\Tolmar.png"));
    if (QFileInfo::exists(icon)) QApplication::setWindowIcon(QIcon(icon));
    if (isVisible()) FillRemainingPages();
    HoldSaves(CurrentPlatform(), false);
}

void TMainForm::RestorePlace()
{
    TRegistry reg;
    reg.OpenKey(kSettingsKey, false);
    try {
        reg.WriteString(QStringLiteral("Version"), kVersion);
        reg.WriteString(QStringLiteral("ShortVersion"), kShortVersion);
        move(x(), reg.ReadInteger(QStringLiteral("WindowTop")));
        move(reg.ReadInteger(QStringLiteral("WindowLeft")), y());
        Karty->setCurrentIndex(reg.ReadInteger(QStringLiteral("AktywnaKartaIndex")));
    } catch (const std::exception&) {
        centred_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
}

void TMainForm::ShowComputerName()
{
    LabelDla = NamedLabel(this, "LabelDla");
    LabelDla->setText(QStringLiteral("Dla:"));
    LabelNazwa = NamedLabel(this, "LabelNazwa");
    QFont bold = LabelDla->font();
    bold.setBold(true);
    LabelDla->setFont(bold);
    for (QLabel* label : {LabelDla, LabelNazwa})
        SetColour(label, QPalette::WindowText, QColor(123, 155, 237));
    LabelDla->setGeometry(710, 35, 24, 13);
    LabelNazwa->setGeometry(720, 47, 0, 13);
    LabelDla->show();
    LabelNazwa->show();

    TRegistry reg;
    Guarded([&] {
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(
            QStringLiteral("System\\CurrentControlSet\\Control\\ComputerName\\ComputerName"),
            false);
        LabelNazwa->setText(reg.ReadString(QStringLiteral("ComputerName")));
    });
    LabelNazwa->adjustSize();
}

void TMainForm::StartClock()
{
    Zegar->setText(LongTimeString(ProgramClock().Now()));
    const QString picture = ProgramFile(QStringLiteral("\\data\\gfx\\bmp\\Zegar.bmp"));
    if (QFileInfo::exists(picture)) {
        rysunek_kuli->setPixmap(TransparentPicture(picture));
        rysunek_kuli->resize(rysunek_kuli->pixmap().size());
    }
    SetColour(Zegar, QPalette::WindowText, QColor(35, 100, 255));
    // A positive height: the cell of the font is 25 pixels, its characters smaller.
    Zegar->setFont(WindowsFont(QStringLiteral("Arial"), 25, true));
    Zegar->adjustSize();
    Zegar->raise();
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
    for (SidePanel* panel : {Menu, MenuTips}) {
        for (QLabel** image : {&panel->TopCap, &panel->BottomCap, &panel->Filler}) {
            delete *image;
            *image = nullptr;
        }
    }
}

void TMainForm::BuildSidePanels()
{
    const auto image = [](QLabel* label, const char* file, bool transparent) {
        const QString path = ProgramFile(QString::fromLatin1(file));
        if (transparent)
            label->setPixmap(TransparentPicture(path));
        else if (QFileInfo::exists(path))
            label->setPixmap(QPixmap(path));
        label->setScaledContents(!transparent);
        label->show();
        return label;
    };
    const auto menu = [this] {
        return new THyperImageMenu(Menu, [this](bool in) { MenuHover(in); });
    };
    const auto tips = [this] {
        return new THyperImageTips(MenuTips, [this](bool in) { TipsHover(in); });
    };
    Menu->Filler = image(menu(), "\\data\\gfx\\bmp\\menu\\linia1px.bmp", false);
    Menu->TopCap = image(menu(), "\\data\\gfx\\bmp\\menu\\MenuUp.bmp", true);
    Menu->BottomCap = image(menu(), "\\data\\gfx\\bmp\\menu\\MenuDown.bmp", true);
    MenuTips->Filler = image(tips(), "\\data\\gfx\\bmp\\menu\\linia1px.bmp", false);
    MenuTips->TopCap = image(tips(), "\\data\\gfx\\bmp\\menu\\MenuUp2.bmp", true);
    MenuTips->BottomCap = image(tips(), "\\data\\gfx\\bmp\\menu\\MenuDown.bmp", true);
    for (SidePanel* panel : {Menu, MenuTips}) {
        // The filler lies behind everything, the caps in front of the labels.
        panel->Filler->lower();
        panel->TopCap->raise();
        panel->BottomCap->raise();
        panel->Arrange();
    }
}

void TMainForm::MenuHover(bool entered)
{
    if (MenuBusy) return;
    if (entered && Menu->height() == 40) StartMenuAnimation(QStringLiteral("Rozwin"));
    if (!entered && Menu->height() == 160) StartMenuAnimation(QStringLiteral("Zwin"));
}

void TMainForm::TipsHover(bool entered)
{
    if (TipsBusy) return;
    if (entered && MenuTips->height() == 40) StartTipsAnimation(QStringLiteral("Rozwin"));
    if (!entered && MenuTips->height() == 180) StartTipsAnimation(QStringLiteral("Zwin"));
}

void TMainForm::ShowHelpText(const QString& text)
{
    if (text == lastHelpText_) return;
    lastHelpText_ = text;
    OpisPomocy->setPlainText(text);
}

void TMainForm::OpisPomocyChange()
{
    if (!TipsBusy && MenuTips->height() != 180) StartTipsAnimation(QStringLiteral("Rozwin"));
    if (!TipsBusy && MenuTips->height() == 180) StartTipsAnimation(QStringLiteral("Zwin"));
}

void TMainForm::StartMenuAnimation(const QString& command)
{
    MenuCommand = command;
    MenuBusy = true;
    // The last animation has posted its final step; it may still be returning.
    if (menuThread_) menuThread_->wait();
    // The threads post to this window, which joins them before it goes (StopAnimations).
    menuThread_ = std::make_unique<TWatekZwinRozwinMenu>(
        MenuCommand, MenuGeometry{Menu->height(), MenuTips->y(), labelHeights_}, this,
        [this](const MenuGeometry& step) { ApplyMenuStep(step); }, [this] { MenuBusy = false; });
    menuThread_->start();
}

void TMainForm::StartTipsAnimation(const QString& command)
{
    TipsCommand = command;
    TipsBusy = true;
    if (tipsThread_) tipsThread_->wait();
    tipsThread_ = std::make_unique<TWatekZwinRozwinMenuTips>(
        TipsCommand, MenuTips->height(), this, [this](int height) { ApplyTipsStep(height); },
        [this] { TipsBusy = false; });
    tipsThread_->start();
}

void TMainForm::StopAnimations()
{
    for (QThread* thread : {menuThread_.get(), tipsThread_.get()})
        if (thread) thread->requestInterruption();
    ProgramClock().Wake();
    for (QThread* thread : {menuThread_.get(), tipsThread_.get()})
        if (thread) thread->wait();
}

void TMainForm::ApplyMenuStep(const MenuGeometry& step)
{
    Menu->resize(Menu->width(), step.menuHeight);
    MenuTips->move(MenuTips->x(), step.tipsTop);
    labelHeights_ = step.labelHeights;
    for (int i = 0; i < 7; ++i)
        MenuLabels[i]->resize(MenuLabels[i]->width(), std::max(0, labelHeights_[i]));
    Menu->repaint();
}

void TMainForm::ApplyTipsStep(int height)
{
    MenuTips->resize(MenuTips->width(), height);
    // The text box keeps its caret line in sight while it is only a few pixels high, which
    // scrolls a long text past its start; unfolding shows a text from its first line.
    if (TipsCommand == u"Rozwin") OpisPomocy->verticalScrollBar()->setValue(0);
}

void TMainForm::rysunek_kuliDblClick()
{
    WinExec(QStringLiteral("rundll32 shell32,Control_RunDLL timedate.cpl"), SW_SHOWNORMAL);
}

void TMainForm::Label2Click()
{
    ShellExecute(QStringLiteral("open"),
                 CurrentPlatform().SystemPathOf(ProgramFile(QStringLiteral("\\Pomoc\\help.doc"))),
                 SW_SHOWMAXIMIZED);
}

void TMainForm::Label3Click()
{
    ShellExecute(QStringLiteral("open"),
                 QStringLiteral("mailto:") + kProductMail +
                     QStringLiteral("?Subject=Problem z działaniem programu&Body=W programie "
                                    "Tolmar wystąpił następujący błąd: >tutaj wpisz informacje "
                                    "o błędzie<"),
                 SW_SHOWMAXIMIZED);
}

void TMainForm::Label4Click()
{
    ShellExecute(QStringLiteral("open"), QStringLiteral("mailto:") + kProductMail,
                 SW_SHOWMAXIMIZED);
}

void TMainForm::Label5Click()
{
    ShellExecute(QStringLiteral("open"), kProductSite, SW_SHOWMAXIMIZED);
}

void TMainForm::Label6Click() { FmKnow().open(); }

TfmKnow& TMainForm::FmKnow()
{
    if (!know_) know_ = new TfmKnow(this);
    return *know_;
}

void TMainForm::UseSettings(TfmSet* dialog) { settings_ = dialog; }

void TMainForm::Label7Click()
{
    if (settings_) settings_->open();
}

void TMainForm::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    WMWindowPosChanging();
}

void TMainForm::WMWindowPosChanging()
{
    if (!settings_ || !settings_->CheckBox2->isChecked()) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect frame = frameGeometry();
    const QPoint snapped =
        SnapToWorkArea(frame.topLeft(), frame.size(), screen->availableGeometry());
    if (snapped != frame.topLeft()) move(snapped);
}
