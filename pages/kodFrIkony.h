#pragma once

#include <QFrame>
#include <QStringList>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class TRegistry;

// The "Ikony" page: the pop-up descriptions of five desktop icons, desktop icon switches, the
// shortcut arrow, the icons' colour depth, bitmap previews, the Recycle Bin's name, hidden
// Control Panel applets and a drive's own icon.
class TfrIkony : public QFrame
{
public:
    explicit TfrIkony(QWidget* parent = nullptr);

    // The page's part of the start-up state reader. The list, held by the main window, receives
    // the applets' upper-case file names, one per item of ChckList; the page keeps it to write
    // the applets' visibility later.
    void LoadState(TRegistry& reg, QStringList& appletFiles);

    // The picture-file dialog of the drive icon: it keeps the last chosen file until cleared.
    struct PictureDialog
    {
        QString FileName; // host path; empty when none is chosen
        bool Execute(QWidget* parent);
    };

    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;
    QPushButton* SpeedButton4;
    QPushButton* SpeedButton5;
    QPushButton* SpeedButton6;
    QPushButton* SpeedButton7;
    QPushButton* SpeedButton8;
    QPushButton* SpeedButton9;
    QPushButton* SpeedButton10;
    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox3;
    QLabel* IkonaSkrotu;
    QGroupBox* GroupBox6;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QLabel* Image2; // the colour-depth picture
    QGroupBox* GroupBox2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QLabel* Image3; // a bitmap file's icon showing its picture
    QGroupBox* GroupBox3;
    QLabel* Image1;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLabel* Panel1;
    QPushButton* Button1;
    QMenu* PopupMenu1;
    QGroupBox* GroupBox4;
    QListWidget* ChckList;
    QGroupBox* GroupBox5;
    QComboBox* ComboBox1;
    QPushButton* SpeedButton12;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QPushButton* SpeedButton13;
    QPushButton* SpeedButton14;
    PictureDialog OpenIkony;

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void CheckBox1Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void Button1Click();
    void Panel1Click();
    void PopupMenu1ItemClick(QAction* item);
    void ChckListClick();
    void ComboBox1Change();
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton14Click();

private:
    void BuildDescriptions();
    void BuildGeneral();
    void BuildBin();
    void BuildApplets();
    void BuildDriveIcons();
    void LoadNamespaceBox(TRegistry& reg, const QString& subkey, QCheckBox* box);
    void LoadApplets(QStringList& appletFiles);
    void EditDescription(int icon);
    void RestoreDescription(int icon);
    void ShowQuestion(bool shown);

    QStringList* appletFiles_ = nullptr;
};

// The caption the applet list shows for a file name, or the name itself when it has none.
QString AppletCaption(const QString& fileName);
// The drive a text names by its first character, upper-cased; nothing unless it is a letter A-Z.
std::optional<QChar> DriveLetter(const QString& text);
// The text of the error raised when a description cannot be written to the icon's class key.
QString MissingClassKeyText(const QString& classKey);
