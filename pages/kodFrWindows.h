#pragma once

#include <QFrame>

class QLabel;
class QSlider;

// The frame of the "Windows" page.
class TfrWindows : public QFrame
{
public:
    explicit TfrWindows(QWidget* parent = nullptr);

    // The total memory, known before the start-up reader runs: the slider reaches up to it.
    void ShowMemorySize(int megabytes);

    QLabel* Label7;     // the total memory in MiB
    QSlider* TrackBar1; // its maximum is the total memory
};
