#include "WidgetEvents.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

namespace {

class EventHook : public QObject
{
public:
    EventHook(QWidget* control, std::function<void(QEvent*)> handler)
        : QObject(control), handler_(std::move(handler))
    {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        handler_(event);
        return false;
    }

private:
    std::function<void(QEvent*)> handler_;
};

void Hook(QWidget* control, std::function<void(QEvent*)> handler)
{
    control->installEventFilter(new EventHook(control, std::move(handler)));
}

bool LeftButton(QEvent* event)
{
    return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

bool TakesWheelToChange(const QObject* object)
{
    return qobject_cast<const QAbstractSpinBox*>(object) || qobject_cast<const QComboBox*>(object);
}

class FocusedWheel : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* object, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Polish && type != QEvent::Wheel) || !TakesWheelToChange(object))
            return false;
        auto* control = static_cast<QWidget*>(object);
        // Qt's own policy would hand such a control the focus on the first notch.
        if (type == QEvent::Polish && control->focusPolicy() == Qt::WheelFocus)
            control->setFocusPolicy(Qt::StrongFocus);
        if (type != QEvent::Wheel || control->hasFocus()) return false;
        // Ignored and stopped here, so that Qt passes it to the parents.
        event->ignore();
        return true;
    }
};

} // namespace

void WheelOnlyWithFocus()
{
    static FocusedWheel* filter = nullptr;
    if (filter) return;
    filter = new FocusedWheel(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

void OnEvent(QWidget* control, QEvent::Type type, std::function<void()> handler)
{
    Hook(control, [type, handler = std::move(handler)](QEvent* event) {
        if (event->type() == type) handler();
    });
}

void OnMouseMove(QWidget* control, std::function<void()> handler)
{
    // A list's or a memo's items lie on its viewport, which takes the moves over them.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
        area->viewport()->setMouseTracking(true);
        OnEvent(area->viewport(), QEvent::MouseMove, handler);
    }
    control->setMouseTracking(true);
    OnEvent(control, QEvent::MouseMove, std::move(handler));
}

void OnLeftClick(QWidget* control, std::function<void()> handler)
{
    Hook(control, [control, handler = std::move(handler), pressed = false](QEvent* event) mutable {
        if (event->type() == QEvent::MouseButtonPress && LeftButton(event)) pressed = true;
        if (event->type() != QEvent::MouseButtonRelease || !LeftButton(event)) return;
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (std::exchange(pressed, false) && control->rect().contains(at)) handler();
    });
}

void OnLeftDoubleClick(QWidget* control, std::function<void()> handler)
{
    Hook(control, [handler = std::move(handler)](QEvent* event) {
        if (event->type() == QEvent::MouseButtonDblClick && LeftButton(event)) handler();
    });
}

void CentreOnScreen(QWidget* window)
{
    OnEvent(window, QEvent::Show, [window] {
        const QScreen* screen =
            window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->geometry().center());
        window->move(frame.topLeft());
    });
}
