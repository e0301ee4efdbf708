#pragma once
// The league's number of lanes: "DezovuziOptions.ini", section "NombreDeAlles", key "Value",
// default 4. Read afresh at each use, never cached.

#include <string>

namespace derode::draw {

inline const std::string kOptionsFileName = "DezovuziOptions.ini";
constexpr int kDefaultLanes = 4;

int readLanes(const std::string& leagueFolder);
bool writeLanes(const std::string& leagueFolder, int lanes);

}  // namespace derode::draw
