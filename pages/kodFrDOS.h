#pragma once

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QLabel;
class QSpinBox;
class TRegistry;

// The "MS-DOS" page: two per-user policies against MS-DOS programs, and the start-up options of
// Windows kept in the section "Options" of "MsDos.sys" in the root of the Windows drive, each
// written the moment it changes.
class TFrDOS : public QFrame
{
public:
    explicit TFrDOS(QWidget* parent = nullptr);

    // The page's part of the start-up state reader. It clears the attributes of "MsDos.sys" so
    // the page can write it; the main window sets them back when the program ends.
    void LoadState(TRegistry& reg);

    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QSpinBox* CzasMenu;
    QLabel* Label4;
    QCheckBox* CheckBox6;
    QSpinBox* AktywneF;
    QLabel* Label5;
    QCheckBox* CheckBox7;

    void CheckBox5Click();
    void CheckBox6Click();
};
