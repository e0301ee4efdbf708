#pragma once
// What the draws bring to the main window: the draw window, fresh or refilled from the last draw.

namespace derode::gui {

class CSHELLWINDOW;

// Binds MENU_PARTIES_TIRAGES (a fresh registration) and MENU_PARTIES_TIRAGES2 (refilled from the
// current draw file).
void bindDrawCommands(CSHELLWINDOW& window);

}  // namespace derode::gui
