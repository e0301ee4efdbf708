#pragma once
// The main window's menu, accelerators and toolbar as tables: the captions ("&" marks the
// underlined letter, "\t" separates the shortcut shown at the right), the status-bar texts and
// the command numbers. The main window builds its widgets from these tables.

#include "gui/core/Commands.h"

#include <vector>

namespace derode::gui {

struct MenuEntry {
    Command command;
    const char* caption;
    const char* statusText;  // shown in the status bar while the entry is highlighted; "" none
};

struct MenuPopup {
    const char* caption;
    std::vector<MenuEntry> entries;
};

// The popups in order; the entry "&Quitter" is an item of the menu bar itself (SHELLMENUQUIT).
const std::vector<MenuPopup>& SHELLMENU();
const MenuEntry& SHELLMENUQUIT();

struct Accelerator {
    const char* keys;  // in the portable text form of QKeySequence
    Command command;
};
const std::vector<Accelerator>& SHELLMENUACCELERATOR();

struct ToolbarButton {
    int image;  // index into the strip RIBBON_DEZOVUZI_BMP; -1 for a separator
    const char* text;
    Command command;
    const char* tooltip;
    bool dropDown;  // the "Rapports" button: its arrow shows POPREPORT
};
const std::vector<ToolbarButton>& DEZOVUZI_TOOLBAR();

// The toolbar's report drop-down: the captions and the commands they run.
const std::vector<MenuEntry>& POPREPORT();

// Commands that a normal user may not run.
const std::vector<Command>& administratorCommands();

}  // namespace derode::gui
