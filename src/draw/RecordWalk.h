#pragma once
// The walk every reader of a draw or member table makes: first record to last, in file order.

#include "engine/DbServer.h"

namespace derode::draw {

// Calls `visit` with the table's cursor on each record in turn; a move that fails ends the walk.
template <typename Visit> void forEachRecord(engine::CDBSERVEREX& table, Visit visit)
{
    table.goTop();
    while (!table.eof()) {
        visit();
        if (!table.skip(1))
            break;
    }
}

}  // namespace derode::draw
