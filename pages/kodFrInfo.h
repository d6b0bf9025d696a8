#pragma once

#include <QFrame>
#include <QStringList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Informacje o sprzedawcy" page: the vendor's name, model, support addresses and text that
// the system shows in its System properties, kept in "OEMINFO.INI" and written by the save
// button, and the vendor's logo "OEMLOGO.BMP", written the moment a picture is chosen.
class TfrInfo : public QFrame
{
public:
    explicit TfrInfo(QWidget* parent = nullptr);

    // The page's part of the start-up state reader.
    void LoadState();

    QPlainTextEdit* Memo1;
    QLabel* Label1;
    QLabel* Label2;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox3;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLabel* Label4;
    QLineEdit* Edit2;
    QLabel* Label5;
    QLineEdit* Edit3;
    QLabel* Label6;
    QLineEdit* Edit4;
    QLabel* Label7;
    QPlainTextEdit* InfoDodatkowe;
    QPushButton* SpeedButton2;
    QGroupBox* GroupBox2;
    QPushButton* SpeedButton1;
    QFrame* Panel1;
    QLabel* Image1;
    QLabel* Label9;

    void SpeedButton2Click();
    void SpeedButton1Click();
    void Image1DblClick();
};

// A memo's text as its lines: a line break ends a line, so a final one adds no empty line.
QStringList MemoLines(const QString& text);
// The entry of "Support Information" that holds the support text's line of that number (from 1).
QString SupportLineKey(int number);
// The value to write for a text so that the system's profile functions, which trim blanks and
// strip one pair of enclosing quotes when they read, give back exactly that text: quoted when
// either would change it, as it is otherwise.
QString ProfileValueOf(const QString& text);
