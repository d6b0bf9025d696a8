#pragma once

#include <QFrame>

// The frame of the "Ikony" page.
class TfrIkony : public QFrame
{
public:
    explicit TfrIkony(QWidget* parent = nullptr);
};
