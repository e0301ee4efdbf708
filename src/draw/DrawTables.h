#pragma once
// What the draw window reads from the league's tables: the members list and the spouse pairs
// from the member table, and the people of the last draw for refilling.

#include "draw/DrawRegistration.h"
#include "engine/DbServer.h"

#include <string>
#include <vector>

namespace derode::draw {

// The member under the cursor as a members-list row.
MemberRow memberRowAtCursor(const engine::CDBSERVEREX& members);
// Every member, from the first to the last record; the cursor is back on the first record after.
std::vector<MemberRow> readMemberRows(engine::CDBSERVEREX& members);
// (`NO_CONJOIN`, `NO_JETON`) of every member whose spouse number is above 0, except a member
// recorded as the member's own spouse (a data error, not a couple).
std::vector<SpousePair> readSpousePairs(engine::CDBSERVEREX& members);

// `REPOPULATION` from the league's current draw file, opened shared. On failure shows the
// error box and leaves the registration empty. `drawDate` receives the file's last-update date.
bool refillFromCurrentDrawFile(DrawRegistration& registration, std::string* drawDate = nullptr);

// Local date of a file's last modification, "YYYY-MM-DD" ("" when it cannot be read).
std::string fileDate(const std::string& path);

}  // namespace derode::draw
