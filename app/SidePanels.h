#pragma once

#include "Pictures.h"

#include <QLabel>
#include <QThread>
#include <QWidget>
#include <array>

class QPlainTextEdit;

// A panel of the side column (`Menu`, `MenuTips`): a top cap, a bottom cap anchored to the
// bottom edge and a stretched filler between them, so folding the panel to 40 pixels leaves
// the caps touching. The help panel's text box is anchored to all four sides.
class SidePanel : public QWidget
{
public:
    SidePanel(QWidget* parent, const char* name, QRect geometry);

    QLabel* TopCap = nullptr;
    QLabel* BottomCap = nullptr;
    QLabel* Filler = nullptr;
    QWidget* Body = nullptr; // anchored on all sides, at 2, 20 (the help box)

    // Places the parts for the panel's height, as their anchors do.
    void Arrange();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// An image of a side panel: the mouse entering it unfolds a folded panel, leaving it folds an
// unfolded one, when no animation of that panel runs.
class HyperImage : public QLabel
{
protected:
    enum class Panel
    {
        Menu,
        Tips
    };
    HyperImage(QWidget* parent, Panel panel) : QLabel(parent), panel_(panel) {}

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void CMMouseEnter();
    void CMMouseLeave();
    Panel panel_;
};

// The images of the side menu.
class THyperImageMenu : public HyperImage
{
public:
    explicit THyperImageMenu(QWidget* parent) : HyperImage(parent, Panel::Menu) {}
};

// The images of the help panel.
class THyperImageTips : public HyperImage
{
public:
    explicit THyperImageTips(QWidget* parent) : HyperImage(parent, Panel::Tips) {}
};

// Geometry of the side menu that its animation changes.
struct MenuGeometry
{
    int menuHeight;
    int tipsTop;
    std::array<int, 7> labelHeights; // Label1 to Label7; may go below zero, drawn as 0
};

// Folds ("Zwin") or unfolds ("Rozwin") the side menu in 10 ms steps. It works on its own copy
// of the geometry and posts every step to the user interface thread. Asked to end, it stops
// at its next pause and posts nothing more.
class TWatekZwinRozwinMenu : public QThread
{
public:
    TWatekZwinRozwinMenu(QString command, MenuGeometry start);

protected:
    void run() override;

private:
    // False when the thread was asked to end before the last step.
    bool Animate();
    void Post(const MenuGeometry& step);
    QString command_;
    MenuGeometry g_;
};

// Folds or unfolds the help panel, growing and shrinking it downward from its top edge.
class TWatekZwinRozwinMenuTips : public QThread
{
public:
    TWatekZwinRozwinMenuTips(QString command, int startHeight);

protected:
    void run() override;

private:
    bool Animate();
    void Post(int height);
    QString command_;
    int height_;
};
