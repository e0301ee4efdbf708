#include "gui/draw/DrawImages.h"

#include "gui/core/Resources.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace derode::gui {

namespace {

constexpr int kSize = 32;

// A green arrow pointing right, turned by `degrees`.
QPixmap arrow(int degrees)
{
    return paintedPixmap(kSize, kSize, [degrees](QPainter& p) {
        p.translate(kSize / 2.0, kSize / 2.0);
        p.rotate(degrees);
        QPainterPath path;
        path.moveTo(-12, -5);
        path.lineTo(2, -5);
        path.lineTo(2, -12);
        path.lineTo(13, 0);
        path.lineTo(2, 12);
        path.lineTo(2, 5);
        path.lineTo(-12, 5);
        path.closeSubpath();
        p.setPen(QPen(QColor(0x1B, 0x5E, 0x20), 1.5));
        p.setBrush(QColor(0x43, 0xA0, 0x47));
        p.drawPath(path);
    });
}

QPixmap addMember()
{
    return paintedPixmap(kSize, kSize, [](QPainter& p) {
        p.setPen(QPen(QColor(0x0D, 0x47, 0xA1), 1.5));
        p.setBrush(QColor(0x64, 0xB5, 0xF6));
        p.drawEllipse(QRectF(6, 3, 12, 12));     // head
        p.drawChord(QRectF(1, 16, 22, 24), 0, 180 * 16);  // shoulders
        p.setPen(QPen(QColor(0x1B, 0x5E, 0x20), 3));
        p.drawLine(QPointF(25, 14), QPointF(25, 28));  // plus sign
        p.drawLine(QPointF(18, 21), QPointF(32, 21));
    });
}

QPixmap drawDice()
{
    return paintedPixmap(kSize, kSize, [](QPainter& p) {
        auto die = [&](QRectF box, std::initializer_list<QPointF> dots) {
            p.setPen(QPen(QColor(0x42, 0x42, 0x42), 1.2));
            p.setBrush(Qt::white);
            p.drawRoundedRect(box, 3, 3);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xC6, 0x28, 0x28));
            for (QPointF dot : dots)
                p.drawEllipse(box.topLeft() + dot, 1.8, 1.8);
        };
        die(QRectF(2, 2, 16, 16), {{4, 4}, {8, 8}, {12, 12}});
        die(QRectF(14, 14, 16, 16), {{4, 4}, {12, 4}, {4, 12}, {12, 12}});
    });
}

QPixmap printer()
{
    return paintedPixmap(kSize, kSize, [](QPainter& p) {
        p.setPen(QPen(QColor(0x42, 0x42, 0x42), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));       // paper in
        p.setBrush(QColor(0x90, 0xA4, 0xAE));
        p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);  // body
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 19, 14, 10));      // paper out
        p.setPen(QPen(QColor(0x61, 0x61, 0x61), 1));
        p.drawLine(QPointF(11, 23), QPointF(21, 23));
        p.drawLine(QPointF(11, 26), QPointF(19, 26));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x43, 0xA0, 0x47));
        p.drawEllipse(QPointF(25, 15.5), 1.5, 1.5);
    });
}

QPixmap cancel()
{
    return paintedPixmap(kSize, kSize, [](QPainter& p) {
        p.setPen(QPen(QColor(0xB7, 0x1C, 0x1C), 1.5));
        p.setBrush(QColor(0xE5, 0x39, 0x35));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 11), QPointF(21, 21));
        p.drawLine(QPointF(21, 11), QPointF(11, 21));
    });
}

QPixmap make(const QString& name)
{
    if (name == QLatin1String("RIGHT_ARROW"))
        return arrow(0);
    if (name == QLatin1String("DOWN_ARROW"))
        return arrow(90);
    if (name == QLatin1String("LEFT_ARROW"))
        return arrow(180);
    if (name == QLatin1String("UP_ARROW"))
        return arrow(270);
    if (name == QLatin1String("ADDMEMBER"))
        return addMember();
    if (name == QLatin1String("TIRAGE2"))
        return drawDice();
    if (name == QLatin1String("PRINTER2"))
        return printer();
    if (name == QLatin1String("CANCEL2"))
        return cancel();
    return {};
}

}  // namespace

QPixmap drawImage(const QString& name)
{
    static QHash<QString, QPixmap> cache;
    auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    QPixmap pixmap = make(name);
    cache.insert(name, pixmap);
    return pixmap;
}

}  // namespace derode::gui
