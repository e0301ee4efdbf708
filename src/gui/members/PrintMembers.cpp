#include "gui/members/PrintMembers.h"

#include "core/Session.h"
#include "reports/MemberListPrint.h"

namespace derode::gui::members {

bool MENU_FILEPRINT() { return derode::reports::printMemberList(core::session().currentLeague); }

}  // namespace derode::gui::members
