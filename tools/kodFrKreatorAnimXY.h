#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QSpinBox;

// Step 3 of the animated wallpaper wizard: the area the movie covers and its alignment.
class TKreatorAnimFrXY : public QWidget
{
public:
    explicit TKreatorAnimFrXY(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label5;
    QLabel* Label3;
    QSpinBox* SpinX;
    QLabel* Label4;
    QSpinBox* SpinY;
    QLabel* Label2;
    QLabel* Label7;
    QLabel* Label9;
    QComboBox* ComboBox1;
};
