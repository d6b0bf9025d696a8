#include "DesktopLook.h"

#include "Fonts.h"
#include "System.h"
#include "WidgetEvents.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

void UseDesktopLook()
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(style);
    // Wine's MS Sans Serif holds only bitmaps, drawn sharp at their own sizes: a screen that
    // scales the window would stretch them letter by letter, so it gets the scalable stand-in.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->devicePixelRatio() == 1.0)
        for (const QString& file : WindowsFontFiles())
            QFontDatabase::addApplicationFont(file);
    // Without Wine's fonts, the metric-compatible stand-ins come closest.
    if (!QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    QApplication::setFont(WindowsFont(QStringLiteral("MS Sans Serif"), -11));
    WheelOnlyWithFocus();
    // Qt's own dialogs and buttons speak the program's language, and what Qt formats (dates in
    // the file pickers, the clock's time) comes out as on the Polish system being edited.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    QGuiApplication::setDesktopFileName(QStringLiteral(TOLMAR_APP_ID));
}
