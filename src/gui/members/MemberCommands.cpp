#include "gui/members/MemberCommands.h"

#include "gui/core/ShellWindow.h"
#include "gui/members/MemberBrowser.h"
#include "members/MemberMaintenance.h"
#include "members/MemberUpgrade.h"

namespace derode::gui {

void bindMemberCommands(CSHELLWINDOW& window)
{
    window.bindCommand(Command::MENU_OPENMEMBERS, [&window] { MENU_OPENMEMBERS(window.mdiArea()); });
    window.bindCommand(Command::MENU_CLEANMEMBERS, [] { members::MENU_CLEANMEMBERS(); });
    window.UPDATEDBFMEMBERS = [] { members::UPDATEDBFMEMBERS(); };
}

}  // namespace derode::gui
