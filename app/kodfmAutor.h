#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;

// The author dialog "O autorze...": contact lines and a picture that changes while the mouse
// button is held on it.
class TfmAutor : public QDialog
{
public:
    explicit TfmAutor(QWidget* parent = nullptr);

    QLabel* Autor;
    QLabel* Autor2;
    QTextEdit* RichEdit2;
    QPushButton* SpeedButton1;

    void AutorMouseDown();
    void AutorMouseUp();
    void SpeedButton1Click();
};

// The contact text: eleven lines.
QString AuthorContactText();
