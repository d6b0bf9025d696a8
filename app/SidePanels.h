#pragma once

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

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// The images of the side menu: the mouse entering or leaving them unfolds or folds the menu.
class THyperImageMenu : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void CMMouseEnter();
    void CMMouseLeave();
};

// The images of the help panel: likewise for the help panel.
class THyperImageTips : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void CMMouseEnter();
    void CMMouseLeave();
};

// Geometry of the side menu that its animation changes.
struct MenuGeometry
{
    int menuHeight;
    int tipsTop;
    std::array<int, 7> labelHeights; // Label1 to Label7; may go below zero, drawn as 0
};

// Folds ("Zwin") or unfolds ("Rozwin") the side menu in 10 ms steps. It works on its own copy
// of the geometry and posts every step to the user interface thread; it frees itself.
class TWatekZwinRozwinMenu : public QThread
{
public:
    TWatekZwinRozwinMenu(QString command, MenuGeometry start);

protected:
    void run() override;

private:
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
    void Post(int height);
    QString command_;
    int height_;
};

// The picture of a data file with pure green, RGB(0, 255, 0), drawn transparent; a null
// picture when the file is missing.
QPixmap TransparentPicture(const QString& file);
