#include "CloseProgram.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

void CloseProgram()
{
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->close();
        // A box without a close box of its own ignores close(); rejecting it ends it all the same.
        if (auto* box = qobject_cast<QDialog*>(dialog); box && box->isVisible()) box->reject();
        // The handler that showed the dialog goes on once the dialog's own loop has returned;
        // only then is the next dialog, or the window, closed.
        QTimer::singleShot(0, qApp, CloseProgram);
        return;
    }
    // A box that a window shows while it closes runs a loop of its own, where this comes round.
    QTimer::singleShot(0, qApp, [] {
        if (QApplication::activeModalWidget()) CloseProgram();
    });
    QApplication::closeAllWindows();
}
