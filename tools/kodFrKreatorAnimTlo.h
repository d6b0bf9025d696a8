#pragma once

#include <QColor>
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;

// Step 4 of the animated wallpaper wizard: the page's title and background colour.
class TKreatorAnimFrTlo : public QWidget
{
public:
    explicit TKreatorAnimFrTlo(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QLabel* Label5;
    QLabel* Label3;
    QFrame* PanelKolor;
    QLabel* Label4;

    // The colour the panel shows: the button face of the desktop until one is chosen.
    QColor Kolor() const;

    void PanelKolorClick();
};
