#pragma once
// Every command of the main window by its number. The menu, the toolbar and the accelerators
// all issue these numbers, and the main window runs the handler bound to the number
// (CSHELLWINDOW::bindCommand), so a command behaves the same from each of the three.
// Each enumerator bears the name of the main-window method that carries the command out.

namespace derode::gui {

enum class Command : int {
    MENU_PARTIES_TIRAGES = 10001,
    MENU_REIMPRESSIONDERNIERTIRAGE = 10002,
    MENU_PARTIES_TIRAGES2 = 10003,
    MENU_BLANKSHEET = 10004,
    MENU_ENTRE_POINTS = 10006,
    MENU_RAPPORTS_HOMMES = 10008,
    MENU_RAPPORTS_FEMMES = 10009,
    MENU_RAPPORTS_TOTAL = 10010,
    MENU_RAPPORTS_SOMMAIRE_PRESENCES = 10011,
    MENU_POPARROW1 = 10012,
    MENU_OPENMEMBERS = 10014,
    MENU_PASSWORD = 10016,
    MENU_OPTIONS = 10017,
    MENU_BACKUP = 10018,
    MENU_RESTORE = 10019,
    MENU_CLEANMEMBERS = 10020,
    MENU_AIDE = 10023,
    MENU_WEBHELP = 10024,
    MENU_HTMLHELP = 10025,
    MENU_ABOUT = 10026,
    MENU_QUIT = 10027,
};

constexpr int commandNumber(Command command) { return static_cast<int>(command); }

}  // namespace derode::gui
