#pragma once
// One draw written into the current draw file, and the loop that draws again (at most eleven
// times in all) while a couple ends up on one lane.

#include "draw/TeamDraw.h"

#include <optional>
#include <string>
#include <vector>

namespace derode::draw {

constexpr int kMaxDrawAttempts = 11;

struct DrawAttemptResult {
    bool written = false;                    // the draw file now holds this attempt's lanes
    std::string error;                       // why nothing was written
    std::vector<DrawRecord> records;         // the lanes drawn
    std::optional<SpouseConflict> conflict;  // a couple found on one lane
    bool spousesApart() const { return written && !conflict; }
};

// One attempt: draws the lanes, replaces the records of the draw file at `drawFilePath` with
// them (all or nothing) and checks the spouse pairs. The caller's lists are not changed.
DrawAttemptResult TIRAGECAPSETJOUEURSPRT1(const std::vector<DrawEntry>& captains,
                                          const std::vector<DrawEntry>& players, bool filler,
                                          const std::vector<SpousePair>& pairs, const std::string& drawFilePath);

struct DrawOutcome {
    bool written = false;  // the draw file holds the last attempt's lanes
    int attempts = 0;
    std::string error;                       // a write failure stopped the draw
    std::optional<SpouseConflict> conflict;  // the last attempt still put a couple on one lane
};

// Draws until no couple shares a lane, at most eleven attempts; the last attempt's draw stays.
// A failed write stops at once: the file keeps the draw it held before that attempt.
DrawOutcome drawWithRetries(const std::vector<DrawEntry>& captains, const std::vector<DrawEntry>& players,
                            bool filler, const std::vector<SpousePair>& pairs, const std::string& drawFilePath);

// What the organiser is told.
std::string drawFileOpenFailedMessage();
std::string coupleOnOneLaneMessage(const SpouseConflict& conflict, int attempts);

}  // namespace derode::draw
