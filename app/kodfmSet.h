#pragma once

#include "TRegistry.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// The settings dialog "Konfiguracja": window snapping and the folder context-menu entry. Its
// check boxes are the program's live copy of the two settings.
class TfmSet : public QDialog
{
public:
    explicit TfmSet(QWidget* parent = nullptr);

    QGroupBox* GroupBox2;
    QCheckBox* CheckBox2;
    QGroupBox* GroupBox1;
    QPlainTextEdit* Memo1;
    QCheckBox* CheckBox1;
    QPushButton* SpeedButton1;

    void CheckBox1Click();
    void CheckBox2Click();
    void SpeedButton1Click();

private:
    void FormCreate();
    // Adds or removes the folder context-menu entry that starts the program, and stores the
    // choice.
    void SetShellIntegration(bool on);

    // Kept from creation to the end of the program, for the reads and for snapping's switch.
    TRegistry reg_;
};
