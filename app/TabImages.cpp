#include "TabImages.h"

#include <QPainter>
#include <QPixmap>

namespace {

void Frame(QPainter& p, QRect r, QColor fill)
{
    p.setPen(QColor(40, 40, 40));
    p.setBrush(fill);
    p.drawRect(r);
}

void Draw(QPainter& p, int index)
{
    switch (index) {
    case 0: // icons: a small grid of desktop icons
        for (int i = 0; i < 4; ++i)
            Frame(p, QRect(1 + (i % 2) * 8, 1 + (i / 2) * 8, 5, 5),
                  QColor::fromHsv(i * 70, 160, 230));
        break;
    case 1: // a folder with a sheet
        Frame(p, QRect(1, 4, 13, 10), QColor(240, 200, 80));
        Frame(p, QRect(1, 2, 6, 2), QColor(240, 200, 80));
        Frame(p, QRect(5, 6, 6, 6), Qt::white);
        break;
    case 2: // a window with a pointer
        Frame(p, QRect(1, 1, 13, 11), Qt::white);
        p.fillRect(QRect(2, 2, 12, 3), QColor(0, 0, 128));
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(8, 7), QPoint(8, 15), QPoint(10, 13), QPoint(13, 13)}));
        break;
    case 3: // four panes of a window
        Frame(p, QRect(1, 1, 6, 6), QColor(220, 60, 40));
        Frame(p, QRect(8, 1, 6, 6), QColor(60, 170, 60));
        Frame(p, QRect(1, 8, 6, 6), QColor(40, 90, 220));
        Frame(p, QRect(8, 8, 6, 6), QColor(240, 200, 40));
        break;
    case 4: // two computers on a cable
        Frame(p, QRect(0, 2, 6, 5), QColor(170, 220, 255));
        Frame(p, QRect(9, 2, 6, 5), QColor(170, 220, 255));
        p.drawLine(3, 8, 3, 12);
        p.drawLine(12, 8, 12, 12);
        p.drawLine(3, 12, 12, 12);
        break;
    case 5: // a prompt
        Frame(p, QRect(0, 1, 15, 13), Qt::black);
        p.setPen(QColor(200, 200, 200));
        p.drawLine(2, 4, 4, 6);
        p.drawLine(4, 6, 2, 8);
        p.drawLine(6, 9, 10, 9);
        break;
    case 6: // a shop's card
        Frame(p, QRect(1, 3, 13, 10), QColor(255, 250, 220));
        p.fillRect(QRect(3, 5, 4, 4), QColor(200, 60, 60));
        p.drawLine(8, 6, 12, 6);
        p.drawLine(8, 9, 12, 9);
        break;
    case 7: // a sheet with lines and a pencil
        Frame(p, QRect(2, 0, 10, 15), Qt::white);
        for (int y = 3; y < 13; y += 3)
            p.drawLine(4, y, 10, y);
        p.setPen(QPen(QColor(230, 150, 0), 2));
        p.drawLine(9, 13, 14, 8);
        break;
    case 8: // information
        p.setPen(QColor(0, 0, 140));
        p.setBrush(QColor(60, 110, 230));
        p.drawEllipse(QRect(1, 1, 13, 13));
        p.fillRect(QRect(7, 6, 2, 6), Qt::white);
        p.fillRect(QRect(7, 3, 2, 2), Qt::white);
        break;
    default: // a light bulb of tips
        p.setPen(QColor(120, 100, 0));
        p.setBrush(QColor(255, 240, 90));
        p.drawEllipse(QRect(3, 0, 10, 10));
        p.fillRect(QRect(6, 10, 4, 4), QColor(150, 150, 150));
        break;
    }
}

} // namespace

QIcon TabImage(int index)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    Draw(painter, index);
    painter.end();
    return QIcon(pixmap);
}
