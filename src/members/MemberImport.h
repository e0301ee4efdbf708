#pragma once
// Replacing the league's member register by another league's one. A wrong file never reaches
// the register: the chosen file must be a table with the member layout (nine fields, or the
// eight of an older release) before anything is replaced.

#include <string>

namespace derode::members {

inline constexpr const char* kWrongFileText =
    "\r\n\r\nVous avez choisi un mauvais fichier\r\nLe fichier choisi doit être [ membre-2.dbf ] \r\n\r\nSVP, recommancez...";

enum class ImportResult {
    WrongFile,   // not a member table: message shown, nothing changed
    SameTable,   // the league's own table was chosen: nothing changed
    CannotOpen,  // the league's table is in use elsewhere: the "ne peut pas ouvrir" box, nothing changed
    Failed,      // the copy failed: message shown, the league's table as it was
    Imported,
};

// Whether the table at `path` has the member layout (the nine fields by name and type in their
// order, or eight of them as an older release wrote).
bool hasMemberLayout(const std::string& path);

// The administrator's warning before an import.
std::string importWarningText(const std::string& leagueName);

// Replaces the member table of `leagueFolder` (with its trailing "/") by a copy of `chosenPath`,
// with the index beside it when it came along, then brings the copy to the current layout and
// rebuilds its index. The league's table must not be held open by the caller.
ImportResult importMembersFrom(const std::string& chosenPath, const std::string& leagueFolder);

}  // namespace derode::members
