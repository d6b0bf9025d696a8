#pragma once

#include <QWidget>

class QLabel;

// The closing page of the animated wallpaper wizard: what "Zakończ" does and where the
// wallpaper then appears.
class TKreatorAnimFrEnd : public QWidget
{
public:
    explicit TKreatorAnimFrEnd(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label3;
    QLabel* Label2;
};
