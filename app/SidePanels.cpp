#include "SidePanels.h"

#include "Clock.h"

#include <QResizeEvent>

namespace {

constexpr int kStepPause = 10;
constexpr int kFoldDelay = 10000;

// Moves a panel by 1, 2, 3... pixels a pause, in the given direction, until it has gone far
// enough. False when the thread was asked to end during a pause: then it moves no further.
template <class Move, class Reached>
bool Accelerate(Clock& clock, int direction, Move move, Reached reached)
{
    int step = 0;
    do {
        ++step;
        if (!clock.Sleep(kStepPause)) return false;
        move(direction * step);
    } while (!reached());
    return true;
}

// Runs a change of the window on the user interface thread; the animation threads never touch
// a widget themselves. The window is the change's context, so a step still queued when the
// window goes is dropped with it.
void OnUiThread(QObject* window, std::function<void()> change)
{
    QMetaObject::invokeMethod(window, std::move(change), Qt::QueuedConnection);
}

} // namespace

SidePanel::SidePanel(QWidget* parent, const char* name, QRect geometry) : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
}

void SidePanel::resizeEvent(QResizeEvent*) { Arrange(); }

void SidePanel::Arrange()
{
    const int h = height();
    if (TopCap) TopCap->setGeometry(0, 0, 130, 20);
    if (BottomCap) BottomCap->setGeometry(0, h - 20, 130, 20);
    if (Filler) Filler->setGeometry(0, 20, 130, std::max(0, h - 40));
    if (Body) Body->setGeometry(2, 20, 126, std::max(0, h - 40));
}

void HyperImage::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    CMMouseEnter();
}

void HyperImage::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    CMMouseLeave();
}

void HyperImage::CMMouseEnter() { hover_(true); }

void HyperImage::CMMouseLeave() { hover_(false); }

TWatekZwinRozwinMenu::TWatekZwinRozwinMenu(QString command, MenuGeometry start, QObject* window,
                                           std::function<void(const MenuGeometry&)> apply,
                                           std::function<void()> done)
    : command_(std::move(command)), g_(start), window_(window), apply_(std::move(apply)),
      done_(std::move(done))
{}

void TWatekZwinRozwinMenu::Post(const MenuGeometry& step)
{
    OnUiThread(window_, [apply = apply_, step] { apply(step); });
}

// The busy flag is cleared on the user interface thread after the last step, so a trigger
// never sees a panel between two steps.
void TWatekZwinRozwinMenu::run()
{
    if (Animate()) OnUiThread(window_, done_);
}

bool TWatekZwinRozwinMenu::Animate()
{
    Clock& clock = ProgramClock();
    const auto movePanels = [&](int by) {
        g_.menuHeight += by;
        g_.tipsTop += by;
        Post(g_);
    };
    const auto growLabels = [&](int by) {
        if (!clock.Sleep(kStepPause)) return false;
        for (int& h : g_.labelHeights)
            h += by;
        Post(g_);
        return true;
    };
    if (command_ == u"Rozwin") {
        if (!Accelerate(clock, +1, movePanels, [&] { return g_.menuHeight >= 160; })) return false;
        g_.menuHeight = 160;
        Post(g_);
        do
            if (!growLabels(+1)) return false;
        while (g_.labelHeights[0] < 20);
    } else if (command_ == u"Zwin") {
        if (!clock.Sleep(kFoldDelay)) return false;
        do
            if (!growLabels(-1)) return false;
        while (g_.labelHeights[0] > 0);
        if (!Accelerate(clock, -1, movePanels, [&] { return g_.menuHeight <= 40; })) return false;
        g_.menuHeight = 40;
        Post(g_);
    }
    return true;
}

TWatekZwinRozwinMenuTips::TWatekZwinRozwinMenuTips(QString command, int startHeight,
                                                   QObject* window,
                                                   std::function<void(int height)> apply,
                                                   std::function<void()> done)
    : command_(std::move(command)), height_(startHeight), window_(window), apply_(std::move(apply)),
      done_(std::move(done))
{}

void TWatekZwinRozwinMenuTips::Post(int height)
{
    OnUiThread(window_, [apply = apply_, height] { apply(height); });
}

void TWatekZwinRozwinMenuTips::run()
{
    if (Animate()) OnUiThread(window_, done_);
}

bool TWatekZwinRozwinMenuTips::Animate()
{
    Clock& clock = ProgramClock();
    const auto resize = [&](int by) { Post(height_ += by); };
    if (command_ == u"Rozwin") {
        if (!Accelerate(clock, +1, resize, [&] { return height_ >= 180; })) return false;
        Post(height_ = 180);
    } else if (command_ == u"Zwin") {
        if (!clock.Sleep(kFoldDelay)) return false;
        if (!Accelerate(clock, -1, resize, [&] { return height_ <= 40; })) return false;
        Post(height_ = 40);
    }
    return true;
}
