#pragma once

#include <QDialog>

class QTextEdit;

// The dialog "Czy wiesz, że...": curiosities about the program.
class TfmKnow : public QDialog
{
public:
    explicit TfmKnow(QWidget* parent = nullptr);
    ~TfmKnow() override;

    QTextEdit* RichEdit;
};

// The curiosities dialog, made the first time it is asked for and owned by the main window.
TfmKnow& FmKnow();
