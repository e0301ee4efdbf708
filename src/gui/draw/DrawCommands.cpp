#include "gui/draw/DrawCommands.h"

#include "gui/core/ShellWindow.h"
#include "gui/draw/DrawWindowOpen.h"

namespace derode::gui {

void bindDrawCommands(CSHELLWINDOW& window)
{
    window.bindCommand(Command::MENU_PARTIES_TIRAGES, [&window] { openDrawWindow(&window, false); });
    window.bindCommand(Command::MENU_PARTIES_TIRAGES2, [&window] { openDrawWindow(&window, true); });
}

}  // namespace derode::gui
