// The details of the desktop's look: font heights as Windows gives them, clicks as a link or a
// flat button takes them, pictures keyed on green.
#include "Controls.h"
#include "Dialogs.h"
#include "Fonts.h"
#include "Pictures.h"
#include "WidgetEvents.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(Look, FontHeightsAreCharacterHeightsWhenNegativeAndCellHeightsWhenPositive)
{
    EXPECT_EQ(PixelSizeForCell(25, 1.15), 22);
    EXPECT_EQ(PixelSizeForCell(13, 1.0), 13);
    EXPECT_EQ(PixelSizeForCell(1, 3.0), 1);
    EXPECT_EQ(WindowsFont(QStringLiteral("Verdana"), -13).pixelSize(), 13);
    const QFont clock = WindowsFont(QStringLiteral("Arial"), 25, true);
    const QFontMetrics metrics(clock);
    EXPECT_NEAR(metrics.ascent() + metrics.descent(), 25, 1);
    EXPECT_LT(clock.pixelSize(), 25);
    EXPECT_TRUE(clock.bold());
}

TEST(Look, ALinkTakesOnlyALeftClickReleasedOverIt)
{
    QLabel link(QStringLiteral("Zmienić ustawienia"));
    link.resize(100, 12);
    int clicks = 0, doubles = 0;
    OnLeftClick(&link, [&] { ++clicks; });
    OnLeftDoubleClick(&link, [&] { ++doubles; });

    QTest::mouseClick(&link, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 0) << "a right click";
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(500, 5));
    EXPECT_EQ(clicks, 0) << "released far away";
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 0) << "a release without a press on the link";
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);

    QTest::mouseDClick(&link, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubles, 0);
    QTest::mouseDClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubles, 1);
}

TEST(Look, AFlatButtonRaisesItsFrameOnlyWhileTheMouseIsOverIt)
{
    QPushButton button(QStringLiteral("Autor"));
    MakeSpeedButton(&button);
    EXPECT_TRUE(button.isFlat());
    EXPECT_FALSE(button.autoDefault());
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_FALSE(button.isFlat());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_TRUE(button.isFlat());
}

TEST(Look, OnlyPureGreenOfAPictureIsDrawnTransparent)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage bitmap(3, 1, QImage::Format_RGB32);
    bitmap.setPixel(0, 0, qRgb(0, 255, 0));
    bitmap.setPixel(1, 0, qRgb(0, 254, 0));
    bitmap.setPixel(2, 0, qRgb(200, 30, 40));
    const QString file = folder.filePath(QStringLiteral("Zegar.bmp"));
    ASSERT_TRUE(bitmap.save(file, "BMP"));

    const QImage picture = TransparentPicture(file).toImage();
    ASSERT_EQ(picture.size(), QSize(3, 1));
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);
    EXPECT_EQ(picture.pixel(1, 0), qRgb(0, 254, 0));
    EXPECT_EQ(picture.pixel(2, 0), qRgb(200, 30, 40));

    EXPECT_TRUE(TransparentPicture(folder.filePath(QStringLiteral("Brak.bmp"))).isNull());
}

// "TM" comes out as a T and an M, not as the trademark sign the font's ligature would make.
TEST(Look, LettersAreDrawnOneByOneWithoutLigatures)
{
    const QFont font = WindowsFont(QStringLiteral("MS Sans Serif"), -11);
    const auto drawn = [&font](const QStringList& pieces) {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        qreal x = 2;
        for (const QString& piece : pieces) {
            painter.drawText(QPointF(x, 15), piece);
            x += QFontMetricsF(font).horizontalAdvance(piece);
        }
        return image;
    };
    EXPECT_EQ(drawn({QStringLiteral("TM")}), drawn({QStringLiteral("T"), QStringLiteral("M")}));
}

TEST(Look, EachFileFilterShowsItsPatternOnce)
{
    const struct
    {
        QStringList filters;
        QString shown;
    } cases[] = {
        {{QStringLiteral("Programy|*.exe")}, QStringLiteral("Programy (*.exe)")},
        {{QStringLiteral("Bitmapa (*.BMP)|*.bmp")}, QStringLiteral("Bitmapa (*.BMP)")},
        {{QStringLiteral("Pliki (*.a;*.b)|*.a;*.b"), QStringLiteral("Wszystkie pliki|*.*")},
         QStringLiteral("Pliki (*.a *.b);;Wszystkie pliki (*.*)")},
        {{QStringLiteral("Ikony (*.ico)|*.icl")}, QStringLiteral("Ikony (*.ico) (*.icl)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtFileFilters(c.filters), c.shown);
}
