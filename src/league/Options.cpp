#include "league/Options.h"

#include "core/IniFile.h"
#include "core/Messages.h"
#include "core/Settings.h"

namespace derode::league {

using namespace core::settings;

OptionFields loadOptionFields(const std::string& league)
{
    core::CINIFILE ini(core::leagueOptionsFile(league));
    OptionFields f;
    f.memberListCopies = std::to_string(
        ini.readInt(kMemberListCopies.section, kMemberListCopies.key, kMemberListCopiesDefaultOptionsDialog));
    f.drawCopies = std::to_string(
        ini.readInt(kDrawSheet1Copies.section, kDrawSheet1Copies.key, kDrawSheet1CopiesDefaultOptionsDialog));
    f.lanes = std::to_string(ini.readInt(kLanes.section, kLanes.key, kLanesDefaultOptionsDialog));
    f.heading = ini.readString(kReportHeading.section, kReportHeading.key, kReportHeadingDefaultOptionsDialog);
    f.maxPoints = std::to_string(ini.readInt(kMaxPoints.section, kMaxPoints.key, kMaxPointsDefaultOptionsDialog));
    return f;
}

int twoDigitFieldValue(const std::string& text)
{
    int value = 0;
    int digits = 0;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (c < '0' || c > '9' || ++digits > 2)
            return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool saveOptionFields(const std::string& league, const OptionFields& f)
{
    core::CINIFILE ini(core::leagueOptionsFile(league));
    bool ok = ini.writeInt(kMemberListCopies.section, kMemberListCopies.key, twoDigitFieldValue(f.memberListCopies));
    ok = ini.writeInt(kDrawSheet1Copies.section, kDrawSheet1Copies.key, twoDigitFieldValue(f.drawCopies)) && ok;
    ok = ini.writeInt(kLanes.section, kLanes.key, twoDigitFieldValue(f.lanes)) && ok;
    ok = ini.writeString(kReportHeading.section, kReportHeading.key, f.heading) && ok;
    ok = ini.writeInt(kMaxPoints.section, kMaxPoints.key, twoDigitFieldValue(f.maxPoints)) && ok;
    if (!ok)
        core::showMessage({core::MessageKind::PlainError,
                           "Les options n'ont pas pu être enregistrées dans le fichier de la ligue « " + league
                               + " ».",
                           "ERREUR"});
    return ok;
}

}  // namespace derode::league
