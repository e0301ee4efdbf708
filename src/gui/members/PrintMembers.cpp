#include "gui/members/PrintMembers.h"

#include "core/Session.h"
#include "reports/MemberListPrint.h"

namespace derode::gui {

bool printMemberListCommand() { return reports::printMemberList(core::session().currentLeague); }

}  // namespace derode::gui
