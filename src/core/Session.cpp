#include "core/Session.h"

namespace derode::core {

Session& session()
{
    static Session value;
    return value;
}

}  // namespace derode::core
