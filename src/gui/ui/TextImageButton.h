#pragma once
// `CTEXTIMAGEBUTTON`: a push button that paints itself — the platform's push-button frame, an
// image at its left edge, the caption (optionally engraved), a focus rectangle, and a
// checkerboard of the face colour over a disabled button. Enter on the focused button presses
// it and, on release, clicks it once.

#include <QColor>
#include <QPixmap>
#include <QPushButton>

#include <optional>

namespace derode::gui {

class CTEXTIMAGEBUTTON : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(bool DISPLAY3DTEXT READ DISPLAY3DTEXT WRITE setDISPLAY3DTEXT)

public:
    explicit CTEXTIMAGEBUTTON(QWidget* parent = nullptr);
    CTEXTIMAGEBUTTON(const QString& caption, const QPixmap& image, QWidget* parent = nullptr);

    const QPixmap& image() const { return image_; }
    void setImage(const QPixmap& image);

    bool DISPLAY3DTEXT() const { return display3DText_; }
    void setDISPLAY3DTEXT(bool on);

    // The caption's colour; the platform's button-text colour unless set.
    QColor textColor() const;
    void setTextColor(const QColor& color);
    // A brush that fills the face; none unless set (the checkerboard then uses the face colour).
    void setBackground(const QColor& color);
    QColor checkerColor() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QPixmap image_;
    bool display3DText_ = false;
    std::optional<QColor> textColor_;
    std::optional<QColor> background_;
};

}  // namespace derode::gui
