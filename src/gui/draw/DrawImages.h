#pragma once
// The pictures of the draw window's buttons, drawn by the program at first use:
// "RIGHT_ARROW", "LEFT_ARROW", "UP_ARROW", "DOWN_ARROW", "ADDMEMBER", "TIRAGE2", "PRINTER2",
// "CANCEL2". An unknown name gives an empty picture.

#include <QPixmap>
#include <QString>

namespace derode::gui {

QPixmap drawImage(const QString& name);

}  // namespace derode::gui
