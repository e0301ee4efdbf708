#include "gui/core/Resources.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QProxyStyle>
#include <QRadialGradient>

namespace derode::gui {

namespace {

void drawDisc(QPainter& p, const QRectF& box, const QColor& colour, const QString& glyph)
{
    QRadialGradient shade(box.center() - QPointF(box.width() / 5, box.height() / 5), box.width() * 0.7);
    shade.setColorAt(0, colour.lighter(150));
    shade.setColorAt(1, colour.darker(120));
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(shade);
    p.drawEllipse(box);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setBold(true);
    font.setPixelSize(int(box.height() * 0.72));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, glyph);
}

QPixmap disc(int width, int height, const QColor& colour, const QString& glyph)
{
    return paintedPixmap(width, height, [&](QPainter& p) {
        p.setRenderHint(QPainter::TextAntialiasing);
        int side = std::min(width, height) - 2;
        drawDisc(p, QRectF((width - side) / 2.0, (height - side) / 2.0, side, side), colour, glyph);
    });
}

void boule(QPainter& p, QPointF centre, double radius, const QColor& colour)
{
    QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(170), 1));
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
}

void person(QPainter& p, QPointF at, double scale, const QColor& colour)
{
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawEllipse(at + QPointF(0, -7 * scale), 4 * scale, 4 * scale);
    QPainterPath body;
    body.moveTo(at + QPointF(-7 * scale, 9 * scale));
    body.quadTo(at + QPointF(-7 * scale, -2 * scale), at + QPointF(0, -2 * scale));
    body.quadTo(at + QPointF(7 * scale, -2 * scale), at + QPointF(7 * scale, 9 * scale));
    body.closeSubpath();
    p.drawPath(body);
}

void usbKey(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(4, 11, 18, 12), 2, 2);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(22, 13, 7, 8));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(24, 15, 2, 2));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    QLineF line(to, from);
    QLineF a = line;
    a.setLength(6);
    a.setAngle(line.angle() + 35);
    QLineF b = line;
    b.setLength(6);
    b.setAngle(line.angle() - 35);
    p.drawLine(a);
    p.drawLine(b);
}

// Each picture of the strip, drawn in a 32 x 32 cell.
void drawRibbonImage(QPainter& p, int index)
{
    const QColor steel(120, 130, 145);
    switch (index) {
    case 0: // draw: two boules and the jack
        boule(p, { 11, 19 }, 8, steel);
        boule(p, { 22, 14 }, 8, steel.darker(110));
        boule(p, { 23, 27 }, 3, QColor(230, 140, 30));
        break;
    case 1: { // points: a score board
        p.setPen(QPen(QColor(40, 60, 40), 1));
        p.setBrush(QColor(30, 110, 60));
        p.drawRoundedRect(QRectF(2, 5, 28, 22), 3, 3);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setBold(true);
        font.setPixelSize(13);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 5, 28, 22), Qt::AlignCenter, QStringLiteral("13-7"));
        break;
    }
    case 2: // members: two people
        person(p, { 11, 18 }, 1.0, QColor(70, 110, 190));
        person(p, { 21, 19 }, 1.0, QColor(200, 90, 70));
        break;
    case 3: // reports: a bar chart on a sheet
        p.setPen(QPen(Qt::gray, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 3, 24, 26));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 120, 200));
        p.drawRect(QRectF(8, 17, 4, 9));
        p.setBrush(QColor(220, 120, 40));
        p.drawRect(QRectF(14, 9, 4, 17));
        p.setBrush(QColor(60, 160, 80));
        p.drawRect(QRectF(20, 13, 4, 13));
        break;
    case 4: // help: a question mark on a green disc
        drawDisc(p, QRectF(3, 3, 26, 26), QColor(40, 150, 70), QStringLiteral("?"));
        break;
    case 5: // quit: an open door and an arrow
        p.setPen(QPen(QColor(90, 60, 30), 1));
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(4, 3, 14, 26));
        p.setBrush(QColor(120, 80, 40));
        p.drawPolygon(QPolygonF({ QPointF(4, 3), QPointF(11, 6), QPointF(11, 31), QPointF(4, 29) }));
        arrow(p, { 15, 16 }, { 30, 16 }, QColor(200, 30, 30));
        break;
    case 6: // reprint: a printer
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));
        break;
    case 7: // blank sheet
        p.setPen(QPen(Qt::gray, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({ QPointF(6, 3), QPointF(20, 3), QPointF(26, 9), QPointF(26, 29), QPointF(6, 29) }));
        p.drawLine(QPointF(20, 3), QPointF(20, 9));
        p.drawLine(QPointF(20, 9), QPointF(26, 9));
        break;
    case 8: { // password: a key
        p.setPen(QPen(QColor(150, 110, 0), 1));
        p.setBrush(QColor(230, 190, 40));
        p.drawEllipse(QPointF(9, 16), 6, 6);
        p.drawRect(QRectF(14, 14, 15, 4));
        p.drawRect(QRectF(23, 18, 3, 5));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 16), 2, 2);
        break;
    }
    case 9: { // options: a gear
        p.setPen(Qt::NoPen);
        p.setBrush(steel);
        p.translate(16, 16);
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-2.5, -13, 5, 6));
            p.rotate(45);
        }
        p.drawEllipse(QPointF(0, 0), 9, 9);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, 0), 3.5, 3.5);
        p.resetTransform();
        break;
    }
    case 10: // backup: the key and an arrow towards it
        usbKey(p, QColor(60, 90, 180));
        arrow(p, { 14, 30 }, { 14, 25 }, QColor(30, 150, 30));
        arrow(p, { 14, 2 }, { 14, 9 }, QColor(30, 150, 30));
        break;
    case 11: // restore: the key and an arrow out of it
        usbKey(p, QColor(180, 90, 60));
        arrow(p, { 14, 10 }, { 14, 2 }, QColor(30, 90, 200));
        break;
    case 12: // maintenance: a database cylinder
        p.setPen(QPen(QColor(60, 60, 90), 1));
        p.setBrush(QColor(150, 170, 210));
        p.drawRect(QRectF(6, 8, 20, 18));
        p.drawEllipse(QRectF(6, 22, 20, 7));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(6.5, 8, 19, 17));
        p.setPen(QPen(QColor(60, 60, 90), 1));
        p.setBrush(QColor(190, 205, 235));
        p.drawEllipse(QRectF(6, 4, 20, 7));
        break;
    case 13: // web help: a globe
        p.setPen(QPen(QColor(20, 80, 160), 1.5));
        p.setBrush(QColor(170, 210, 250));
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 5, 12);
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
        p.drawLine(QPointF(16, 4), QPointF(16, 28));
        break;
    default: // about: an "i" disc
        drawDisc(p, QRectF(3, 3, 26, 26), QColor(30, 80, 200), QStringLiteral("i"));
        break;
    }
}

QPixmap ribbon()
{
    return paintedPixmap(RIBBON_IMAGE_SIZE * RIBBON_IMAGE_COUNT, RIBBON_IMAGE_SIZE, [](QPainter& p) {
        p.setRenderHint(QPainter::TextAntialiasing);
        for (int i = 0; i < RIBBON_IMAGE_COUNT; ++i) {
            p.save();
            p.translate(i * RIBBON_IMAGE_SIZE, 0);
            p.setClipRect(0, 0, RIBBON_IMAGE_SIZE, RIBBON_IMAGE_SIZE);
            drawRibbonImage(p, i);
            p.restore();
        }
    });
}

QPixmap programIcon()
{
    return paintedPixmap(48, 48, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 170, 110));
        p.drawRoundedRect(QRectF(1, 1, 46, 46), 8, 8);
        boule(p, { 17, 27 }, 12, QColor(110, 120, 135));
        boule(p, { 32, 18 }, 11, QColor(90, 100, 115));
        boule(p, { 35, 37 }, 5, QColor(220, 60, 40));
    });
}

QPixmap exitPicture()
{
    return paintedPixmap(32, 32, [](QPainter& p) { drawRibbonImage(p, 5); });
}

} // namespace

QPixmap paintedPixmap(int width, int height, const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pixmap;
}

QPixmap resourcePixmap(const QString& name)
{
    static QHash<QString, QPixmap> cache;
    auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    QPixmap pixmap;
    if (name == QLatin1String("INFORMATION"))
        pixmap = disc(32, 30, QColor(25, 80, 210), QStringLiteral("i"));
    else if (name == QLatin1String("QUESTIONMARK"))
        pixmap = disc(32, 29, QColor(215, 30, 30), QStringLiteral("?"));
    else if (name == QLatin1String("AAA_DEZOVUZI"))
        pixmap = programIcon();
    else if (name == QLatin1String("RIBBON_DEZOVUZI_BMP"))
        pixmap = ribbon();
    else if (name == QLatin1String("EXIT"))
        pixmap = exitPicture();
    cache.insert(name, pixmap);
    return pixmap;
}

QIcon resourceIcon(const QString& name)
{
    return QIcon(resourcePixmap(name));
}

QPixmap ribbonImage(int index)
{
    return resourcePixmap(QStringLiteral("RIBBON_DEZOVUZI_BMP"))
        .copy(index * RIBBON_IMAGE_SIZE, 0, RIBBON_IMAGE_SIZE, RIBBON_IMAGE_SIZE);
}

namespace {
class ProgramStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
}  // namespace

void installProgramStyle() { QApplication::setStyle(new ProgramStyle); }

void installFontSubstitutions()
{
    for (const char* family : { "MS Shell Dlg", "MS Shell Dlg 2", "Arial" })
        QFont::insertSubstitution(QString::fromLatin1(family), QStringLiteral("Liberation Sans"));
}

} // namespace derode::gui
