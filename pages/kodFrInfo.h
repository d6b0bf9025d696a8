#pragma once

#include <QFrame>

// The frame of the "Informacje o sprzedawcy" page.
class TfrInfo : public QFrame
{
public:
    explicit TfrInfo(QWidget* parent = nullptr);
};
