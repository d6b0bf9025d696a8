#pragma once

#include <QDialog>
#include <QStringList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The editor of the list of installed programs, made hidden at start and shown on demand: the
// entries of the machine-wide uninstall key by name, with each one's name and removal command.
class TfmProgramy : public QDialog
{
public:
    explicit TfmProgramy(QWidget* parent = nullptr);
    ~TfmProgramy() override;

    // The program's one editor, made at start (its list lives from one showing to the next).
    static TfmProgramy& Shared();

    // Rebuilds the rows and their subkeys from the registry; no row is selected after it.
    void LoadProgramList();
    // Fills the two fields from the subkey of a row.
    void ShowEntryDetails(int row);
    // The row the user selected; -1 when none is.
    int SelectedRow() const;

    QGroupBox* GroupBox1;
    QListWidget* Lista;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* NazwaProgramu;
    QLabel* Label3;
    QLineEdit* uninstaller;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

    // The subkey name of each row of Lista, in the same order.
    QStringList UninstallKeys;

    void ListaClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
};
