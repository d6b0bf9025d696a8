#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

ScriptedDialogs::ScriptedDialogs() { SetDialogService(this); }

ScriptedDialogs::~ScriptedDialogs() { SetDialogService(nullptr); }

bool ScriptedDialogs::Done() const
{
    return messages_.empty() && texts_.empty() && files_.empty() && colors_.empty();
}

MessageAnswer ScriptedDialogs::Message(QWidget*, const QString& caption, const QString& text,
                                       MessageIcon icon, MessageButtons buttons)
{
    shown_.push_back({caption, text, icon, buttons});
    if (messages_.empty()) {
        ADD_FAILURE() << "unexpected message box: " << caption.toStdString() << ": "
                      << text.toStdString();
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    const MessageAnswer answer = messages_.front();
    messages_.pop_front();
    return answer;
}

MessageAnswer ScriptedDialogs::WarningQuestion(QWidget* parent, const QString& text)
{
    return Message(parent, QStringLiteral("Warning"), text, MessageIcon::Warning,
                   MessageButtons::YesNo);
}

std::optional<QString> ScriptedDialogs::InputText(QWidget*, const QString& caption,
                                                  const QString& prompt, const QString&)
{
    if (texts_.empty()) {
        ADD_FAILURE() << "unexpected input dialog: " << caption.toStdString() << ": "
                      << prompt.toStdString();
        return std::nullopt;
    }
    auto answer = texts_.front();
    texts_.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::NextFile(const QString& title, const QStringList& filters,
                                                 const QString& folder)
{
    pickers_.push_back({title, filters, folder});
    if (files_.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
        return std::nullopt;
    }
    auto answer = files_.front();
    files_.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::OpenFile(QWidget*, const QString& title,
                                                 const QStringList& filters, const QString& folder)
{
    return NextFile(title, filters, folder);
}

std::optional<QString> ScriptedDialogs::SaveFile(QWidget*, const QString& title,
                                                 const QStringList& filters, const QString& folder)
{
    return NextFile(title, filters, folder);
}

std::optional<QString> ScriptedDialogs::OpenPicture(QWidget*, const QString& title,
                                                    const QStringList& filters,
                                                    const QString& folder)
{
    return NextFile(title, filters, folder);
}

std::optional<QColor> ScriptedDialogs::PickColor(QWidget*, const QColor&)
{
    if (colors_.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    auto answer = colors_.front();
    colors_.pop_front();
    return answer;
}
