#pragma once
// What the member register brings to the main window: the member browser command, the
// maintenance command and the member table's upgrade as the last step of the window's creation.

namespace derode::gui {

class CSHELLWINDOW;

// Binds MENU_OPENMEMBERS and MENU_CLEANMEMBERS and sets the window's UPDATEDBFMEMBERS step.
void bindMemberCommands(CSHELLWINDOW& window);

}  // namespace derode::gui
