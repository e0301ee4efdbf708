#pragma once

#include <string>

namespace derode::members {

// How a member is shown in the draw window, stored in draw files and matched by the standings:
// the trimmed family name in capitals, two blanks, the trimmed first name. Every writer and
// reader builds it here so that the standings find each person again.
std::string displayName(const std::string& familyName, const std::string& firstName);

}  // namespace derode::members
