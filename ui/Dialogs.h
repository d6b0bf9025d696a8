#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

enum class MessageIcon
{
    None,
    Information,
    Warning,
    Error,
    Question
};
enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo
};
enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No,
    Closed // the box was closed without a button
};

// Every message box, question, input dialog and picker of the program goes through this
// service: the real one shows Qt's dialogs, tests install one that answers from a script.
class DialogService
{
public:
    virtual ~DialogService() = default;

    // A message box; YesNo questions have the Polish buttons "&Tak" and "&Nie".
    virtual MessageAnswer Message(QWidget* parent, const QString& caption, const QString& text,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // The standard warning question: the title "Warning", a warning icon, "&Yes" and "&No".
    virtual MessageAnswer WarningQuestion(QWidget* parent, const QString& text) = 0;
    // The text entered, or nothing when cancelled.
    virtual std::optional<QString> InputText(QWidget* parent, const QString& caption,
                                             const QString& prompt, const QString& initial) = 0;
    // Filters as "Name|*.ext" pairs; the chosen host path, or nothing when cancelled.
    virtual std::optional<QString> OpenFile(QWidget* parent, const QString& title,
                                            const QStringList& filters, const QString& folder) = 0;
    virtual std::optional<QString> SaveFile(QWidget* parent, const QString& title,
                                            const QStringList& filters, const QString& folder) = 0;
    virtual std::optional<QString> OpenPicture(QWidget* parent, const QString& title,
                                               const QStringList& filters,
                                               const QString& folder) = 0;
    virtual std::optional<QColor> PickColor(QWidget* parent, const QColor& initial) = 0;
};

// "Name|*.a;*.b" pairs as Qt's "Name (*.a *.b)" filters; a name that shows its pattern already
// is taken as it is.
QString QtFileFilters(const QStringList& filters);
// The host folder a picker opens in: that of a system path (a folder, or a file's folder) where
// it exists on the machine, else the machine's C: drive.
QString PickerFolder(const QString& systemPath = {});

DialogService& Dialogs();
// Installs a service (the program installs the Qt one at start, tests a scripted one).
void SetDialogService(DialogService* service);

// The service that shows Qt's own dialogs.
class QtDialogService : public DialogService
{
public:
    MessageAnswer Message(QWidget* parent, const QString& caption, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override;
    MessageAnswer WarningQuestion(QWidget* parent, const QString& text) override;
    std::optional<QString> InputText(QWidget* parent, const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    std::optional<QString> OpenFile(QWidget* parent, const QString& title,
                                    const QStringList& filters, const QString& folder) override;
    std::optional<QString> SaveFile(QWidget* parent, const QString& title,
                                    const QStringList& filters, const QString& folder) override;
    std::optional<QString> OpenPicture(QWidget* parent, const QString& title,
                                       const QStringList& filters, const QString& folder) override;
    std::optional<QColor> PickColor(QWidget* parent, const QColor& initial) override;
};
