#include "MouseMove.h"

#include <QEvent>
#include <QWidget>

namespace {

class MouseMoveFilter : public QObject
{
public:
    MouseMoveFilter(QWidget* control, std::function<void()> handler)
        : QObject(control), handler_(std::move(handler))
    {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove) handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void OnMouseMove(QWidget* control, std::function<void()> handler)
{
    control->setMouseTracking(true);
    control->installEventFilter(new MouseMoveFilter(control, std::move(handler)));
}
