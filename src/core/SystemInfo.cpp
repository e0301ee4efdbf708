#include "core/SystemInfo.h"

namespace derode::core {

bool ISWINDOWSVISTA() { return true; }

bool ISUACACTIVATED() { return false; }

}  // namespace derode::core
