#pragma once
// The league's number of lanes in its options file ("NombreDeAlles" / "Value"; the draw's
// default is 4). Read afresh at each use, never cached.

#include <string>

namespace derode::draw {

int readLanes(const std::string& leagueFolder);
bool writeLanes(const std::string& leagueFolder, int lanes);

}  // namespace derode::draw
