#include "WidgetEvents.h"

#include <QWidget>

namespace {

class EventHook : public QObject
{
public:
    EventHook(QWidget* control, QEvent::Type type, std::function<void()> handler)
        : QObject(control), type_(type), handler_(std::move(handler))
    {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type_) handler_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> handler_;
};

} // namespace

void OnEvent(QWidget* control, QEvent::Type type, std::function<void()> handler)
{
    control->installEventFilter(new EventHook(control, type, std::move(handler)));
}

void OnMouseMove(QWidget* control, std::function<void()> handler)
{
    control->setMouseTracking(true);
    OnEvent(control, QEvent::MouseMove, std::move(handler));
}
