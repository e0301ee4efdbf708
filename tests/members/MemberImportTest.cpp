#include "members/MemberImport.h"

#include "members/MemberTestTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace derode;
namespace fs = std::filesystem;

TEST(ImportMembers, AWrongFileChangesNothing)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = test::makeLeague(locations, "Ici", {test::member("RESTE", "Là", 1)});
    const std::string table = folder + members::kMemberTableFile;
    const std::string index = folder + members::kMemberIndexFile;
    const std::string tableBefore = test::bytesOf(table);
    const std::string indexBefore = test::bytesOf(index);

    const std::string other = locations.get().dataRoot + "Autre/";
    fs::create_directories(other);
    std::ofstream(other + "membres-2.dbf") << "ceci n'est pas une table";
    const std::string drawTable = test::copyFixture("xbase/draw/partie1-2.dbf", other).string();
    const std::string wrongWidth = other + "large.dbf";
    std::vector<engine::FieldDef> fields = members::memberFields();
    fields[0].length = 30;
    ASSERT_TRUE(engine::createTable(wrongWidth, fields));

    for (const std::string& chosen : {other + "absent.dbf", other + "membres-2.dbf", drawTable, wrongWidth}) {
        answerer.clear();
        EXPECT_EQ(members::importMembersFrom(chosen, folder), members::ImportResult::WrongFile) << chosen;
        EXPECT_EQ(answerer.texts(), std::vector<std::string>{members::kWrongFileText});
        EXPECT_EQ(test::bytesOf(table), tableBefore);
        EXPECT_EQ(test::bytesOf(index), indexBefore);
    }
    answerer.clear();
    EXPECT_EQ(members::importMembersFrom(table, folder), members::ImportResult::SameTable);
    EXPECT_EQ(test::bytesOf(table), tableBefore);
    EXPECT_TRUE(answerer.shown().empty());
}

TEST(ImportMembers, ReplacesTheRegisterAndRebuildsAMissingIndex)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string source = test::makeLeague(
        locations, "Source", {test::member("UN", "Albert", 1), test::member("DEUX", "Béa", 2), test::member("TROIS", "C", 3)});
    fs::remove(source + members::kMemberIndexFile);
    const std::string folder = test::makeLeague(locations, "Cible", {test::member("ANCIEN", "Membre", 50)});

    EXPECT_EQ(members::importMembersFrom(source + members::kMemberTableFile, folder), members::ImportResult::Imported);
    const std::string table = folder + members::kMemberTableFile;
    const auto list = test::membersIn(table);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].prenom, "Béa");
    test::expectTagsFindEveryMember(table);
    EXPECT_TRUE(answerer.shown().empty());
}

TEST(ImportMembers, AnOlderEightFieldRegisterIsBroughtToNineFields)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string other = locations.get().dataRoot + "Vieille/";
    fs::create_directories(other);
    std::vector<engine::FieldDef> fields = members::memberFields();
    fields.erase(fields.begin() + 7);  // no MAIL
    ASSERT_TRUE(engine::createTable(other + "membres-2.dbf", fields));
    {
        engine::CDBSERVEREX old(other + "membres-2.dbf", {}, false);
        old.append();
        old.fieldPut("NOM", std::string("VIEUX"));
        old.fieldPut("PRENOM", std::string("Léon"));
        old.fieldPut("NO_JETON", 4.0);
        old.fieldPut("NO_CONJOIN", 5.0);
        old.commit();
    }
    const std::string folder = test::makeLeague(locations, "Cible", {});
    EXPECT_EQ(members::importMembersFrom(other + "membres-2.dbf", folder), members::ImportResult::Imported);
    const std::string table = folder + members::kMemberTableFile;
    {
        engine::CDBSERVEREX t(table, {}, true, true);
        EXPECT_EQ(t.fieldCount(), 9);
    }
    const auto list = test::membersIn(table);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].noConjoin, 5);
    EXPECT_EQ(list[0].mail, "");
    test::expectTagsFindEveryMember(table);
}

TEST(ImportMembers, ARegisterHeldElsewhereIsNotReplaced)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string source = test::makeLeague(locations, "Source", {test::member("UN", "A", 1)});
    const std::string folder = test::makeLeague(locations, "Cible", {test::member("GARDE", "B", 2)});
    const std::string table = folder + members::kMemberTableFile;
    const std::string before = test::bytesOf(table);
    engine::CDBSERVEREX drawWindow(table, {}, true);
    EXPECT_EQ(members::importMembersFrom(source + members::kMemberTableFile, folder), members::ImportResult::CannotOpen);
    EXPECT_EQ(test::bytesOf(table), before);
    EXPECT_EQ(answerer.texts(), std::vector<std::string>{members::kCannotOpenText});
}
