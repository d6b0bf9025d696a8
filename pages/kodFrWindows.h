#pragma once

#include <QByteArray>
#include <QColor>
#include <QFrame>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class TRegistry;

// The "Windows" page: the autostart list and the task scheduler, the editor of installed
// programs, the cursor blink rate, the start-up message, the display settings, memory release
// and the swap file, and the policies that lock parts of the Control Panel and the printers.
class TfrWindows : public QFrame
{
public:
    explicit TfrWindows(QWidget* parent = nullptr);

    // The total memory, known before the start-up reader runs: the slider reaches up to it.
    void ShowMemorySize(int megabytes);
    // The page's part of the start-up state reader.
    void LoadState(TRegistry& reg);

    QGroupBox* GroupBox5;
    QLabel* Label6;
    QListWidget* Lista;
    QPushButton* BitBtn3;
    QGroupBox* GroupBox14;
    QCheckBox* CheckBox19;

    QGroupBox* GroupBox7;
    QLabel* Label8;
    QPushButton* Button1;

    QGroupBox* GroupBox13;
    QLabel* Label15;
    QLabel* Label16;
    QSpinBox* SpinEdit1;
    QLabel* Label17;
    QCheckBox* CheckBox18;

    QGroupBox* GroupBox11;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLabel* Label4;
    QPlainTextEdit* Memo1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button6;

    QGroupBox* GroupBox12;
    QLabel* Label13;
    QLabel* Label14;
    QLineEdit* Edit2;
    QLabel* Label21;
    QLineEdit* Edit5;
    QLabel* Label18;
    QLineEdit* Edit3;
    QLabel* Label20;
    QLineEdit* Edit4;
    QPushButton* Button5;

    QGroupBox* GroupBox16;
    QGroupBox* GroupBox1;
    QPushButton* SpeedButton1;
    QSlider* TrackBar1; // its maximum is the total memory
    QLabel* Label1;
    QLabel* Label11;
    QLabel* Label9;
    QLabel* Label5;
    QLabel* Label7; // the total memory in MiB
    QLabel* Label10;
    QGroupBox* GroupBox17;
    QCheckBox* CheckBox20;
    QLabel* Label22;

    QGroupBox* GroupBox15;
    QGroupBox* GroupBox3;
    QCheckBox* CheckBox7;
    QGroupBox* GroupBox4;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QGroupBox* GroupBox9;
    QCheckBox* CheckBox14;
    QCheckBox* CheckBox24;
    QGroupBox* GroupBox8;
    QCheckBox* CheckBox10;
    QCheckBox* CheckBox11;
    QCheckBox* CheckBox12;
    QCheckBox* CheckBox13;
    QGroupBox* GroupBox10;
    QCheckBox* CheckBox15;
    QLabel* Label12;
    QCheckBox* CheckBox16;
    QCheckBox* CheckBox17;
    QCheckBox* CheckBox5;
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox3;
    QGroupBox* GroupBox6;
    QCheckBox* CheckBox6;

    void CheckBox5Click();
    void CheckBox7Click();
    void CheckBox19Click();
    void SpinEdit1Change();
    void BitBtn3Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void TrackBar1Change();
    void SpeedButton1Click();

private:
    void BuildAutostart();
    void BuildProgramsAndCursor();
    void BuildMessage();
    void BuildDisplay();
    void BuildMemory();
    void BuildAccess();
    void LoadAutostart(TRegistry& reg);
    void LoadBlinkRate(TRegistry& reg);
    // The start-up message as it is stored: the memo's lines joined by CR LF.
    QString MessageText() const;
};

// The length of a memo's text as it is stored, each line break a carriage return and a line feed.
int StoredLength(const QString& memoText);

// The memory slider's colours: green up to half the total, amber up to two thirds (counted
// as the total less a third of it, both in whole megabytes), red above.
QColor MemoryColour(int megabytes, int totalMegabytes);

// The memory-release script for an amount in megabytes, as the bytes of its file. The byte
// count is capped at the largest length Space() accepts.
QByteArray FreeMemScript(int megabytes);

// A field of the display settings that may be written: a whole number above 0, digits only.
bool IsDisplayNumber(const QString& text);
// Whether a resolution needs confirming: width and height together above 1024 + 768.
bool ResolutionNeedsConfirming(int width, int height);
