#pragma once

#include <QFrame>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class TRegistry;

// The "Interfejs użytkownika" page: Start menu policies with a picture of the Start menu whose
// entries disappear as they are hidden, taskbar and desktop options, the delay of cascading
// menus, a Control Panel folder in the Start menu, the repair of the doubled system tray and
// the way into the animated wallpaper wizard. Every box writes its setting when it changes.
class TFrInterfejs : public QFrame
{
public:
    explicit TFrInterfejs(QWidget* parent = nullptr);

    // The page's part of the start-up state reader.
    void LoadState(TRegistry& reg);

    QLabel* Image1;
    QLabel* Image2;
    QLabel* Image3;
    QLabel* Image4;
    QLabel* Image5;
    QLabel* Image6;
    QLabel* Image7;
    QLabel* Image8;
    QLabel* Image9;

    QFrame* Panel1;
    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QLabel* Label1;

    QGroupBox* GroupBox7;
    QCheckBox* CheckBox12;
    QCheckBox* CheckBox13;
    QCheckBox* CheckBox10;
    QCheckBox* CheckBox19;
    QCheckBox* CheckBox20;
    QCheckBox* CheckBox21;
    QCheckBox* CheckBox22;
    QCheckBox* CheckBox23;
    QLabel* Label11;
    QCheckBox* CheckBox25;

    QGroupBox* GroupBox2;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox11;

    QGroupBox* GroupBox4;
    QLabel* Label6;
    QSpinBox* CzasMenu;
    QLabel* Label10;
    QPushButton* Button2;

    QGroupBox* GroupBox5;
    QLabel* Label3;
    QLineEdit* nazwa;
    QLabel* Label4;
    QLabel* Label5;
    QToolButton* BitBtn2;

    QGroupBox* GroupBox3;
    QLabel* Label2;
    QPushButton* BitBtn1;

    QGroupBox* GroupBox17;
    QLabel* Label13;
    QPushButton* SpeedButton2;

    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox6Click();
    void CheckBox7Click();
    void CheckBox8Click();
    void CheckBox19Click();
    void CheckBox22Click();
    void CheckBox23Click();
    void Button2Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void SpeedButton2Click();

private:
    void BuildStartMenu(QWidget* sheet);
    void BuildPanel1(QWidget* sheet);
    void BuildGroupBox7(QWidget* sheet);
    void BuildGroupBox2(QWidget* sheet);
    void BuildGroupBox4(QWidget* sheet);
    void BuildGroupBox5(QWidget* sheet);
    void BuildGroupBox3(QWidget* sheet);
    void BuildGroupBox17(QWidget* sheet);
    // The Programs entry of the picture as the box says: without or with its submenu.
    void ShowProgramsEntry();
};

// The caption the reader gives the Control Panel button: two lines split by a carriage return.
extern const QString kBitBtn2Caption;

// The delay the spin box shows for a stored "MenuShowDelay": nothing for a text that is no
// number, else the number kept within 1 to 10000 milliseconds.
std::optional<int> MenuDelayShown(const QString& stored);

// Whether a name typed for the Control Panel folder may become part of a folder name in
// "Menu Start": no character a folder name cannot hold, no path separators that would lead
// elsewhere, and not dots alone. The empty name is allowed (the folder is the class id alone).
bool IsFolderNameAllowed(const QString& name);
