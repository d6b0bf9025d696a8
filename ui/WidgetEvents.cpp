#include "WidgetEvents.h"

#include <QGuiApplication>
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

} // namespace

void OnEvent(QWidget* control, QEvent::Type type, std::function<void()> handler)
{
    Hook(control, [type, handler = std::move(handler)](QEvent* event) {
        if (event->type() == type) handler();
    });
}

void OnMouseMove(QWidget* control, std::function<void()> handler)
{
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
