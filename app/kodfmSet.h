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
    ~TfmSet() override;

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

    // Kept from creation to the end of the program, for the reads and for snapping's switch.
    TRegistry reg_;
};

// The one settings dialog, or null while it does not exist.
TfmSet* FmSet();
