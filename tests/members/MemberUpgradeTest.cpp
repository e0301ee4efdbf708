#include "members/MemberUpgrade.h"

#include "members/MemberTestTable.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace derode;
namespace fs = std::filesystem;

namespace {

// A table as an older release wrote it: the nine fields without NO_CONJOIN.
std::string makeEightFieldLeague(const test::TestLocations& locations)
{
    const std::string folder = locations.get().leagueFolder("Ancienne");
    fs::create_directories(folder);
    std::vector<engine::FieldDef> fields = members::memberFields();
    fields.pop_back();
    const std::string path = folder + members::kMemberTableFile;
    EXPECT_TRUE(engine::createTable(path, fields));
    engine::CDBSERVEREX table(path, {}, false);
    const char* names[][2] = {{"LATRIMOUILLE", "Alfred"}, {"EFFACÉ", "Jean"}, {"CÔTÉ", "Hélène"}};
    int token = 10;
    for (const auto& name : names) {
        EXPECT_TRUE(table.append());
        table.fieldPut("NOM", std::string(name[0]));
        table.fieldPut("PRENOM", std::string(name[1]));
        table.fieldPut("FEMME", token == 12);
        table.fieldPut("NO_JETON", double(token++));
        table.fieldPut("MAIL", std::string("a@b.co"));
    }
    table.goTo(2);
    table.deleteRecord();
    table.commit();
    return folder;
}

}  // namespace

TEST(UpdateDbfMembers, EightFieldsBecomeNineAndAStaleBacktempIsReplaced)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = makeEightFieldLeague(locations);
    // A leftover of an earlier failed attempt, holding a record of its own.
    {
        ASSERT_TRUE(engine::createTable(folder + "BackTemp.dbf", members::memberFields()));
        engine::CDBSERVEREX leftover(folder + "BackTemp.dbf", {}, false);
        leftover.append();
        leftover.fieldPut("NOM", std::string("FANTÔME"));
        leftover.commit();
    }

    EXPECT_EQ(members::upgradeMemberTable(folder), members::UpgradeResult::Upgraded);

    const std::string path = folder + members::kMemberTableFile;
    {
        engine::CDBSERVEREX table(path, {}, true, true);
        ASSERT_TRUE(table.used());
        EXPECT_EQ(table.fieldCount(), 9);
        EXPECT_EQ(table.fieldName(9), "NO_CONJOIN");
    }
    const auto list = test::membersIn(path);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].nom, "LATRIMOUILLE");
    EXPECT_EQ(list[0].noJeton, 10);
    EXPECT_EQ(list[0].noConjoin, 0);
    EXPECT_EQ(list[1].nom, "CÔTÉ");
    EXPECT_EQ(list[1].prenom, "Hélène");
    EXPECT_TRUE(list[1].femme);
    EXPECT_EQ(list[1].mail, "a@b.co");
    test::expectTagsFindEveryMember(path);
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_NE(core::toLower(entry.path().filename().string()), "backtemp.dbf");
    EXPECT_TRUE(answerer.shown().empty());
}

TEST(UpdateDbfMembers, NineFieldsAreLeftUntouched)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = test::makeLeague(locations, "Neuf", {test::member("DUPONT", "Marie", 5)});
    const std::string path = folder + members::kMemberTableFile;
    const std::string before = test::bytesOf(path);
    EXPECT_EQ(members::upgradeMemberTable(folder), members::UpgradeResult::Unchanged);
    EXPECT_EQ(test::bytesOf(path), before);
    EXPECT_FALSE(fs::exists(folder + members::kUpgradeTempFile));
}

TEST(UpdateDbfMembers, AFailedStepLeavesTheTableAndTheNextStartRetries)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = makeEightFieldLeague(locations);
    const std::string path = folder + members::kMemberTableFile;
    const std::string before = test::bytesOf(path);
    // "BACKTEMP.dbf" cannot be replaced: a folder with content stands in its place.
    fs::create_directories(folder + "BACKTEMP.dbf/x");

    EXPECT_EQ(members::upgradeMemberTable(folder), members::UpgradeResult::Failed);
    EXPECT_EQ(test::bytesOf(path), before);
    EXPECT_TRUE(answerer.shown().empty());

    fs::remove_all(folder + "BACKTEMP.dbf");
    EXPECT_EQ(members::upgradeMemberTable(folder), members::UpgradeResult::Upgraded);
    EXPECT_EQ(test::membersIn(path).size(), 2u);
}

TEST(UpdateDbfMembers, ATableHeldElsewhereShowsTheOpenFailure)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = test::makeLeague(locations, "Tenue", {});
    engine::CDBSERVEREX browser(folder + members::kMemberTableFile, {}, true);
    ASSERT_TRUE(browser.used());
    EXPECT_EQ(members::upgradeMemberTable(folder), members::UpgradeResult::CannotOpen);
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.shown()[0].text, members::kCannotOpenText);
    EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::Error);
}
