#pragma once

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QTime>
#include <atomic>
#include <condition_variable>
#include <mutex>

// A time in the system's long time format, without a time zone (as Windows shows it).
QString LongTimeString(const QTime& time);

// Where the threads' pauses and the clock's time come from, so tests run a ten-second fold
// in milliseconds and read a time they chose.
class Clock
{
public:
    virtual ~Clock() = default;
    // Waits; returns early, with false, once Stop has been called or the calling thread has
    // been asked to end (and woken by Wake).
    virtual bool Sleep(int milliseconds) = 0;
    virtual QTime Now() = 0;
    void Stop();
    // Wakes every sleeper, so that a thread asked to end stops waiting.
    void Wake();

protected:
    bool Stopped() const { return stopped_ || QThread::currentThread()->isInterruptionRequested(); }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stopped_ = false;
};

class SystemClock : public Clock
{
public:
    bool Sleep(int milliseconds) override;
    QTime Now() override { return QTime::currentTime(); }
};

Clock& ProgramClock();
void SetProgramClock(Clock* clock);

// The clock thread: once a second it puts the time into the label it shows on, on the user
// interface thread. It never touches a widget itself.
class TWatekCzasu : public QThread
{
public:
    TWatekCzasu() = default;
    // Called on the user interface thread. The thread runs before the window exists and after
    // it is gone, so the label is looked up when each time arrives: a gone label shows nothing.
    void ShowOn(QLabel* label) { label_ = label; }
    // Asks the loop to end after its current pause and waits for it.
    void Finish();

protected:
    void run() override;

private:
    // Read on the user interface thread only.
    QPointer<QLabel> label_;
};
