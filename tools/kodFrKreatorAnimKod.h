#pragma once

#include <QWidget>

class QComboBox;
class QLabel;

// Step 2 of the animated wallpaper wizard: the character encoding the page declares.
class TKreatorAnimFrKod : public QWidget
{
public:
    explicit TKreatorAnimFrKod(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QComboBox* CbKodowanie;
    QLabel* Label3;
};
