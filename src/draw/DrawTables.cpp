#include "draw/DrawTables.h"

#include "core/Messages.h"
#include "draw/DrawAttempt.h"
#include "draw/DrawFileStore.h"
#include "draw/FeasibilityRules.h"
#include "draw/LanesOption.h"
#include "draw/RecordWalk.h"
#include "members/DisplayName.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace derode::draw {

MemberRow memberRowAtCursor(const engine::CDBSERVEREX& members)
{
    MemberRow row;
    row.name = members::displayName(members.getText("NOM"), members.getText("PRENOM"));
    row.femme = members.getLogical("FEMME");
    row.captain = members.getLogical("CAPITAINE");
    row.token = tokenText(static_cast<int>(members.getNumber("NO_JETON")));
    row.occasional = members.getLogical("CAPT_OCC");
    row.spouse = static_cast<int>(members.getNumber("NO_CONJOIN"));
    return row;
}

std::vector<MemberRow> readMemberRows(engine::CDBSERVEREX& members)
{
    std::vector<MemberRow> rows;
    forEachRecord(members, [&] { rows.push_back(memberRowAtCursor(members)); });
    members.goTop();
    return rows;
}

std::vector<SpousePair> readSpousePairs(engine::CDBSERVEREX& members)
{
    std::vector<SpousePair> pairs;
    forEachRecord(members, [&] {
        SpousePair pair{static_cast<int>(members.getNumber("NO_CONJOIN")),
                        static_cast<int>(members.getNumber("NO_JETON"))};
        if (pair.spouse > 0)
            pairs.push_back(pair);
    });
    members.goTop();
    return validSpousePairs(pairs);
}

std::string fileDate(const std::string& path)
{
    std::error_code ec;
    auto written = std::filesystem::last_write_time(path, ec);
    if (ec)
        return {};
    auto system = std::chrono::file_clock::to_sys(written);
    std::time_t t = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    localtime_r(&t, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

bool refillFromCurrentDrawFile(DrawRegistration& registration, std::string* drawDate)
{
    const std::string path = currentDrawFilePath(registration.leagueFolder());
    std::vector<DrawRecord> records;
    if (!readDrawFile(path, records, nullptr, true)) {
        core::showError(messages::lastDrawOpenFailed(), "ERREUR");
        return false;
    }
    if (drawDate)
        *drawDate = fileDate(path);
    registration.refill(records);
    return true;
}

bool DrawRegistration::VERIFIERTIRAGE()
{
    const std::vector<DrawEntry> captains = captainEntries();
    const std::vector<DrawEntry> players = playerEntries();
    const FeasibilityResult check =
        TESTTIRAGE(static_cast<int>(captains.size()), static_cast<int>(players.size()), readLanes(leagueFolder_));
    core::showInformation(check.message);
    if (!check.accepted)
        return false;
    const DrawOutcome outcome =
        drawWithRetries(captains, players, check.filler, spousePairs_, currentDrawFilePath(leagueFolder_));
    if (!outcome.written) {
        core::showError(drawFileOpenFailedMessage());
        return false;
    }
    // A new draw is not the one that was printed: the close guard must ask again.
    printed_ = false;
    if (outcome.conflict)
        core::showInformation(coupleOnOneLaneMessage(*outcome.conflict, outcome.attempts));
    return true;
}

}  // namespace derode::draw
