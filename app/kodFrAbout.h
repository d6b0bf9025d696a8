#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;
class QPushButton;
class QTextEdit;
class TfmAutor;

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

    // The author dialog, made the first time it is asked for and owned by the page's window.
    TfmAutor& FmAutor();

private:
    QPointer<TfmAutor> author_;
};
