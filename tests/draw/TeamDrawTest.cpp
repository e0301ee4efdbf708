#include "draw/DrawFile.h"
#include "draw/RandomSource.h"
#include "draw/TeamDraw.h"
#include "DrawPeople.h"
#include "ReplayRandom.h"

#include <gtest/gtest.h>

#include <set>

using namespace derode::draw;
using derode::test::people;
using derode::test::ReplayRandom;

namespace {

// The names of one record, field 1 first.
std::vector<std::string> names(const DrawRecord& record) { return {record.names.begin(), record.names.end()}; }
std::vector<std::string> tokens(const DrawRecord& record) { return {record.tokens.begin(), record.tokens.end()}; }

TEST(TeamDraw, FourCaptainsEightPlayersFromAReplayedSequence)
{
    ReplayRandom random({2, 3, 1, 1, /* players */ 8, 1, 3, 1, 4, 1, 2, 1});
    auto records = drawTeams(people("CAP  ", 4, 1), people("JOU  ", 8, 101), false);

    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(names(records[0]),
              (std::vector<std::string>{"CAP  2", "JOU  8", "JOU  1", "", "CAP  4", "JOU  4", "JOU  2", ""}));
    EXPECT_EQ(tokens(records[0]), (std::vector<std::string>{"2", "108", "101", "", "4", "104", "102", ""}));
    EXPECT_EQ(names(records[1]),
              (std::vector<std::string>{"CAP  1", "JOU  7", "JOU  3", "", "CAP  3", "JOU  6", "JOU  5", ""}));
    EXPECT_EQ(tokens(records[1]), (std::vector<std::string>{"1", "107", "103", "", "3", "106", "105", ""}));
    EXPECT_EQ(records[0].points, (std::array<double, 4>{}));
    EXPECT_EQ(random.left(), 0u);
    EXPECT_EQ(random.reseeds(), 1);  // no lane order drawn: nobody is left for a fourth place
}

TEST(TeamDraw, FourCaptainsElevenPlayersWithFillerFromAReplayedSequence)
{
    ReplayRandom random({1, 1, 1, 1, /* players */ 11, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, /* lanes */ 2, 1});
    auto records = drawTeams(people("CAP  ", 4, 1), people("JOU  ", 11, 101), true);

    ASSERT_EQ(records.size(), 2u);
    // Lane order 2, 1: lane 2 takes players 9 and 10 of the shuffle, lane 1 player 11 and the filler.
    EXPECT_EQ(names(records[0]), (std::vector<std::string>{"CAP  1", "JOU  11", "JOU  1", "JOU  10", "CAP  2",
                                                           "JOU  2", "JOU  3", "__DUMMY__"}));
    EXPECT_EQ(tokens(records[0]), (std::vector<std::string>{"1", "111", "101", "110", "2", "102", "103", ""}));
    EXPECT_EQ(names(records[1]), (std::vector<std::string>{"CAP  3", "JOU  4", "JOU  5", "JOU  8", "CAP  4",
                                                           "JOU  6", "JOU  7", "JOU  9"}));
    EXPECT_EQ(tokens(records[1]), (std::vector<std::string>{"3", "104", "105", "108", "4", "106", "107", "109"}));
    EXPECT_EQ(random.left(), 0u);
    EXPECT_EQ(random.reseeds(), 2);  // the lane order reseeds on its own
}

// The shapes of a fresh draw, with the program's own generator.
TEST(TeamDraw, ShapesOfFreshDraws)
{
    for (int round = 0; round < 20; ++round) {
        auto plain = drawTeams(people("C", 4, 1), people("J", 8, 11), false);
        ASSERT_EQ(plain.size(), 2u);
        for (const auto& r : plain)
            for (int f : {1, 2, 3, 5, 6, 7})
                EXPECT_FALSE(r.names[f - 1].empty());
        for (const auto& r : plain)
            EXPECT_TRUE(r.names[3].empty() && r.names[7].empty() && r.tokens[3].empty() && r.tokens[7].empty());

        auto short1 = drawTeams(people("C", 4, 1), people("J", 7, 11), true);
        ASSERT_EQ(short1.size(), 2u);
        EXPECT_EQ(short1[1].names[6], kDummyName);
        EXPECT_EQ(short1[1].tokens[6], "");
        EXPECT_EQ(tokenValue(short1[1].tokens[6]), 0);
        EXPECT_TRUE(short1[0].names[3].empty() && short1[1].names[7].empty());

        auto fours = drawTeams(people("C", 4, 1), people("J", 11, 11), true);
        ASSERT_EQ(fours.size(), 2u);
        int dummies = 0;
        for (const auto& r : fours) {
            EXPECT_FALSE(r.names[3].empty());
            EXPECT_FALSE(r.names[7].empty());
            dummies += r.names[7] == kDummyName;
        }
        EXPECT_EQ(dummies, 1);

        // 6 lanes, 2 of them with teams of four: fields 4 and 8 go together.
        auto some = drawTeams(people("C", 12, 1), people("J", 28, 21), false);
        ASSERT_EQ(some.size(), 6u);
        int lanesOfFour = 0;
        std::set<std::string> seen;
        for (const auto& r : some) {
            EXPECT_EQ(r.names[3].empty(), r.names[7].empty());
            lanesOfFour += !r.names[3].empty();
            for (const auto& t : r.tokens)
                if (!t.empty())
                    EXPECT_TRUE(seen.insert(t).second) << "placed twice: " << t;
        }
        EXPECT_EQ(lanesOfFour, 2);
        EXPECT_EQ(seen.size(), 40u);
    }
}

TEST(TeamDraw, NamesAreCleanedTokensKeptAsTheyAre)
{
    EXPECT_EQ(SHRINKTABSINSTRING("  DUPONT\t  Jean  "), "DUPONT  Jean");
    EXPECT_EQ(SHRINKTABSINSTRING("\tA\tB "), "AB");
    EXPECT_EQ(SHRINKTABSINSTRING("   "), "");

    ReplayRandom random({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    auto entries = people("C", 4, 1);
    entries[0].name = " MARTIN\t  Paul ";
    auto records = drawTeams(entries, people("J", 8, 11), false);
    EXPECT_EQ(records[0].names[0], "MARTIN  Paul");
}

TEST(TeamDraw, RandomLaneOrderIsAPermutation)
{
    {
        ReplayRandom random({3, 3, 1, 1});
        EXPECT_EQ(RANDOMAILES(4, 4), (std::vector<int>{3, 4, 1, 2}));
        EXPECT_EQ(random.reseeds(), 1);
    }
    {
        ReplayRandom random({2});
        EXPECT_EQ(RANDOMAILES(1, 5), (std::vector<int>{2}));
    }
    for (int i = 0; i < 50; ++i) {
        int v = MERSENNETWISTERRANDOM(1, 3);
        EXPECT_TRUE(v >= 1 && v <= 3);
    }
    auto order = RANDOMAILES(7, 7);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()), (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
}

DrawRecord lane(std::vector<std::string> toks)
{
    DrawRecord record;
    for (std::size_t i = 0; i < toks.size(); ++i) {
        record.tokens[i] = toks[i];
        record.names[i] = toks[i].empty() ? "" : "N" + toks[i];
    }
    return record;
}

TEST(TeamDraw, SpouseRuleOverTheEightTokenFields)
{
    const std::vector<SpousePair> couple{{34, 12}};
    // Team-mates and opponents both conflict; the lane and both names are reported.
    auto mates = findSpouseConflict({lane({"1", "2", "3", "", "5", "6", "7", ""}),
                                     lane({"12", "34", "9", "", "10", "11", "13", ""})},
                                    couple);
    ASSERT_TRUE(mates);
    EXPECT_EQ(mates->lane, 2);
    EXPECT_EQ(mates->memberName, "N12");
    EXPECT_EQ(mates->spouseName, "N34");
    EXPECT_TRUE(findSpouseConflict({lane({"1", "12", "3", "", "5", "6", "34", ""})}, couple));
    EXPECT_TRUE(findSpouseConflict({lane({"1", "2", "3", "12", "5", "6", "7", "34"})}, couple));
    // Apart, or one of them absent: no conflict. Empty places and the filler count as 0.
    EXPECT_FALSE(findSpouseConflict({lane({"12", "2", "3", "", "5", "6", "7", ""}),
                                     lane({"34", "8", "9", "", "10", "11", "13", ""})},
                                    couple));
    EXPECT_FALSE(findSpouseConflict({lane({"12", "2", "3", "", "5", "6", "", ""})}, couple));
    // A member recorded as the member's own spouse is no couple.
    EXPECT_FALSE(findSpouseConflict({lane({"12", "2", "3", "", "5", "6", "7", ""})}, {{12, 12}}));
    EXPECT_EQ(validSpousePairs({{12, 12}, {34, 12}, {0, 5}}), (std::vector<SpousePair>{{34, 12}}));
}

TEST(DrawFile, TokenTextsAndNames)
{
    EXPECT_EQ(tokenText(7), "7");
    EXPECT_EQ(tokenText(125), "125");
    EXPECT_EQ(tokenValue(""), 0);
    EXPECT_EQ(tokenValue("   "), 0);
    EXPECT_EQ(tokenValue(" 12"), 12);
    EXPECT_EQ(tokenValue("007"), 7);
    EXPECT_EQ(tokenValue("__DUMMY__"), 0);
    EXPECT_EQ(datedDrawFilePath("/l/", "2025-10-01"), "/l/PartiesParDates/2025-10-01.dbf");
    EXPECT_EQ(currentDrawFilePath("/l/"), "/l/partie1-2.dbf");
}

}  // namespace
