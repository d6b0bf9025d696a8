#pragma once

#include "Dialogs.h"

#include <deque>
#include <vector>

// A dialog service for tests: answers from a script and records what was shown. A dialog the
// script does not expect fails the test (and is answered with OK / No / cancel).
class ScriptedDialogs : public DialogService
{
public:
    struct Shown
    {
        QString caption;
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
    };
    // A file picker as it was shown: its title, filters and where it started.
    struct Picker
    {
        QString title;
        QStringList filters;
        QString folder;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void ExpectMessage(MessageAnswer answer) { messages_.push_back(answer); }
    void ExpectInput(std::optional<QString> answer) { texts_.push_back(std::move(answer)); }
    void ExpectFile(std::optional<QString> answer) { files_.push_back(std::move(answer)); }
    void ExpectColor(std::optional<QColor> answer) { colors_.push_back(answer); }

    const std::vector<Shown>& Messages() const { return shown_; }
    const std::vector<Picker>& Pickers() const { return pickers_; }
    // Every scripted answer was used.
    bool Done() const;

    MessageAnswer Message(QWidget* parent, const QString& caption, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override;
    // Recorded as a message with the caption "Warning", a warning icon and Yes/No buttons.
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

private:
    std::optional<QString> NextFile(const QString& title, const QStringList& filters,
                                    const QString& folder);

    std::deque<MessageAnswer> messages_;
    std::deque<std::optional<QString>> texts_;
    std::deque<std::optional<QString>> files_;
    std::deque<std::optional<QColor>> colors_;
    std::vector<Shown> shown_;
    std::vector<Picker> pickers_;
};
