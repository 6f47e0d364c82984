#include "ca/app/main/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace ca::app {

namespace {

constexpr int kSize = 32;

// A sheet of paper with a folded corner and a few text lines.
void drawSheet(QPainter& p, QRectF r, QColor lines) {
    QPolygonF sheet;
    sheet << r.topLeft() << QPointF(r.right() - 6, r.top()) << QPointF(r.right(), r.top() + 6)
          << r.bottomRight() << r.bottomLeft();
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    p.setPen(QPen(lines, 1.5));
    for (double y = r.top() + 8; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 4, y));
}

// A thick arrow from 'from' to 'to'.
void drawArrow(QPainter& p, QPointF from, QPointF to, QColor color) {
    QLineF line(from, to);
    QLineF unit = line.unitVector();
    QPointF d(unit.dx(), unit.dy()), n(-d.y(), d.x());
    QPointF headBase = to - d * 8;
    QPolygonF arrow;
    arrow << from + n * 3 << headBase + n * 3 << headBase + n * 7 << to << headBase - n * 7
          << headBase - n * 3 << from - n * 3;
    p.setPen(QPen(color.darker(140), 1));
    p.setBrush(color);
    p.drawPolygon(arrow);
}

QPixmap draw(int index) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
        case 0:  // export entry: a sheet with an arrow leaving it
            drawSheet(p, QRectF(3, 2, 18, 24), QColor(80, 150, 80));
            drawArrow(p, QPointF(14, 22), QPointF(30, 22), QColor(230, 130, 30));
            break;
        case 1:  // import entry: an arrow entering a sheet
            drawSheet(p, QRectF(11, 2, 18, 24), QColor(80, 150, 80));
            drawArrow(p, QPointF(1, 22), QPointF(19, 22), QColor(40, 110, 210));
            break;
        case 2: {  // download: an arrow down into a database drum
            p.setPen(QPen(QColor(60, 60, 90), 1.2));
            p.setBrush(QColor(120, 170, 220));
            QPainterPath drum;
            drum.addRect(QRectF(5, 19, 22, 8));
            p.drawPath(drum);
            p.drawEllipse(QRectF(5, 24, 22, 6));
            p.drawEllipse(QRectF(5, 16, 22, 6));
            drawArrow(p, QPointF(16, 1), QPointF(16, 17), QColor(40, 160, 70));
            break;
        }
        default: {  // query: a magnifying glass over a sheet
            drawSheet(p, QRectF(3, 2, 18, 24), QColor(120, 120, 160));
            p.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(23, 23), QPointF(30, 30));
            p.setPen(QPen(QColor(60, 60, 60), 2));
            p.setBrush(QColor(200, 230, 255, 200));
            p.drawEllipse(QPointF(19, 19), 6.5, 6.5);
            break;
        }
    }
    return pm;
}

}  // namespace

QIcon toolbarIcon(int index) {
    return QIcon(draw(index));
}

}  // namespace ca::app
