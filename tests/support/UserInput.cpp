#include "UserInput.h"

#include <QApplication>
#include <QScrollArea>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

namespace {

// Scrolls every scrolled page that holds the control until the point is in sight, as a user
// scrolls to reach it.
void ScrollIntoView(QWidget* control, QPoint at)
{
    for (QWidget* inner = control; inner->parentWidget(); inner = inner->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(inner->parentWidget()->parentWidget())) {
            const QPoint point = control == inner ? at : control->mapTo(inner, at);
            area->ensureVisible(point.x(), point.y(), 40, 40);
        }
}

// The window system's window of the top-level widget that holds a control, and the point of
// the control in it.
QWindow* WindowOf(QWidget* control, QPoint& at)
{
    if (at == QPoint(-1, -1)) at = Centre(control);
    ScrollIntoView(control, at);
    QWidget* top = control->window();
    at = control->mapTo(top, at);
    return top->windowHandle();
}

// Where the keyboard goes: the window that has the focus, or else the active one.
QWindow* KeyboardWindow()
{
    if (QWindow* window = QGuiApplication::focusWindow()) return window;
    QWidget* active = QApplication::activeWindow();
    return active ? active->windowHandle() : nullptr;
}

} // namespace

bool ShowActive(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 5000);
}

QPoint Centre(const QWidget* control) { return control->rect().center(); }

void Click(QWidget* control, Qt::MouseButton button, QPoint at)
{
    QWindow* window = WindowOf(control, at);
    QTest::mouseClick(window, button, Qt::NoModifier, at);
}

void DoubleClick(QWidget* control, QPoint at)
{
    QWindow* window = WindowOf(control, at);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(KeyboardWindow(), key, modifiers);
}

void Type(const QString& text)
{
    for (const QChar c : text) {
        const auto key = Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, KeyboardWindow(), key, QString(c), Qt::NoModifier);
    }
}

void Wheel(QWidget* control, int notches)
{
    // Handed to the widget under the pointer the way the window hands a real one on, marked as
    // coming from the window system: only then does Qt pass it up to the parents that take it.
    QPoint at(-1, -1);
    WindowOf(control, at);
    QWidget* top = control->window();
    QWidget* under = top->childAt(at);
    if (!under) under = top;
    const QPointF local = under->mapFrom(top, at);
    QWheelEvent wheel(local, top->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(under, &wheel);
    QCoreApplication::processEvents();
}
