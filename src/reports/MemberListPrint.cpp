#include "reports/MemberListPrint.h"

#include "core/IniFile.h"
#include "core/Locations.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "reports/Report.h"

namespace derode::reports {

bool printMemberList(const std::string& league)
{
    namespace s = core::settings;
    core::CINIFILE ini(core::leagueOptionsFile(league));
    const std::string heading =
        ini.readString(s::kReportHeading.section, s::kReportHeading.key, s::kReportHeadingDefaultMemberListPrint);
    const int copies = ini.readInt(s::kMemberListCopies.section, s::kMemberListCopies.key,
                                   s::kMemberListCopiesDefaultMemberListPrint);

    Report report;
    report.setDataFolder(core::locations().leagueFolder(league));
    if (!report.loadTemplate(core::locations().programFolder, kMemberListTemplate))
        return false;
    report.setSetting(setting::Flag10005, "Y");
    const bool byName = core::askYesNo(kMemberListQuestion);
    report.setTableProperty("membres", property::Order, byName ? "NOM-PRENON" : "NO_JETON");
    report.setVariable("_entete", heading);
    report.setVariable("Ligue", league);
    report.setSetting(setting::Copies, std::to_string(copies));
    report.setSetting(setting::PrintMode, "3");
    return report.print();
}

}  // namespace derode::reports
