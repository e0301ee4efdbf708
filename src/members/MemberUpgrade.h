#pragma once
// Brings the member table to its nine-field layout at every start. Tables of an older release
// have eight fields; they are copied by field name into "BACKTEMP.dbf", which then replaces
// "membres-2.dbf" in one rename. Any failure leaves "membres-2.dbf" as it was and the next
// start tries again.

#include <string>

namespace derode::members {

enum class UpgradeResult {
    CannotOpen,  // the "ne peut pas ouvrir" box was shown
    Unchanged,   // not eight fields: left as it was
    Upgraded,    // eight fields copied into the nine-field layout, index rebuilt
    Failed,      // a step failed: the old table is in place, no message
};

inline constexpr const char* kUpgradeTempFile = "BACKTEMP.dbf";

// Upgrades the member table of `leagueFolder` (with its trailing "/"). Also rebuilds the index
// when it lacks the two tags, so that an index left behind by an interrupted run is mended.
UpgradeResult upgradeMemberTable(const std::string& leagueFolder);

// The main window's start-up step: upgrades the current league's member table.
void UPDATEDBFMEMBERS();

}  // namespace derode::members
