#pragma once
// Entries for a draw made up by a test: names and tokens that tell at a glance where each one went.

#include "draw/TeamDraw.h"

#include <string>
#include <vector>

namespace derode::test {

// `count` entries named prefix1, prefix2, ... with tokens counting up from `firstToken`.
inline std::vector<draw::DrawEntry> people(const std::string& prefix, int count, int firstToken)
{
    std::vector<draw::DrawEntry> entries;
    for (int i = 1; i <= count; ++i)
        entries.push_back({prefix + std::to_string(i), std::to_string(firstToken + i - 1), false});
    return entries;
}

}  // namespace derode::test
