#include "members/MemberUpgrade.h"

#include "core/Locations.h"
#include "core/Session.h"
#include "engine/DbServer.h"
#include "members/MemberTable.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace derode::members {

namespace {

// Copies every visible record into a fresh "BACKTEMP.dbf"; returns its path, or "" on failure.
std::string copyIntoNewLayout(const std::string& leagueFolder, const std::string& tablePath)
{
    const std::string tempPath = fileInFolder(leagueFolder, kUpgradeTempFile);
    std::error_code ec;
    fs::remove(tempPath, ec);  // a leftover of an earlier attempt is replaced, never appended to
    fs::remove(indexPathFor(tempPath), ec);
    if (fs::exists(tempPath) || !engine::createTable(tempPath, memberFields()))
        return {};
    engine::CDBSERVEREX temp(tempPath, std::string(), false, false);
    if (!temp.used() || !engine::appendFrom(temp, tablePath) || !temp.commit())
        return {};
    return tempPath;
}

}  // namespace

UpgradeResult upgradeMemberTable(const std::string& leagueFolder)
{
    const std::string tablePath = memberTablePath(leagueFolder);
    int fieldCount = 0;
    bool tagsPresent = false;
    {
        auto table = openMemberTable(tablePath, false);
        if (!table)
            return UpgradeResult::CannotOpen;
        fieldCount = table->fieldCount();
        tagsPresent = hasMemberTags(*table);
    }
    if (fieldCount != 8) {
        if (!tagsPresent)
            rebuildMemberIndex(tablePath);
        return UpgradeResult::Unchanged;
    }

    const std::string tempPath = copyIntoNewLayout(leagueFolder, tablePath);
    if (tempPath.empty())
        return UpgradeResult::Failed;
    // One rename replaces the old table: there is no moment without "membres-2.dbf".
    std::error_code ec;
    fs::rename(tempPath, tablePath, ec);
    if (ec)
        return UpgradeResult::Failed;
    // The old index described the old records; build it again from the new table. Should this
    // fail, the next start finds the tags missing and tries again.
    rebuildMemberIndex(tablePath);
    return UpgradeResult::Upgraded;
}

void UPDATEDBFMEMBERS()
{
    upgradeMemberTable(core::locations().leagueFolder(core::session().currentLeague));
}

}  // namespace derode::members
