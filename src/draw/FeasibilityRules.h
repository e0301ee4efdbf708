#pragma once
// Whether a registration can be drawn: the league's rules on the numbers of captains, players
// and lanes, tried in a fixed order; the first rule that applies gives the answer and the
// message that tells the organiser what to change or what the draw will look like.

#include <string>

namespace derode::draw {

struct FeasibilityResult {
    bool accepted = false;  // the draw may go ahead
    bool filler = false;    // the draw must add one "__DUMMY__" player
    int rule = 0;           // the row of the rule that applied, 1 to 10
    std::string message;    // shown in an information box in every case
};

// K captains, P players, `lanes` read from the options file at the moment of the check.
FeasibilityResult TESTTIRAGE(int captains, int players, int lanes);

}  // namespace derode::draw
