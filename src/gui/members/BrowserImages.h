#pragma once
// The member browser's toolbar pictures (32 x 32), drawn once at first use so that no binary
// picture is kept in the repository. The program's strip holds the main window's pictures;
// the browser's commands (add, edit, delete, move, erase all) get their own here.

#include <QPixmap>

namespace derode::gui {

enum class BrowserImage { Add, Edit, Delete, First, Previous, Next, Last, Print, EraseAll, Close };

QPixmap browserImage(BrowserImage image);

}  // namespace derode::gui
