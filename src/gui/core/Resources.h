#pragma once
// The program's own pictures, found by their resource name as the windows ask for them:
// "INFORMATION" (white "i" on a blue disc), "QUESTIONMARK" (white "?" on a red disc),
// "AAA_DEZOVUZI" (the program's icon), "RIBBON_DEZOVUZI_BMP" (the toolbar's strip of fifteen
// 32 x 32 images) and "EXIT" (the login dialog's quit button). They are drawn once, at first
// use, so that no binary picture has to be kept in the repository.

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <functional>

class QPainter;

namespace derode::gui {

QPixmap resourcePixmap(const QString& name);

// A transparent picture of that size, painted by `paint` with antialiasing on: the way every
// picture of the program is drawn.
QPixmap paintedPixmap(int width, int height, const std::function<void(QPainter&)>& paint);
QIcon resourceIcon(const QString& name);

// One 32 x 32 image of the toolbar strip (0 to 14).
QPixmap ribbonImage(int index);
inline constexpr int RIBBON_IMAGE_COUNT = 15;
inline constexpr int RIBBON_IMAGE_SIZE = 32;

// The dialog templates name "MS Shell Dlg" and "Arial"; both map to the metric-compatible
// Liberation Sans.
void installFontSubstitutions();

// The look every window shares: password fields show "*" for each character, as the dialogs ask.
void installProgramStyle();

} // namespace derode::gui
