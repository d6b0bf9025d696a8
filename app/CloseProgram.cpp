#include "CloseProgram.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

void CloseProgram(QWidget& mainWindow)
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) {
        mainWindow.close();
        return;
    }
    dialog->close();
    // A box without a close box of its own ignores close(); rejecting it ends it all the same.
    if (auto* box = qobject_cast<QDialog*>(dialog); box && box->isVisible()) box->reject();
    // The handler that showed the dialog goes on once the dialog's own loop has returned; only
    // then is the next dialog, or the window, closed.
    QTimer::singleShot(0, &mainWindow, [&mainWindow] { CloseProgram(mainWindow); });
}
