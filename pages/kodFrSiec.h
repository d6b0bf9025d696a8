#pragma once

#include <QFrame>

// The frame of the "Sieć" page.
class TFrSiec : public QFrame
{
public:
    explicit TFrSiec(QWidget* parent = nullptr);
};
