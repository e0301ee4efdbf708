#include "members/DisplayName.h"

#include "core/Text.h"

namespace derode::members {

std::string displayName(const std::string& familyName, const std::string& firstName)
{
    return core::toUpper(core::trim(familyName)) + "  " + core::trim(firstName);
}

}  // namespace derode::members
