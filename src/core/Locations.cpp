#include "core/Locations.h"

namespace derode::core {

namespace {
Locations& current()
{
    static Locations value;
    return value;
}
}  // namespace

const Locations& locations() { return current(); }

void setLocations(const Locations& value) { current() = value; }

}  // namespace derode::core
