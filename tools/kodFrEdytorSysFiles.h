#pragma once

#include <QByteArray>
#include <QFrame>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TRegistry;

// What a file dialog keeps between uses. Pickers answer with host paths, and the editor reads
// and writes those; the folders kept in the settings are their Windows paths, as the system
// would name them.
struct FileDialogState
{
    QString Title;
    QStringList Filter; // "Name|*.ext" pairs
    QString InitialDir; // a Windows path; "%windir%" stands for the Windows directory
    QString FileName;   // the host path last chosen, or empty
};

// Where a picker starts: the file it last gave, else its initial folder, as a host path.
QString PickerStart(const FileDialogState& dialog);

// A file's bytes (windows-1250, any line ends) as the editor's text, lines ended by "\n".
// Every byte maps to one character, so bytes the code page leaves undefined come back unchanged.
QString EditorText(const QByteArray& bytes);
// The editor's text as the bytes of a file: windows-1250, lines ended by CR LF.
QByteArray FileBytes(const QString& text);

// The "Edytor plików systemowych" page: a plain-text editor for start-up and configuration
// files, with ready-made batch and profile lines, remembering the folders last used.
class TfrEdytorSysFiles : public QFrame
{
public:
    explicit TfrEdytorSysFiles(QWidget* parent = nullptr);

    // The page's part of the start-up state reader: the pickers' remembered folders.
    void LoadState(TRegistry& reg);

    // Forgets both files and empties the text with its undo history.
    void ResetEditor();

    QPlainTextEdit* editor;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;
    QPushButton* SpeedButton4;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QLabel* Label2;
    QComboBox* ComboBox2;

    FileDialogState OpenD;
    FileDialogState SaveD;

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void ComboBox1Change();
    void ComboBox2Change();

private:
    void LoadFile(const QString& hostPath);
    void SaveTo(const QString& hostPath);
    // Puts the text in as a new line before the caret's line.
    void InsertLine(const QString& text);
};
