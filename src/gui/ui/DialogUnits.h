#pragma once
// Dialog templates give their controls in dialog units of the dialog's font. This converts them
// to pixels with that font's metrics, so that a template keeps its proportions whatever font
// the substitution picked.

#include <QFont>
#include <QFontMetrics>
#include <QRect>

namespace derode::gui {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& dialogFont)
    {
        QFontMetrics metrics(dialogFont);
        // The platform's base units: average width of the 52 letters and the font's height.
        baseX_ = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
        baseY_ = metrics.height();
    }
    int x(int units) const { return int(units * baseX_ / 4.0 + 0.5); }
    int y(int units) const { return int(units * baseY_ / 8.0 + 0.5); }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(x(left), y(top), x(width), y(height));
    }

private:
    double baseX_ = 6;
    double baseY_ = 13;
};

// The font every dialog template names.
inline QFont dialogFont()
{
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setPointSize(8);
    return font;
}

inline QFont arial(int pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    return font;
}

}  // namespace derode::gui
