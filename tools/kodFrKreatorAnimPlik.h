#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

// Step 1 of the animated wallpaper wizard: the Flash movie the wallpaper shows.
class TKreatorAnimFrPlik : public QWidget
{
public:
    explicit TKreatorAnimFrPlik(QWidget* parent = nullptr);

    QLabel* Label1;
    QPushButton* SpeedButton1;
    QLabel* Label7;
    QLabel* LLokalizacja;
    QLabel* Label2;
    QLabel* Label3;

    // The file last picked in the open dialog, as the system names it; empty until one is.
    QString DialogOtworzFileName;

    void SpeedButton1Click();
};
