#pragma once

#include <QFrame>

// The frame of the "MS-DOS" page.
class TFrDOS : public QFrame
{
public:
    explicit TFrDOS(QWidget* parent = nullptr);
};
