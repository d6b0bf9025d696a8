#include "Clock.h"

#include "kodMainForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <chrono>

namespace {
SystemClock systemClock;
Clock* current = &systemClock;
} // namespace

QString LongTimeString(const QTime& time)
{
    // The default locale is the system's unless someone (a test) chose another.
    const QLocale locale;
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.remove(zone);
    return locale.toString(time, format.trimmed());
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
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [text] {
                    if (TMainForm* form = MainForm()) form->Zegar->setText(text);
                },
                Qt::QueuedConnection);
    }
}
