#pragma once
// Draws: the draw file, the rules that decide whether a registration can be drawn, the team
// draw itself and the registration model behind the draw window.
//
// This header owns the draw file's format. A draw file is a table with one record per lane,
// addressed by field position only (the field names come from the template):
//   1-4   first team: captain, player 1, player 2, fourth member (blank for a team of three)
//   5-8   second team, same order
//   9-16  token number (as text, no leading zeros) of the person in field n-8
//   17-20 points: game 1 first team, game 1 second team, game 2 first team, game 2 second team
// Invariants of a fresh draw with C captains and P players (filler counted): C/2 records;
// fields 1,2,3,5,6,7 always filled; fields 4 and 8 filled together or not at all; the filler
// "__DUMMY__" only ever in the second team, with an empty token field. Token fields are written
// by the draw only; readers convert them with an empty text giving 0.

#include <array>
#include <string>
#include <vector>

namespace derode::draw {

// The filler that completes a team when one player is missing.
inline const std::string kDummyName = "__DUMMY__";
// A place left empty by a replacement: one blank. Never a captain.
inline const std::string BLANC = " ";

// The current draw file in the league folder; file names compare without regard to case.
inline const std::string kCurrentDrawFileName = "partie1-2.dbf";
// The folder of the dated draw files in the league folder.
inline const std::string kDatedDrawFolder = "PartiesParDates";

constexpr int kNamesPerRecord = 8;
constexpr int kPointsPerRecord = 4;
constexpr int kDrawFieldCount = 20;

// Field positions (1-based).
constexpr int nameField(int place) { return place; }              // place 1..8
constexpr int tokenField(int place) { return place + 8; }         // token of name field `place`
constexpr int pointsField(int index) { return 16 + index; }       // index 1..4
constexpr int kFirstCaptainField = 1;
constexpr int kSecondCaptainField = 5;

// One lane: the two teams of both games and their points. Index 0 of `names` is field 1.
struct DrawRecord {
    std::array<std::string, kNamesPerRecord> names{};
    std::array<std::string, kNamesPerRecord> tokens{};
    std::array<double, kPointsPerRecord> points{};

    friend bool operator==(const DrawRecord&, const DrawRecord&) = default;
};

// The token number as the lists show it and the draw file stores it: no leading zeros.
std::string tokenText(int token);
// The numeric value of a token text, as the readers convert it: leading blanks skipped, the
// leading digits read, anything else (an empty text included) gives 0.
int tokenValue(const std::string& text);

// "YYYY-MM-DD" + ".dbf", the name of the dated draw file of a date written "YYYY-MM-DD".
std::string datedDrawFileName(const std::string& isoDate);
// Full paths inside a league folder (given with its trailing "/").
std::string currentDrawFilePath(const std::string& leagueFolder);
std::string datedDrawFilePath(const std::string& leagueFolder, const std::string& isoDate);

}  // namespace derode::draw
