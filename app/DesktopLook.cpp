#include "DesktopLook.h"

#include "Fonts.h"
#include "System.h"
#include "WidgetEvents.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStyle>
#include <QStyleFactory>

void UseDesktopLook()
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(style);
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
}
