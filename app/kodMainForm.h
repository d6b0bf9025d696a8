#pragma once

#include "SidePanels.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>

class LoadSystemState;
class QLabel;
class QScrollArea;
class QThread;
class QPlainTextEdit;
class QTabWidget;
class TfrAbout;
class TfrEdytorSysFiles;
class TfrIkony;
class TfrInfo;
class TfrWindows;
class TFrDOS;
class TFrInterfejs;
class TFrPlikiFoldery;
class TFrSiec;
class TFrSztuczki;

// The main window: the ten pages, the clock, the computer's name, the side menu and the help
// panel. Creating it reads the program's settings and fills the pages from the system: those up
// to the shown one at once, the others once the window has been drawn.
class TMainForm : public QWidget
{
public:
    static constexpr int kPageCount = 10;

    TMainForm();
    ~TMainForm() override;

    // Pages, in tab order; each is null until it is built.
    QTabWidget* Karty;
    TfrIkony* FrIkony = nullptr;
    TFrPlikiFoldery* FrPlikiFoldery = nullptr;
    TFrInterfejs* FrInterfejs = nullptr;
    TfrWindows* frWindows = nullptr;
    TFrSiec* FrSiec = nullptr;
    TFrDOS* FrDOS = nullptr;
    TfrInfo* frInfo = nullptr;
    TfrEdytorSysFiles* frEdytorSysFiles = nullptr;
    TfrAbout* frAbout = nullptr;
    TFrSztuczki* FrSztuczki = nullptr;

    // Builds and fills the pages not built yet, in the reader's order.
    void FillRemainingPages();

    QLabel* rysunek_kuli;
    QLabel* Zegar;
    QLabel* LabelDla = nullptr;
    QLabel* LabelNazwa = nullptr;

    // The side menu with its links, and the help panel with the help box.
    SidePanel* Menu;
    SidePanel* MenuTips;
    std::array<QLabel*, 7> MenuLabels; // Label1 to Label7
    QPlainTextEdit* OpisPomocy;

    // The animations' shared state: what the next thread of a panel does, and whether one runs.
    QString MenuCommand;
    QString TipsCommand;
    std::atomic<bool> MenuBusy = false;
    std::atomic<bool> TipsBusy = false;
    // Heights of Label1 to Label7 as the animation counts them (below zero they are not drawn).
    const std::array<int, 7>& LabelHeights() const { return labelHeights_; }

    // The Control Panel applets' file names in upper case, filled by the state reader.
    QStringList AppletFiles;

    // Puts a control's help text into the help box; the text it put there last changes nothing.
    void ShowHelpText(const QString& text);
    void OpisPomocyChange();
    void StartMenuAnimation(const QString& command);
    void StartTipsAnimation(const QString& command);
    void ApplyMenuStep(const MenuGeometry& step);
    void ApplyTipsStep(int height);

    // Adds or removes the folder context-menu entry that starts the program, and stores the
    // choice.
    void SetShellIntegration(bool on);

    void rysunek_kuliDblClick();
    void Label2Click();
    void Label3Click();
    void Label4Click();
    void Label5Click();
    void Label6Click();
    void Label7Click();

    // True when the saved position could not be used and the window is centred.
    bool Centred() const { return centred_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void BuildPages();
    template <class Page> Page* Place(int index);
    template <class Page, class... Extra> void FillPage(Page* page, Extra&... extra);
    void BuildPage(int index);
    void BuildPagesThrough(int index);
    // What the start leaves until the first frame is on the screen.
    void FinishStart();
    void BuildClock();
    void BuildMenu();
    void BuildTips();
    void FormCreate();
    void RestorePlace();
    void BuildSidePanels();
    void ShowComputerName();
    void StartClock();
    void FormClose();
    void FormDestroy();
    void StopAnimations();
    void WMWindowPosChanging();

    bool centred_ = false;
    std::array<QScrollArea*, kPageCount> sheets_{};
    std::unique_ptr<LoadSystemState> reader_;
    int builtPages_ = 0;
    bool restQueued_ = false;
    std::array<int, 7> labelHeights_{};
    QString lastHelpText_;
    // The running or last animation of each panel; stopped and joined before the window goes.
    std::unique_ptr<QThread> menuThread_;
    std::unique_ptr<QThread> tipsThread_;
};

// The one main window, or null before it exists and after it is gone.
TMainForm* MainForm();

// The program's own settings key under HKEY_CURRENT_USER.
inline const QString kSettingsKey = QStringLiteral("Software\\Tolmar\\Ustawienia");

// The product's addresses.
inline const QString kProductMail = QStringLiteral("tolmar@example.org");
inline const QString kProductSite = QStringLiteral("http://tolmar.example.org");
