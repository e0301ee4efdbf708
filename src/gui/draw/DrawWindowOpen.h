#pragma once
// Opening the draw window from the main menu.

class QWidget;

namespace derode::gui {

// `MENU_PARTIES_TIRAGES` (refillFromLastDraw = false) and `MENU_PARTIES_TIRAGES2` (true):
// opens the current league's member table shared, builds the registration (members list,
// spouse pairs, lanes) and shows `CWINTIRAGE` modally; the table stays open while the window
// lives. When the member table cannot be opened, an error box says so and nothing opens.
// Returns the window's result (0 when it did not open).
int openDrawWindow(QWidget* parent, bool refillFromLastDraw);

}  // namespace derode::gui
