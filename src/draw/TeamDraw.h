#pragma once
// The team draw: captains paired at random into lanes, players dealt two per team, the players
// left over made into teams of four on lanes taken in a random order, and the spouse rule
// (a member and the member's spouse never on one lane, as team-mates or as opponents).

#include "draw/DrawFile.h"

#include <optional>
#include <string>
#include <vector>

namespace derode::draw {

// One registered person as the draw window hands it over.
struct DrawEntry {
    std::string name;   // display name
    std::string token;  // token number as shown in the lists ("17"); empty for the filler
    bool femme = false; // carried along, plays no part in the draw
};

// (`NO_CONJOIN`, `NO_JETON`) of a member whose spouse number is above 0.
struct SpousePair {
    int spouse = 0;
    int member = 0;
    friend bool operator==(const SpousePair&, const SpousePair&) = default;
};

// A couple found on one lane.
struct SpouseConflict {
    int lane = 0;            // record number, from 1
    SpousePair pair;
    std::string spouseName;  // the names found on that lane for the two token numbers
    std::string memberName;
};

// Outer blanks removed, then every tab dropped; applied to every name written to a draw file.
std::string SHRINKTABSINSTRING(const std::string& text);

// The filler entry that completes a team when one player is missing.
DrawEntry fillerEntry();

// Draws one set of lanes from the registered captains (even count, at least 4) and players;
// with `filler` set the filler is appended after the shuffled players, so it is always the
// last player dealt. Reseeds the generator first.
std::vector<DrawRecord> drawTeams(const std::vector<DrawEntry>& captains, const std::vector<DrawEntry>& players,
                                  bool filler);

// The first lane on which both numbers of a spouse pair appear among the eight token fields.
// Pairs whose two numbers are equal are a data error, not a couple, and are ignored.
std::optional<SpouseConflict> findSpouseConflict(const std::vector<DrawRecord>& records,
                                                 const std::vector<SpousePair>& pairs);

// Keeps the pairs that make a couple: both numbers above 0 and different.
std::vector<SpousePair> validSpousePairs(const std::vector<SpousePair>& pairs);

}  // namespace derode::draw
