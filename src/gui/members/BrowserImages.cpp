#include "gui/members/BrowserImages.h"

#include "gui/core/Resources.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <map>

namespace derode::gui {

namespace {

void person(QPainter& p, QPointF at, const QColor& colour)
{
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(at.x() - 5, at.y() - 12, 10, 10));
    QPainterPath body;
    body.moveTo(at.x() - 9, at.y() + 10);
    body.quadTo(at.x() - 9, at.y() - 1, at.x(), at.y() - 1);
    body.quadTo(at.x() + 9, at.y() - 1, at.x() + 9, at.y() + 10);
    body.closeSubpath();
    p.drawPath(body);
}

void badge(QPainter& p, const QColor& colour, bool plus)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(18, 17, 13, 13));
    p.setPen(QPen(Qt::white, 2.5));
    p.drawLine(QPointF(21, 23.5), QPointF(28, 23.5));
    if (plus)
        p.drawLine(QPointF(24.5, 20), QPointF(24.5, 27));
}

void arrows(QPainter& p, bool left, bool toEnd)
{
    const QColor blue(40, 100, 190);
    p.setPen(QPen(blue.darker(130), 1));
    p.setBrush(blue);
    auto triangle = [&](double tip, double base) {
        p.drawPolygon(QPolygonF({QPointF(tip, 16), QPointF(base, 7), QPointF(base, 25)}));
    };
    if (left) {
        triangle(toEnd ? 10 : 8, toEnd ? 24 : 22);
        if (toEnd)
            p.drawRect(QRectF(5, 7, 3, 18));
    } else {
        triangle(toEnd ? 22 : 24, toEnd ? 8 : 10);
        if (toEnd)
            p.drawRect(QRectF(24, 7, 3, 18));
    }
}

QPixmap draw(BrowserImage image)
{
    // Printing and closing show the toolbar's own pictures.
    if (image == BrowserImage::Print)
        return ribbonImage(6);
    if (image == BrowserImage::Close)
        return ribbonImage(5);
    return paintedPixmap(32, 32, [image](QPainter& p) {
        const QColor member(70, 130, 180);
        switch (image) {
        case BrowserImage::Add:
            person(p, {13, 16}, member);
            badge(p, QColor(40, 150, 60), true);
            break;
        case BrowserImage::Edit:
            person(p, {12, 16}, member);
            p.setPen(QPen(QColor(90, 60, 20), 1));
            p.setBrush(QColor(240, 190, 60));
            p.drawPolygon(QPolygonF({QPointF(17, 28), QPointF(19, 22), QPointF(28, 13), QPointF(31, 16),
                                     QPointF(22, 25)}));
            break;
        case BrowserImage::Delete:
            person(p, {13, 16}, member);
            badge(p, QColor(200, 40, 40), false);
            break;
        case BrowserImage::First: arrows(p, true, true); break;
        case BrowserImage::Previous: arrows(p, true, false); break;
        case BrowserImage::Next: arrows(p, false, false); break;
        case BrowserImage::Last: arrows(p, false, true); break;
        case BrowserImage::EraseAll:
            person(p, {10, 14}, member.lighter(120));
            person(p, {20, 17}, member);
            p.setPen(QPen(QColor(200, 40, 40), 3.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(5, 5), QPointF(27, 27));
            p.drawLine(QPointF(27, 5), QPointF(5, 27));
            break;
        case BrowserImage::Print:
        case BrowserImage::Close: break;
        }
    });
}

}  // namespace

QPixmap browserImage(BrowserImage image)
{
    static std::map<BrowserImage, QPixmap> cache;
    auto found = cache.find(image);
    if (found == cache.end())
        found = cache.emplace(image, draw(image)).first;
    return found->second;
}

}  // namespace derode::gui
