#include "league/OptionsDialogValues.h"

#include "core/IniFile.h"
#include "core/Settings.h"

namespace derode::league {

using namespace core::settings;

OptionsDialogValues readOptionsForDialog(const std::string& league)
{
    core::CINIFILE ini(core::leagueOptionsFile(league));
    OptionsDialogValues values;
    values.memberListCopies = ini.readInt(kMemberListCopies.section, kMemberListCopies.key,
                                          kMemberListCopiesDefaultOptionsDialog);
    values.drawSheetCopies = ini.readInt(kDrawSheet1Copies.section, kDrawSheet1Copies.key,
                                         kDrawSheet1CopiesDefaultOptionsDialog);
    values.lanes = ini.readInt(kLanes.section, kLanes.key, kLanesDefaultOptionsDialog);
    values.reportHeading = ini.readString(kReportHeading.section, kReportHeading.key,
                                          kReportHeadingDefaultOptionsDialog);
    values.maxPoints = ini.readInt(kMaxPoints.section, kMaxPoints.key, kMaxPointsDefaultOptionsDialog);
    return values;
}

bool writeOptionsFromDialog(const std::string& league, const OptionsDialogValues& values)
{
    core::CINIFILE ini(core::leagueOptionsFile(league));
    bool ok = ini.writeInt(kMemberListCopies.section, kMemberListCopies.key, values.memberListCopies);
    ok = ini.writeInt(kDrawSheet1Copies.section, kDrawSheet1Copies.key, values.drawSheetCopies) && ok;
    ok = ini.writeInt(kLanes.section, kLanes.key, values.lanes) && ok;
    ok = ini.writeString(kReportHeading.section, kReportHeading.key, values.reportHeading) && ok;
    ok = ini.writeInt(kMaxPoints.section, kMaxPoints.key, values.maxPoints) && ok;
    return ok;
}

}  // namespace derode::league
