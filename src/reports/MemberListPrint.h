#pragma once
// Printing the member list of the member browser: ordered by name or by token number as the user
// answers, with the league's heading and its number of copies.

#include <string>

namespace derode::reports {

inline constexpr const char* kMemberListTemplate = "CommonData/ListeMembres.RPT";
inline constexpr const char* kMemberListQuestion =
    "\r\nImpression par nom de joueur ou par numéro de joueur ??\r\n\r\n Oui = Par nom de joueur\r\n Non = Par "
    "numéro de joueur";

// `MENU_FILEPRINT` of the member browser. True when the list was printed.
bool printMemberList(const std::string& league);

}  // namespace derode::reports
