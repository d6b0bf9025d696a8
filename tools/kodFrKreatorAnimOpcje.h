#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

// Step 5 of the animated wallpaper wizard: the playback quality and the movie's context menu.
class TKreatorAnimFrOpcje : public QWidget
{
public:
    explicit TKreatorAnimFrOpcje(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label8;
    QComboBox* CbJakosc;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label4;
    QCheckBox* ChckMenu;
};
