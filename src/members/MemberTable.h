#pragma once
// The league's member register: the table "membres-2.dbf" and its compound index
// "membres-2.cdx" in the league folder.
//
// Layout (fields are addressed by position by several readers, so the order is the format):
//   1 NOM C20, 2 PRENOM C20, 3 FEMME L1, 4 CAPITAINE L1, 5 TELEPHONE C12, 6 NO_JETON N3,
//   7 CAPT_OCC L1, 8 MAIL C40, 9 NO_CONJOIN N3.
// Tags, in this order: "NOM-PRENON" on NOM+PRENOM (a seek on the family name padded to 20
// characters followed by the first name finds any record whose key starts with it) and
// "NO_JETON" on NO_JETON.
// The index is derived data: whenever the table is rebuilt or replaced by another one, the
// index is rebuilt from the table (rebuildMemberIndex), so both tags find every record.

#include "engine/DbServer.h"

#include <memory>
#include <string>
#include <vector>

namespace derode::members {

inline constexpr const char* kMemberTableFile = "membres-2.dbf";
inline constexpr const char* kMemberIndexFile = "membres-2.cdx";
inline constexpr const char* kNameTag = "NOM-PRENON";
inline constexpr const char* kTokenTag = "NO_JETON";
inline constexpr int kNameWidth = 20;

// The nine fields in their order.
const std::vector<engine::FieldDef>& memberFields();

// An existing file of `folder` whose name equals `name` without regard to case, else folder + name.
std::string fileInFolder(const std::string& folder, const std::string& name);
// The member table of a league folder (given with its trailing "/").
std::string memberTablePath(const std::string& leagueFolder);
// The member table of the current league.
std::string currentMemberTablePath();
// The index file beside a table (same base name, ".cdx"; an existing one of any case).
std::string indexPathFor(const std::string& tablePath);

// The error box shown wherever the member table cannot be opened.
inline constexpr const char* kCannotOpenText =
    "Le programme ne peut pas ouvrir la base de données des membres... \r\n\r\nSVP, ré-installez le programme de nouveau";
void showCannotOpen();

// Opens the member table under a fresh alias; when the open fails shows the "ne peut pas ouvrir"
// box and returns nullptr.
std::unique_ptr<engine::CDBSERVEREX> openMemberTable(const std::string& path, bool shared);

// True when at least one character of the text is a lowercase letter (accented ones included).
bool ISLOWERINSTRING(const std::string& text);

// The seek key of the name tag: the family name padded to 20 characters, then the trimmed first name.
std::string nameSeekKey(const std::string& familyName, const std::string& firstName);

// Creates an empty member table with its two tags; replaces nothing that exists.
bool createMemberTable(const std::string& path, std::string* error = nullptr);

// Makes the index match the table: reindexes both tags when the index holds them, otherwise
// builds a new index with the two tags. Needs exclusive use.
bool rebuildMemberIndex(const std::string& tablePath, std::string* error = nullptr);
// Whether the table's index holds the two tags in their order (the table opened shared).
bool hasMemberTags(engine::CDBSERVEREX& table);

}  // namespace derode::members
