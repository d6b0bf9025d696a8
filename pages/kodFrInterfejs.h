#pragma once

#include <QFrame>

// The frame of the "Interfejs użytkownika" page.
class TFrInterfejs : public QFrame
{
public:
    explicit TFrInterfejs(QWidget* parent = nullptr);
};
