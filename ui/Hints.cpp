#include "Hints.h"

#include <QApplication>
#include <QEvent>

namespace {

// Swallows every tool tip request of the application while hints are off.
class HintSwitch : public QObject
{
public:
    bool on = true;

    bool eventFilter(QObject*, QEvent* event) override
    {
        return !on && event->type() == QEvent::ToolTip;
    }
};

HintSwitch& Switch()
{
    static HintSwitch* hints = [] {
        auto* created = new HintSwitch;
        if (qApp) {
            created->setParent(qApp);
            qApp->installEventFilter(created);
        }
        return created;
    }();
    return *hints;
}

} // namespace

void SetShowHints(bool on) { Switch().on = on; }

bool ShowHints() { return Switch().on; }
