#pragma once
// "&Imprimer" of the member browser, on the run's current league.

namespace derode::gui {

// Body of the member browser's `MENU_FILEPRINT`: asks by name or by number and prints the member
// list. True when printed.
bool printMemberListCommand();

}  // namespace derode::gui
