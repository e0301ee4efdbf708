#include "draw/LanesOption.h"

#include "core/IniFile.h"
#include "core/Settings.h"

namespace derode::draw {

namespace {

core::CINIFILE optionsFile(const std::string& leagueFolder)
{
    return core::CINIFILE(leagueFolder + core::settings::kOptionsFileName);
}

}  // namespace

int readLanes(const std::string& leagueFolder)
{
    const auto& key = core::settings::kLanes;
    return optionsFile(leagueFolder).readInt(key.section, key.key, core::settings::kLanesDefaultDrawFeasibility);
}

bool writeLanes(const std::string& leagueFolder, int lanes)
{
    const auto& key = core::settings::kLanes;
    return optionsFile(leagueFolder).writeInt(key.section, key.key, lanes);
}

}  // namespace derode::draw
