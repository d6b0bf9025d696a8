#pragma once

#include "LoadSystemState.h"
#include "SidePanels.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>

class QLabel;
class QScrollArea;
class QThread;
class QPlainTextEdit;
class QTabWidget;
class TfmKnow;
class TfmSet;
class TfrAbout;

// The main window: the ten pages, the clock, the computer's name, the side menu and the help
// panel. Creating it reads the program's settings and fills the pages from the system: those up
// to the shown one at once, the others once the window has been drawn. The pages the reader
// fills (FrIkony ... FrSztuczki, each null until it is built) and the applet list are its own
// members, from SystemPages.
class TMainForm : public QWidget, public SystemPages
{
public:
    static constexpr int kPageCount = 10;

    TMainForm();
    ~TMainForm() override;

    // Pages, in tab order; the About page sits between the reader's system files editor and
    // Tricks, and is null until it is built.
    QTabWidget* Karty;
    TfrAbout* frAbout = nullptr;

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

    // Puts a control's help text into the help box; the text it put there last changes nothing.
    void ShowHelpText(const QString& text);
    void OpisPomocyChange();
    void StartMenuAnimation(const QString& command);
    void StartTipsAnimation(const QString& command);
    void ApplyMenuStep(const MenuGeometry& step);
    void ApplyTipsStep(int height);

    // The settings dialog, which the side menu opens and whose switch turns snapping on; made
    // after the window, which has none until then.
    void UseSettings(TfmSet* dialog);
    // The curiosities dialog, made the first time it is asked for.
    TfmKnow& FmKnow();

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
    // The mouse entering an image of a panel unfolds a folded panel, leaving one folds an
    // unfolded one, when no animation of that panel runs.
    void MenuHover(bool entered);
    void TipsHover(bool entered);
    void ShowComputerName();
    void StartClock();
    void FormClose();
    void FormDestroy();
    void StopAnimations();
    void WMWindowPosChanging();

    bool centred_ = false;
    std::array<QScrollArea*, kPageCount> sheets_{};
    LoadSystemState reader_{*this};
    int builtPages_ = 0;
    bool restQueued_ = false;
    std::array<int, 7> labelHeights_{};
    QString lastHelpText_;
    // The running or last animation of each panel; stopped and joined before the window goes.
    std::unique_ptr<QThread> menuThread_;
    std::unique_ptr<QThread> tipsThread_;
    QPointer<TfmSet> settings_;
    QPointer<TfmKnow> know_;
};
