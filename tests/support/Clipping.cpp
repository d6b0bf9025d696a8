#include "Clipping.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTableWidget>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QString PathOf(const QWidget* control)
{
    QStringList names;
    for (const QWidget* w = control; w; w = w->parentWidget())
        if (!w->objectName().isEmpty()) names.prepend(w->objectName());
    return names.join(u'/');
}

QString Plain(QString caption)
{
    return caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(u'&')
        .replace(u'\x01', u'&');
}

// The width the widest line of a caption takes.
int Advance(const QWidget* control, const QString& caption)
{
    int widest = 0;
    for (const QString& line :
         Plain(caption).split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
        widest = std::max(widest, control->fontMetrics().horizontalAdvance(line));
    return widest;
}

int LineCount(const QString& caption)
{
    return int(caption.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))).size());
}

// Pixels missing across and down; zero or less when the caption fits.
std::pair<int, int> Missing(const QWidget* control)
{
    if (auto* box = qobject_cast<const QCheckBox*>(control); box && !box->text().isEmpty())
        return {box->sizeHint().width() - box->width(), 0};
    if (auto* radio = qobject_cast<const QRadioButton*>(control); radio && !radio->text().isEmpty())
        return {radio->sizeHint().width() - radio->width(), 0};
    if (auto* button = qobject_cast<const QPushButton*>(control);
        button && !button->text().isEmpty()) {
        const int margin =
            2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        const int lines = LineCount(button->text()) * button->fontMetrics().height();
        return {Advance(button, button->text()) + margin + icon - button->width(),
                lines - button->height()};
    }
    if (auto* label = qobject_cast<const QLabel*>(control); label && !label->text().isEmpty() &&
                                                            label->textFormat() != Qt::RichText &&
                                                            !Qt::mightBeRichText(label->text())) {
        const QRect room = label->contentsRect();
        if (label->wordWrap()) return {0, label->heightForWidth(room.width()) - room.height()};
        return {Advance(label, label->text()) - room.width(),
                LineCount(label->text()) * label->fontMetrics().height() - room.height()};
    }
    if (auto* group = qobject_cast<const QGroupBox*>(control); group && !group->title().isEmpty())
        return {Advance(group, group->title()) + 16 - group->width(), 0};
    return {0, 0};
}

void CheckTable(const QTableWidget* table, QStringList& out)
{
    const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const QHeaderView* header = table->horizontalHeader();
    for (int column = 0; column < table->columnCount(); ++column) {
        const int room = header->sectionSize(column);
        if (const QTableWidgetItem* title = table->horizontalHeaderItem(column)) {
            const int need = header->fontMetrics().horizontalAdvance(title->text()) + margin;
            if (need > room)
                out << QStringLiteral("%1 header %2: %3 pixels missing")
                           .arg(PathOf(table), title->text())
                           .arg(need - room);
        }
        for (int row = 0; row < table->rowCount(); ++row) {
            const QTableWidgetItem* item = table->item(row, column);
            if (!item) continue;
            const int need = table->fontMetrics().horizontalAdvance(item->text()) + margin;
            if (need > room)
                out << QStringLiteral("%1 row \"%2\": %3 pixels missing")
                           .arg(PathOf(table), item->text())
                           .arg(need - room);
        }
    }
}

// A box that shows its text without a scroll bar must hold all of it; `need` is the height of
// its text in pixels.
void CheckMemo(const QAbstractScrollArea* area, int need, QStringList& out)
{
    if (area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) return;
    const int room = area->viewport()->height();
    if (need > room)
        out << QStringLiteral("%1: %2 pixels missing below").arg(PathOf(area)).arg(need - room);
}

} // namespace

QStringList ClippedCaptions(const QWidget* window)
{
    QStringList out;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window) continue; // a dialog of the window is checked on its own
        const auto [across, down] = Missing(control);
        if (across > 0)
            out << QStringLiteral("%1: %2 pixels missing").arg(PathOf(control)).arg(across);
        if (down > 0)
            out << QStringLiteral("%1: %2 pixels missing below").arg(PathOf(control)).arg(down);
        if (auto* table = qobject_cast<const QTableWidget*>(control)) CheckTable(table, out);
        if (auto* memo = qobject_cast<const QTextEdit*>(control))
            CheckMemo(memo, int(memo->document()->size().height()), out);
        // A plain text box measures its document in lines.
        if (auto* memo = qobject_cast<const QPlainTextEdit*>(control);
            memo && memo->lineWrapMode() == QPlainTextEdit::NoWrap &&
            memo->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
            const int need =
                Advance(memo, memo->toPlainText()) + int(2 * memo->document()->documentMargin());
            if (need > memo->viewport()->width())
                out << QStringLiteral("%1: %2 pixels missing")
                           .arg(PathOf(memo))
                           .arg(need - memo->viewport()->width());
        }
        if (auto* memo = qobject_cast<const QPlainTextEdit*>(control))
            CheckMemo(memo,
                      int(memo->document()->size().height()) * memo->fontMetrics().lineSpacing() +
                          int(2 * memo->document()->documentMargin()),
                      out);
    }
    return out;
}
