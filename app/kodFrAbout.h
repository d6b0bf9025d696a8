#pragma once

#include <QFrame>

// The frame of the "O programie" page.
class TfrAbout : public QFrame
{
public:
    explicit TfrAbout(QWidget* parent = nullptr);
};
