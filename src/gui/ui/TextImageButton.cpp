#include "gui/ui/TextImageButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace derode::gui {

namespace {

bool isEnterKey(const QKeyEvent* event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }

}  // namespace

CTEXTIMAGEBUTTON::CTEXTIMAGEBUTTON(QWidget* parent) : QPushButton(parent)
{
    // The button handles Enter itself; it must not take over the dialog's default button.
    setAutoDefault(false);
}

CTEXTIMAGEBUTTON::CTEXTIMAGEBUTTON(const QString& caption, const QPixmap& image, QWidget* parent)
    : CTEXTIMAGEBUTTON(parent)
{
    setText(caption);
    image_ = image;
}

void CTEXTIMAGEBUTTON::setImage(const QPixmap& image)
{
    image_ = image;
    update();
}

void CTEXTIMAGEBUTTON::setDISPLAY3DTEXT(bool on)
{
    display3DText_ = on;
    update();
}

QColor CTEXTIMAGEBUTTON::textColor() const
{
    return textColor_ ? *textColor_ : palette().color(QPalette::Active, QPalette::ButtonText);
}

void CTEXTIMAGEBUTTON::setTextColor(const QColor& color)
{
    textColor_ = color;
    update();
}

void CTEXTIMAGEBUTTON::setBackground(const QColor& color)
{
    background_ = color;
    update();
}

QColor CTEXTIMAGEBUTTON::checkerColor() const
{
    return background_ ? *background_ : palette().color(QPalette::Active, QPalette::Button);
}

QSize CTEXTIMAGEBUTTON::sizeHint() const
{
    QFontMetrics metrics(font());
    int width = 8 + (image_.isNull() ? 0 : image_.width() + 1) + metrics.horizontalAdvance(text()) + 8;
    int height = std::max(image_.isNull() ? 0 : image_.height(), metrics.height()) + 8;
    return {width, height};
}

void CTEXTIMAGEBUTTON::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = isDown();
    const int shift = pressed ? 1 : 0;
    const QRect whole = rect();

    // Frame, then the face inside it.
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    option.state &= ~QStyle::State_HasFocus;
    if (pressed)
        option.state |= QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    QRect face = whole.adjusted(2, 2, -2, -2);
    if (background_)
        painter.fillRect(face, *background_);

    painter.save();
    painter.setClipRect(face);

    // Image at the left edge, vertically centred.
    int textLeft = face.left();
    if (!image_.isNull()) {
        const QSize size = image_.deviceIndependentSize().toSize();
        const int top = face.top() + (face.height() - size.height()) / 2;
        painter.drawPixmap(face.left() + shift, top + shift, image_);
        textLeft = face.left() + size.width() + 1;
    }

    // Caption: left-aligned, no wrap, centred vertically in what is left.
    if (!text().isEmpty()) {
        painter.setFont(font());
        const QFontMetrics metrics(font());
        const int height = metrics.height();
        QRect area(textLeft + shift, face.top() + (face.height() - height) / 2 + shift, face.right() - textLeft + 1,
                   height);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
        if (display3DText_) {
            painter.setPen(QColor(0x80, 0x80, 0x80));
            painter.drawText(area.translated(1, 1), flags, text());
            painter.setPen(QColor(0xFF, 0xFF, 0xFF));
            painter.drawText(area.translated(-1, -1), flags, text());
        }
        painter.setPen(textColor());
        painter.drawText(area, flags, text());
    }
    painter.restore();

    if (hasFocus()) {
        // A dotted rectangle 4 pixels inside the button.
        QPen pen(palette().color(QPalette::Active, QPalette::ButtonText));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(whole.adjusted(4 + shift, 4 + shift, -5 + shift, -5 + shift));
    } else if (!isEnabled()) {
        // Every second pixel, rows alternating, in the face colour.
        painter.setPen(checkerColor());
        for (int y = whole.top(); y <= whole.bottom(); ++y)
            for (int x = whole.left() + (y % 2); x <= whole.right(); x += 2)
                painter.drawPoint(x, y);
    }
}

void CTEXTIMAGEBUTTON::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        if (!event->isAutoRepeat())
            setDown(true);
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CTEXTIMAGEBUTTON::keyReleaseEvent(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        event->accept();
        if (event->isAutoRepeat() || !isDown())
            return;
        setDown(false);
        click();
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

}  // namespace derode::gui
