#pragma once

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QTableWidget;
class TRegistry;

// The "Pliki i foldery" page: four Explorer options, written the moment they change, and the
// locations of fifteen special folders, written by the accept button.
class TFrPlikiFoldery : public QFrame
{
public:
    explicit TFrPlikiFoldery(QWidget* parent = nullptr);

    // The page's part of the start-up state reader.
    void LoadState(TRegistry& reg);

    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QGroupBox* GroupBox2;
    QTableWidget* lista;
    QPushButton* SpeedButton1;

    void SpeedButton1Click();

private:
    void LoadFolders(TRegistry& reg);
};

// A special folder of the list: its Polish name and its value under "Shell Folders".
struct ShellFolder
{
    const char16_t* name;
    const char16_t* value;
};
// The fifteen folders in the order they are read and written.
extern const ShellFolder kShellFolders[15];
