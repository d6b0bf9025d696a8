#pragma once

#include <QFrame>

// The frame of the "Sztuczki" page.
class TFrSztuczki : public QFrame
{
public:
    explicit TFrSztuczki(QWidget* parent = nullptr);
};
