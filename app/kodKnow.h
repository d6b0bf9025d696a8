#pragma once

#include <QDialog>

class QTextEdit;

// The dialog "Czy wiesz, że...": curiosities about the program. The main window makes it the
// first time it is asked for and owns it.
class TfmKnow : public QDialog
{
public:
    explicit TfmKnow(QWidget* parent = nullptr);

    QTextEdit* RichEdit;
};
