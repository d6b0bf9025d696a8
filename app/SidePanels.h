#pragma once

#include "Pictures.h"

#include <QLabel>
#include <QThread>
#include <QWidget>
#include <array>
#include <functional>

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

// An image of a side panel: the mouse entering or leaving it is handed to the window that
// folds and unfolds the panel.
class HyperImage : public QLabel
{
public:
    using Hover = std::function<void(bool entered)>;

protected:
    HyperImage(QWidget* parent, Hover hover) : QLabel(parent), hover_(std::move(hover)) {}

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void CMMouseEnter();
    void CMMouseLeave();
    Hover hover_;
};

// The images of the side menu.
class THyperImageMenu : public HyperImage
{
public:
    THyperImageMenu(QWidget* parent, Hover hover) : HyperImage(parent, std::move(hover)) {}
};

// The images of the help panel.
class THyperImageTips : public HyperImage
{
public:
    THyperImageTips(QWidget* parent, Hover hover) : HyperImage(parent, std::move(hover)) {}
};

// Geometry of the side menu that its animation changes.
struct MenuGeometry
{
    int menuHeight;
    int tipsTop;
    std::array<int, 7> labelHeights; // Label1 to Label7; may go below zero, drawn as 0
};

// Folds ("Zwin") or unfolds ("Rozwin") the side menu in 10 ms steps. It works on its own copy
// of the geometry and posts every step (`apply`) and the end of an animation that ran to its
// last step (`done`) to the user interface thread, in the context of `window`, which must
// outlive the thread. Asked to end, it stops at its next pause and posts nothing more.
class TWatekZwinRozwinMenu : public QThread
{
public:
    TWatekZwinRozwinMenu(QString command, MenuGeometry start, QObject* window,
                         std::function<void(const MenuGeometry&)> apply,
                         std::function<void()> done);

protected:
    void run() override;

private:
    // False when the thread was asked to end before the last step.
    bool Animate();
    void Post(const MenuGeometry& step);
    QString command_;
    MenuGeometry g_;
    QObject* window_;
    std::function<void(const MenuGeometry&)> apply_;
    std::function<void()> done_;
};

// Folds or unfolds the help panel, growing and shrinking it downward from its top edge; it
// posts its steps as the menu's thread does.
class TWatekZwinRozwinMenuTips : public QThread
{
public:
    TWatekZwinRozwinMenuTips(QString command, int startHeight, QObject* window,
                             std::function<void(int height)> apply, std::function<void()> done);

protected:
    void run() override;

private:
    bool Animate();
    void Post(int height);
    QString command_;
    int height_;
    QObject* window_;
    std::function<void(int height)> apply_;
    std::function<void()> done_;
};
