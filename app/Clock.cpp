#include "Clock.h"

#include <QLocale>
#include <chrono>

namespace {
SystemClock systemClock;
Clock* current = &systemClock;
} // namespace

namespace {

bool IsWordCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The format without its time zone (a word of "t" letters) and the blanks around it: the clock
// shows none. Written out rather than as a regular expression, which would load and compile a
// whole engine at start-up for this one line.
QString WithoutZone(const QString& format)
{
    QString kept;
    for (qsizetype i = 0; i < format.size();) {
        qsizetype end = i;
        while (end < format.size() && format[end] == u't')
            ++end;
        const bool zone = end > i && (i == 0 || !IsWordCharacter(format[i - 1])) &&
                          (end == format.size() || !IsWordCharacter(format[end]));
        if (!zone) {
            kept += format[i++];
            continue;
        }
        while (!kept.isEmpty() && kept.back().isSpace())
            kept.chop(1);
        for (i = end; i < format.size() && format[i].isSpace();)
            ++i;
    }
    return kept;
}

} // namespace

QString LongTimeString(const QTime& time)
{
    // The default locale is the system's unless someone (a test) chose another.
    const QLocale locale;
    return locale.toString(time, WithoutZone(locale.timeFormat(QLocale::LongFormat)).trimmed());
}

void Clock::Stop()
{
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

void Clock::Wake()
{
    // Taking the lock orders the wake after a sleeper's check of its stop condition.
    {
        std::lock_guard lock(mutex_);
    }
    wake_.notify_all();
}

bool SystemClock::Sleep(int milliseconds)
{
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [this] { return Stopped(); });
}

Clock& ProgramClock() { return *current; }

void SetProgramClock(Clock* clock) { current = clock ? clock : &systemClock; }

void TWatekCzasu::Finish()
{
    requestInterruption();
    ProgramClock().Stop();
    wait();
}

void TWatekCzasu::run()
{
    while (!isInterruptionRequested() && ProgramClock().Sleep(1000)) {
        const QString text = LongTimeString(ProgramClock().Now());
        // The thread object lives on the user interface thread and outlives this loop; a time
        // still queued when it is destroyed is dropped with it.
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                if (label_) label_->setText(text);
            },
            Qt::QueuedConnection);
    }
}
