#pragma once

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QRadioButton;
class QSpinBox;
class TRegistry;

// The "Sieć" page: network and password policies, dial-up switches, a preset of TCP/IP values
// for modem and DSL links, NetWare options and a limit on accepted connections, each written the
// moment it changes.
class TFrSiec : public QFrame
{
public:
    explicit TFrSiec(QWidget* parent = nullptr);

    // The page's part of the start-up state reader.
    void LoadState(TRegistry& reg);

    QGroupBox* GroupBox1;
    QGroupBox* GroupBox1a;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox10;
    QCheckBox* CheckBox11;
    QCheckBox* CheckBox12;
    QCheckBox* CheckBox13;
    QCheckBox* CheckBox19;
    QSpinBox* SpinEdit1;
    QGroupBox* GroupBox1b;
    QCheckBox* CheckBox20;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QGroupBox* GroupBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox14;
    QCheckBox* CheckBox15;
    QCheckBox* CheckBox16;
    QGroupBox* GroupBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox21;
    QGroupBox* GroupBox5;
    QCheckBox* CheckBox17;
    QCheckBox* CheckBox18;

    void CheckBox6Click();
    void CheckBox15Click();
    void CheckBox19Click();
    void SpinEdit1Change();
    void CheckBox20Click();
    void RadioButton1Click();
    void RadioButton2Click();

private:
    void LoadTcpIpPreset(TRegistry& reg);
    void LoadMaxConnections(TRegistry& reg);
    void LoadSupportLFN(TRegistry& reg);
};
