#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QTabWidget;
class TfrAbout;
class TfrEdytorSysFiles;
class TfrIkony;
class TfrInfo;
class TfrWindows;
class TFrDOS;
class TFrInterfejs;
class TFrPlikiFoldery;
class TFrSiec;
class TFrSztuczki;

// The main window: the ten pages, the clock, the computer's name, the side menu and the help
// panel. Creating it reads the program's settings and fills every page from the system.
class TMainForm : public QWidget
{
public:
    TMainForm();
    ~TMainForm() override;

    // Pages, in tab order.
    QTabWidget* Karty;
    TfrIkony* FrIkony;
    TFrPlikiFoldery* FrPlikiFoldery;
    TFrInterfejs* FrInterfejs;
    TfrWindows* frWindows;
    TFrSiec* FrSiec;
    TFrDOS* FrDOS;
    TfrInfo* frInfo;
    TfrEdytorSysFiles* frEdytorSysFiles;
    TfrAbout* frAbout;
    TFrSztuczki* FrSztuczki;

    QLabel* rysunek_kuli;
    QLabel* Zegar;
    QLabel* LabelDla = nullptr;
    QLabel* LabelNazwa = nullptr;
    QWidget* Menu;
    QWidget* MenuTips;
    QPlainTextEdit* OpisPomocy; // the help box

    // The Control Panel applets' file names in upper case, filled by the state reader.
    QStringList AppletFiles;

    // Puts a control's help text into the help box; the same text again changes nothing.
    void ShowHelpText(const QString& text);

    // True when the saved position could not be used and the window is centred.
    bool Centred() const { return centred_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void FormDestroy();

    bool centred_ = false;
};

// The one main window, or null before it exists and after it is gone.
TMainForm* MainForm();

// The help text of a control, shown in the main window's help box.
void ShowHelpText(const QString& text);
