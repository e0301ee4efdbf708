#include "gui/ui/SingleLineEditEx.h"

#include "gui/core/InfoBox.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QVBoxLayout>

namespace derode::gui {

// The tip itself: a frameless window drawn as a balloon whose pointer touches the field.
class BalloonTip : public QWidget {
public:
    static constexpr int POINTER = 12;

    BalloonTip(QWidget* anchor, const QString& title, const QString& text, int icon)
        : QWidget(anchor, Qt::ToolTip | Qt::FramelessWindowHint)
        , title_(title)
        , text_(text)
    {
        setObjectName(QStringLiteral("balloonTip"));
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(10, 8 + POINTER, 10, 8);
        layout->setSpacing(4);
        if (!title.isEmpty() || icon != CSINGLELINEEDITEX::None) {
            auto* heading = new QLabel(this);
            heading->setTextFormat(Qt::PlainText);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
            heading->setText(title);
            auto* row = new QHBoxLayout;
            if (icon != CSINGLELINEEDITEX::None) {
                QStyle::StandardPixmap which = icon == CSINGLELINEEDITEX::Error ? QStyle::SP_MessageBoxCritical
                    : icon == CSINGLELINEEDITEX::Warning                        ? QStyle::SP_MessageBoxWarning
                                                                                : QStyle::SP_MessageBoxInformation;
                auto* picture = new QLabel(this);
                picture->setPixmap(style()->standardIcon(which).pixmap(16, 16));
                row->addWidget(picture);
            }
            row->addWidget(heading, 1);
            layout->addLayout(row);
        }
        auto* body = new QLabel(displayText(text), this);
        body->setTextFormat(Qt::PlainText);
        layout->addWidget(body);
        adjustSize();
    }

    const QString& title() const { return title_; }
    const QString& text() const { return text_; }

    // Under the anchor, the pointer at the caret.
    void place(QWidget* anchor, int pointerX)
    {
        pointerX_ = std::clamp(pointerX, 16, 40);
        QPoint tip = anchor->mapToGlobal(QPoint(pointerX, anchor->height() - 2));
        move(tip - QPoint(pointerX_, 0));
        // Without a compositing window manager a translucent window shows black corners:
        // the mask keeps only the balloon itself on screen.
        QPainterPathStroker edge;
        edge.setWidth(3);
        const QPainterPath outline = edge.createStroke(balloon()).united(balloon());
        setMask(QRegion(outline.toFillPolygon().toPolygon()));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(80, 80, 80), 1));
        p.setBrush(QColor(255, 255, 225));
        p.drawPath(balloon());
    }

private:
    QPainterPath balloon() const
    {
        QRectF box = QRectF(rect()).adjusted(0.5, POINTER + 0.5, -0.5, -0.5);
        QPainterPath path;
        path.addRoundedRect(box, 6, 6);
        QPainterPath pointer;
        pointer.moveTo(pointerX_, 0.5);
        pointer.lineTo(pointerX_ + 14, box.top() + 1);
        pointer.lineTo(pointerX_ + 2, box.top() + 1);
        pointer.closeSubpath();
        return path.united(pointer);
    }

    QString title_;
    QString text_;
    int pointerX_ = 16;
};

CSINGLELINEEDITEX::CSINGLELINEEDITEX(QWidget* parent)
    : QLineEdit(parent)
{
}

CSINGLELINEEDITEX::~CSINGLELINEEDITEX()
{
    REMOVEEDITBALLOONTIP();
}

void CSINGLELINEEDITEX::SHOWEDITBALLOONTIP(const QString& title, const QString& text, int icon)
{
    REMOVEEDITBALLOONTIP();
    balloon_ = new BalloonTip(this, title, text, icon);
    balloon_->place(this, cursorRect().center().x());
    balloon_->show();
}

void CSINGLELINEEDITEX::REMOVEEDITBALLOONTIP()
{
    if (balloon_) {
        balloon_->hide();
        balloon_->deleteLater();
        balloon_ = nullptr;
    }
}

bool CSINGLELINEEDITEX::isBalloonShown() const
{
    return balloon_ && balloon_->isVisible();
}

QString CSINGLELINEEDITEX::balloonTitle() const
{
    return balloon_ ? balloon_->title() : QString();
}

QString CSINGLELINEEDITEX::balloonText() const
{
    return balloon_ ? balloon_->text() : QString();
}

void CSINGLELINEEDITEX::hideEvent(QHideEvent* event)
{
    REMOVEEDITBALLOONTIP();
    QLineEdit::hideEvent(event);
}

} // namespace derode::gui
