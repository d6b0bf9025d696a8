#include "Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <stdexcept>

namespace {

DialogService* current = nullptr;

// "Name|*.a;*.b" pairs as Qt's "Name (*.a *.b)".
QString QtFilters(const QStringList& filters)
{
    QStringList out;
    for (const QString& filter : filters) {
        const QString name = filter.section(u'|', 0, 0);
        QString patterns = filter.section(u'|', 1);
        patterns.replace(u';', u' ');
        out << name + QStringLiteral(" (") + patterns + u')';
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> Chosen(const QString& path)
{
    if (path.isEmpty()) return std::nullopt;
    return path;
}

// A question may be closed without an answer: a hidden button takes the close box and Escape.
void AllowClosing(QMessageBox& box) { box.addButton(QMessageBox::Cancel)->hide(); }

// Shows a box and tells which button ended it.
MessageAnswer Ask(QMessageBox& box, MessageAnswer rejected)
{
    box.exec();
    switch (box.buttonRole(box.clickedButton())) {
    case QMessageBox::YesRole:
        return MessageAnswer::Yes;
    case QMessageBox::NoRole:
        return MessageAnswer::No;
    case QMessageBox::RejectRole:
        return rejected;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

DialogService& Dialogs()
{
    if (!current) throw std::logic_error("no dialog service installed");
    return *current;
}

void SetDialogService(DialogService* service) { current = service; }

MessageAnswer QtDialogService::Message(QWidget* parent, const QString& caption, const QString& text,
                                       MessageIcon icon, MessageButtons buttons)
{
    static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                              QMessageBox::Warning, QMessageBox::Critical,
                                              QMessageBox::Question};
    QMessageBox box(icons[int(icon)], caption, text, QMessageBox::NoButton, parent);
    switch (buttons) {
    case MessageButtons::Ok:
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case MessageButtons::OkCancel:
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
        break;
    case MessageButtons::YesNo:
        box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
        AllowClosing(box);
        return Ask(box, MessageAnswer::Closed);
    }
    return Ask(box, MessageAnswer::Cancel);
}

MessageAnswer QtDialogService::WarningQuestion(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::NoButton,
                    parent);
    box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    AllowClosing(box);
    return Ask(box, MessageAnswer::Closed);
}

std::optional<QString> QtDialogService::InputText(QWidget* parent, const QString& caption,
                                                  const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> QtDialogService::OpenFile(QWidget* parent, const QString& title,
                                                 const QStringList& filters, const QString& folder)
{
    return Chosen(QFileDialog::getOpenFileName(parent, title, folder, QtFilters(filters)));
}

std::optional<QString> QtDialogService::SaveFile(QWidget* parent, const QString& title,
                                                 const QStringList& filters, const QString& folder)
{
    return Chosen(QFileDialog::getSaveFileName(parent, title, folder, QtFilters(filters)));
}

std::optional<QString> QtDialogService::OpenPicture(QWidget* parent, const QString& title,
                                                    const QStringList& filters,
                                                    const QString& folder)
{
    return Chosen(QFileDialog::getOpenFileName(parent, title, folder, QtFilters(filters)));
}

std::optional<QColor> QtDialogService::PickColor(QWidget* parent, const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) return std::nullopt;
    return color;
}
