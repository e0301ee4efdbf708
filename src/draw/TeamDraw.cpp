#include "draw/TeamDraw.h"

#include "draw/RandomSource.h"

#include <algorithm>

namespace derode::draw {

namespace {

// Picks the entries in random order: each pick removes the chosen entry from what is left.
std::vector<DrawEntry> shuffled(std::vector<DrawEntry> left)
{
    std::vector<DrawEntry> order;
    order.reserve(left.size());
    while (!left.empty()) {
        int v = MERSENNETWISTERRANDOM(1, static_cast<int>(left.size()));
        order.push_back(left[static_cast<std::size_t>(v - 1)]);
        left.erase(left.begin() + (v - 1));
    }
    return order;
}

void place(DrawRecord& record, int field, const DrawEntry& entry)
{
    record.names[static_cast<std::size_t>(field - 1)] = SHRINKTABSINSTRING(entry.name);
    record.tokens[static_cast<std::size_t>(field - 1)] = entry.token;
}

}  // namespace

std::string SHRINKTABSINSTRING(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(' ');
    std::string result;
    for (std::size_t i = first; i <= last; ++i)
        if (text[i] != '\t')
            result += text[i];
    return result;
}

DrawEntry fillerEntry() { return DrawEntry{kDummyName, std::string(), false}; }

std::vector<DrawRecord> drawTeams(const std::vector<DrawEntry>& captains, const std::vector<DrawEntry>& players,
                                  bool filler)
{
    randomSource().reseed();
    std::vector<DrawEntry> shuffledCaptains = shuffled(captains);
    std::vector<DrawEntry> shuffledPlayers = shuffled(players);
    if (filler)
        shuffledPlayers.push_back(fillerEntry());

    // Captains 2r-1 and 2r lead the two teams of lane r.
    std::vector<DrawRecord> records;
    for (std::size_t i = 0; i + 1 < shuffledCaptains.size(); i += 2) {
        DrawRecord record;
        place(record, kFirstCaptainField, shuffledCaptains[i]);
        place(record, kSecondCaptainField, shuffledCaptains[i + 1]);
        records.push_back(record);
    }

    // Two players per team, lane by lane.
    std::size_t j = 0;
    const std::size_t count = shuffledPlayers.size();
    for (DrawRecord& record : records) {
        for (int field : {2, 3, 6, 7}) {
            if (j >= count)
                break;
            place(record, field, shuffledPlayers[j++]);
        }
    }

    // Players left over: a fourth member for both teams of the lanes taken in random order.
    if (j + 1 < count) {
        const int lanes = static_cast<int>(records.size());
        for (int lane : RANDOMAILES(lanes, lanes)) {
            DrawRecord& record = records[static_cast<std::size_t>(lane - 1)];
            place(record, 4, shuffledPlayers[j++]);
            if (j >= count)
                break;
            place(record, 8, shuffledPlayers[j++]);
            if (j >= count)
                break;
        }
    }
    return records;
}

std::vector<SpousePair> validSpousePairs(const std::vector<SpousePair>& pairs)
{
    std::vector<SpousePair> valid;
    for (const SpousePair& pair : pairs)
        if (pair.spouse > 0 && pair.member > 0 && pair.spouse != pair.member)
            valid.push_back(pair);
    return valid;
}

std::optional<SpouseConflict> findSpouseConflict(const std::vector<DrawRecord>& records,
                                                 const std::vector<SpousePair>& pairs)
{
    const std::vector<SpousePair> couples = validSpousePairs(pairs);
    for (std::size_t r = 0; r < records.size(); ++r) {
        const DrawRecord& record = records[r];
        for (const SpousePair& pair : couples) {
            int count = 0;
            SpouseConflict conflict;
            for (std::size_t f = 0; f < kNamesPerRecord; ++f) {
                int value = tokenValue(record.tokens[f]);
                if (value == pair.spouse) {
                    ++count;
                    conflict.spouseName = record.names[f];
                }
                if (value == pair.member) {
                    ++count;
                    conflict.memberName = record.names[f];
                }
            }
            if (count == 2) {
                conflict.lane = static_cast<int>(r) + 1;
                conflict.pair = pair;
                return conflict;
            }
        }
    }
    return std::nullopt;
}

}  // namespace derode::draw
