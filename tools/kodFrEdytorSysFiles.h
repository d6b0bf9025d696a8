#pragma once

#include <QFrame>

// The frame of the system files editor page.
class TfrEdytorSysFiles : public QFrame
{
public:
    explicit TfrEdytorSysFiles(QWidget* parent = nullptr);
};
