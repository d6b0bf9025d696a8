#include "Dialogs.h"

#include "Platform.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>
#include <stdexcept>

namespace {

DialogService* current = nullptr;

// Qt's own file dialog, so that it speaks the program's language and starts in the machine: its
// places are the machine's C: drive, and its columns are wide enough for sizes and dates.
std::optional<QString> PickFile(QWidget* parent, const QString& title, const QStringList& filters,
                                const QString& folder, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title, folder, QtFileFilters(filters));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setSidebarUrls({QUrl::fromLocalFile(PickerFolder())});
    if (auto* details = dialog.findChild<QTreeView*>())
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
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

QString QtFileFilters(const QStringList& filters)
{
    QStringList out;
    for (const QString& filter : filters) {
        const QString name = filter.section(u'|', 0, 0);
        QString patterns = filter.section(u'|', 1);
        patterns.replace(u';', u' ');
        // A name that shows its pattern already keeps it, in Qt's form; Qt matches without regard
        // to letter case.
        const qsizetype open = name.lastIndexOf(u'(');
        if (name.endsWith(u')') && open >= 0) {
            QString own = name.mid(open + 1, name.size() - open - 2);
            own.replace(u';', u' ');
            if (own.compare(patterns, Qt::CaseInsensitive) == 0) {
                out << name.left(open + 1) + own + u')';
                continue;
            }
        }
        out << name + QStringLiteral(" (") + patterns + u')';
    }
    return out.join(QStringLiteral(";;"));
}

QString PickerFolder(const QString& systemPath)
{
    Platform& platform = CurrentPlatform();
    if (!systemPath.isEmpty()) {
        const QFileInfo chosen(platform.HostPath(systemPath));
        if (chosen.isDir()) return chosen.absoluteFilePath();
        if (!chosen.filePath().isEmpty() && chosen.dir().exists()) return chosen.absolutePath();
    }
    return QDir::cleanPath(platform.HostPath(QStringLiteral("C:\\")));
}

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
    return PickFile(parent, title, filters, folder, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogService::SaveFile(QWidget* parent, const QString& title,
                                                 const QStringList& filters, const QString& folder)
{
    return PickFile(parent, title, filters, folder, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogService::OpenPicture(QWidget* parent, const QString& title,
                                                    const QStringList& filters,
                                                    const QString& folder)
{
    return PickFile(parent, title, filters, folder, QFileDialog::AcceptOpen);
}

std::optional<QColor> QtDialogService::PickColor(QWidget* parent, const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) return std::nullopt;
    return color;
}
