#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QTextEdit;

// The "O programie" page: the program's name and edition, a button to the author dialog and
// the long description.
class TfrAbout : public QFrame
{
public:
    explicit TfrAbout(QWidget* parent = nullptr);

    // Loads the description from a rich-text file.
    void LoadText(const QString& file);

    QLabel* Label1;
    QLabel* Label2;
    QFrame* Bevel1;
    QPushButton* SpeedButton1;
    QTextEdit* RichEdit1;

    void SpeedButton1Click();
};
