// Draw files on disk: reading by position, the shapes a draw writes, all-or-nothing writing,
// the retry loop over real files, and what the draw window reads from the member table.
#include "core/Messages.h"
#include "draw/DrawAttempt.h"
#include "draw/DrawFileStore.h"
#include "draw/DrawRegistration.h"
#include "draw/DrawTables.h"
#include "draw/FeasibilityRules.h"
#include "draw/LanesOption.h"
#include "engine/DbServer.h"
#include "engine/Templates.h"
#include "support/TestSupport.h"
#include "DrawPeople.h"
#include "ReplayRandom.h"

#include <gtest/gtest.h>

using namespace derode;
using namespace derode::draw;
using test::people;
using test::ReplayRandom;
using test::ScriptedAnswerer;
using test::TempDir;

namespace {

std::vector<int> ones(int count) { return std::vector<int>(static_cast<std::size_t>(count), 1); }

std::vector<int> join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class DrawFiles : public testing::Test {
protected:
    DrawFiles()
    {
        league = dir.str();
        path = currentDrawFilePath(league);
        EXPECT_TRUE(engine::createFromLayout(path, engine::drawTableLayout()));
    }
    std::vector<DrawRecord> onDisk()
    {
        std::vector<DrawRecord> records;
        EXPECT_TRUE(readDrawFile(path, records));
        return records;
    }

    TempDir dir;
    std::string league;
    std::string path;
};

TEST(DrawFileRead, FieldsByPositionFromAnotherEnginesFile)
{
    std::vector<DrawRecord> records;
    ASSERT_TRUE(readDrawFile(test::fixture("xbase/draw/partie1-2.dbf").string(), records));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].names[0], "DUPONT JEAN");
    EXPECT_EQ(records[0].names[6], "ÇOLAK ZOÉ");
    EXPECT_EQ(records[0].tokens[0], "12");
    EXPECT_EQ(records[0].tokens[4], "999");
    EXPECT_EQ(records[0].points, (std::array<double, 4>{13, 8, 11, 13}));
    EXPECT_EQ(records[2].names[3], "DUPUIS BRUNO");
    EXPECT_EQ(records[2].names[4], "");
    EXPECT_EQ(tokenValue(records[2].tokens[4]), 0);
    EXPECT_EQ(records[2].points, (std::array<double, 4>{13, 9, 0, 0}));
}

TEST_F(DrawFiles, ShapesWrittenByADraw)
{
    struct Shape {
        int players;
        bool filler;
        std::vector<int> sequence;
    };
    const Shape shapes[] = {
        {8, false, join({ones(4), ones(8)})},
        {7, true, join({ones(4), ones(7)})},
        {11, true, join({ones(4), ones(11), {1, 1}})},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.players);
        ReplayRandom random(shape.sequence);
        auto attempt = TIRAGECAPSETJOUEURSPRT1(people("CAP  ", 4, 1), people("JOU  ", shape.players, 11),
                                               shape.filler, {}, path);
        ASSERT_TRUE(attempt.written) << attempt.error;
        const auto records = onDisk();
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records, attempt.records);
        for (const auto& r : records) {
            for (int f : {1, 2, 3, 5, 6, 7})
                EXPECT_FALSE(r.names[static_cast<std::size_t>(f - 1)].empty());
            EXPECT_EQ(r.points, (std::array<double, 4>{}));
        }
        if (shape.players == 8) {
            for (const auto& r : records)
                EXPECT_TRUE(r.names[3].empty() && r.names[7].empty() && tokenValue(r.tokens[3]) == 0);
        } else if (shape.players == 7) {
            EXPECT_EQ(records[1].names[6], "__DUMMY__");
            EXPECT_EQ(records[1].tokens[6], "");
            EXPECT_TRUE(records[0].names[3].empty() && records[1].names[7].empty());
        } else {
            // Lane order 1, 2: the filler, last player, is the fourth member of lane 2's second team.
            EXPECT_EQ(records[0].names[3], "JOU  9");
            EXPECT_EQ(records[0].names[7], "JOU  10");
            EXPECT_EQ(records[1].names[3], "JOU  11");
            EXPECT_EQ(records[1].names[7], "__DUMMY__");
        }
    }
}

TEST_F(DrawFiles, ANewDrawReplacesTheWholeFile)
{
    auto first = TIRAGECAPSETJOUEURSPRT1(people("C", 12, 1), people("J", 24, 21), false, {}, path);
    ASSERT_TRUE(first.written);
    EXPECT_EQ(onDisk().size(), 6u);
    auto second = TIRAGECAPSETJOUEURSPRT1(people("C", 4, 1), people("J", 8, 21), false, {}, path);
    ASSERT_TRUE(second.written);
    EXPECT_EQ(onDisk(), second.records);
}

TEST_F(DrawFiles, NothingWrittenWhenTheFileIsHeldOrMissing)
{
    auto before = TIRAGECAPSETJOUEURSPRT1(people("C", 4, 1), people("J", 8, 21), false, {}, path);
    ASSERT_TRUE(before.written);
    {
        engine::CDBSERVEREX reader(path, {}, true);
        ASSERT_TRUE(reader.used());
        auto attempt = TIRAGECAPSETJOUEURSPRT1(people("C", 6, 1), people("J", 12, 21), false, {}, path);
        EXPECT_FALSE(attempt.written);
        EXPECT_FALSE(attempt.error.empty());
    }
    EXPECT_EQ(onDisk(), before.records);

    auto missing = TIRAGECAPSETJOUEURSPRT1(people("C", 4, 1), people("J", 8, 21), false, {}, league + "absent.dbf");
    EXPECT_FALSE(missing.written);
    EXPECT_FALSE(std::filesystem::exists(league + "absent.dbf"));
}

TEST_F(DrawFiles, RetriesWhileACoupleSharesALane)
{
    // Captains 1-4, players 12 and 34 a couple. With every pick 1, players 12 and 34 come first
    // and share lane 1: every attempt fails, the eleventh stays.
    auto players = people("J", 8, 40);
    players[0] = {"MARI  Jean", "12", false};
    players[1] = {"FEMME  Anne", "34", true};
    const std::vector<SpousePair> pairs{{34, 12}};
    {
        ReplayRandom random(join({ones(12 * 11)}));
        DrawOutcome outcome = drawWithRetries(people("C", 4, 1), players, false, pairs, path);
        EXPECT_TRUE(outcome.written);
        EXPECT_EQ(outcome.attempts, 11);
        ASSERT_TRUE(outcome.conflict);
        EXPECT_EQ(outcome.conflict->lane, 1);
        EXPECT_EQ(random.left(), 0u);
        EXPECT_EQ(onDisk()[0].tokens[1], "12");
        EXPECT_EQ(onDisk()[0].tokens[2], "34");
        EXPECT_EQ(coupleOnOneLaneMessage(*outcome.conflict, outcome.attempts),
                  "\r\nMalgré 11 tirages, un couple joue sur la même allée / tapis :\r\n\r\nMARI  Jean (# 12) et "
                  "FEMME  Anne (# 34)\r\nAllée / tapis 1\r\n\r\nRefaites un tirage pour les séparer.");
    }
    {
        // Together on the first attempt, apart on the second: 34 is dealt to lane 1, 12 to lane 2.
        ReplayRandom random(join({ones(12), ones(4), {2, 2, 2, 2, 1, 1, 1, 1}}));
        DrawOutcome outcome = drawWithRetries(people("C", 4, 1), players, false, pairs, path);
        EXPECT_EQ(outcome.attempts, 2);
        EXPECT_FALSE(outcome.conflict);
        EXPECT_EQ(random.left(), 0u);
    }
    // With the program's generator no accepted draw puts the couple on one lane, and a couple
    // with one member absent never causes a retry.
    auto alone = people("J", 8, 50);
    alone[0] = {"MARI  Jean", "12", false};
    for (int round = 0; round < 8; ++round) {
        DrawOutcome outcome = drawWithRetries(people("C", 4, 1), players, false, pairs, path);
        if (!outcome.conflict) {
            for (const auto& record : onDisk()) {
                int found = 0;
                for (const auto& token : record.tokens)
                    found += token == "12" || token == "34";
                EXPECT_LT(found, 2);
            }
        }
        EXPECT_EQ(drawWithRetries(people("C", 4, 1), alone, false, pairs, path).attempts, 1);
    }
}

TEST_F(DrawFiles, DrawCommandFromTheRegistration)
{
    ScriptedAnswerer answers;
    DrawRegistration reg(league, 4);
    std::vector<MemberRow> members;
    for (int i = 1; i <= 15; ++i)
        members.push_back({"NOM" + std::to_string(i) + "  P", i <= 4, std::to_string(i), false, false, false});
    reg.setMembers(members);
    for (int i = 0; i < 15; ++i) {
        reg.selectMember(i);
        i < 4 ? reg.addCaptain() : reg.addPlayer();
    }
    EXPECT_TRUE(reg.VERIFIERTIRAGE());
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].text, TESTTIRAGE(4, 11, 4).message);
    auto records = onDisk();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].names[7] == "__DUMMY__" || records[1].names[7] == "__DUMMY__");

    // A refused registration writes nothing.
    answers.clear();
    ASSERT_TRUE(writeLanes(league, 1));
    EXPECT_FALSE(reg.VERIFIERTIRAGE());
    EXPECT_EQ(answers.texts(), std::vector<std::string>{TESTTIRAGE(4, 11, 1).message});
    EXPECT_EQ(onDisk(), records);

    // The draw file held elsewhere: the rule's message, then ours; the last draw stays.
    ASSERT_TRUE(writeLanes(league, 4));
    answers.clear();
    {
        engine::CDBSERVEREX reader(path, {}, true);
        EXPECT_FALSE(reg.VERIFIERTIRAGE());
    }
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_EQ(answers.shown()[1].kind, core::MessageKind::Error);
    EXPECT_EQ(answers.shown()[1].text, drawFileOpenFailedMessage());
    EXPECT_EQ(onDisk(), records);
}

TEST_F(DrawFiles, TheOrganiserIsToldWhenACoupleStillSharesALane)
{
    ScriptedAnswerer answers;
    DrawRegistration reg(league, 4);
    std::vector<MemberRow> members;
    for (int i = 1; i <= 12; ++i)
        members.push_back({"NOM" + std::to_string(i) + "  P", i <= 4, std::to_string(i), false, false, false});
    reg.setMembers(members);
    reg.setSpousePairs({{11, 10}});
    for (int i = 0; i < 12; ++i) {
        reg.selectMember(i);
        i < 4 ? reg.addCaptain() : reg.addPlayer();
    }
    ReplayRandom random(ones(12 * 11));  // players in list order: 10 and 11 on lane 1 every time
    EXPECT_TRUE(reg.VERIFIERTIRAGE());
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_EQ(answers.shown()[1].kind, core::MessageKind::Information);
    EXPECT_EQ(answers.shown()[1].text, "\r\nMalgré 11 tirages, un couple joue sur la même allée / tapis :\r\n\r\n"
                                       "NOM10  P (# 10) et NOM11  P (# 11)\r\nAllée / tapis 1\r\n\r\nRefaites un tirage "
                                       "pour les séparer.");
    EXPECT_EQ(onDisk().size(), 2u);
}

TEST_F(DrawFiles, RefillFromTheLastDraw)
{
    ScriptedAnswerer answers;
    {
        ReplayRandom random(join({ones(4), ones(7)}));
        ASSERT_TRUE(TIRAGECAPSETJOUEURSPRT1(people("C", 4, 1), people("J", 7, 11), true, {}, path).written);
    }
    DrawRegistration reg(league, 4);
    std::vector<MemberRow> members;
    for (int i = 1; i <= 17; ++i)
        members.push_back({"N" + std::to_string(i), false, std::to_string(i), false, false, false});
    reg.setMembers(members);
    std::string date;
    ASSERT_TRUE(refillFromCurrentDrawFile(reg, &date));
    EXPECT_EQ(reg.captainCount(), 4);
    EXPECT_EQ(reg.playerCount(), 7);  // the filler is not registered
    EXPECT_EQ(date.size(), 10u);
    EXPECT_TRUE(answers.shown().empty());

    std::filesystem::remove(path);
    DrawRegistration empty(league, 4);
    EXPECT_FALSE(refillFromCurrentDrawFile(empty, &date));
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].kind, core::MessageKind::Error);
    EXPECT_EQ(answers.shown()[0].text, "Le programme ne peut pas ouvrir la base de données du dernier tirage... ");
}

TEST(DrawTables, MembersAndSpousePairsFromTheMemberTable)
{
    TempDir dir;
    auto copy = test::copyFixture("xbase/members-25", dir.path());
    engine::CDBSERVEREX members((copy / "membres-2.dbf").string(), {}, true);
    ASSERT_TRUE(members.used());
    auto rows = readMemberRows(members);
    ASSERT_EQ(rows.size(), 23u);  // two records are deleted
    EXPECT_EQ(rows[0].name, "LE  SYLVIE");
    EXPECT_EQ(rows[0].token, "450");
    EXPECT_EQ(rows[1].name, "RILA  JÉRÔME");
    EXPECT_TRUE(rows[1].captain);
    EXPECT_EQ(rows[1].status(), "C");
    EXPECT_EQ(rows[6].occasionalMark(), "CO");  // TÉTILE  RENÉ
    EXPECT_TRUE(rows[7].femme);
    EXPECT_EQ(rows[3].spouse, 253);
    EXPECT_EQ(readSpousePairs(members), (std::vector<SpousePair>{{253, 562}, {241, 644}}));
    EXPECT_EQ(members.recNo(), 1u);
}

}  // namespace
