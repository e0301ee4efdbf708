#pragma once
// "&Imprimer" of the member browser, on the run's current league.

namespace derode::gui::members {

// `MENU_FILEPRINT`: asks by name or by number and prints the member list. True when printed.
bool MENU_FILEPRINT();

}  // namespace derode::gui::members
