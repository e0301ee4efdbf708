#include "members/MemberMaintenance.h"

#include "members/MemberTestTable.h"

#include <gtest/gtest.h>

using namespace derode;

TEST(IsLowerInString, FindsAnyLowercaseLetter)
{
    const struct {
        const char* text;
        bool lower;
    } cases[] = {{"LATRIMOUILLE", false}, {"LaTRIMOUILLE", true}, {"ÉCOLE-Ç", false},
                 {"Émile", true},         {"ÇA ô", true},          {"123 -'", false}, {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(members::ISLOWERINSTRING(c.text), c.lower) << c.text;
}

TEST(CleanMembers, CapitalisesFamilyNamesRemovesNamelessRecordsAndKeepsBothTags)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = test::makeLeague(
        locations, "Entretien",
        {test::member("latrimouille", "Alfred", 1), test::member("   ", "Sans Nom", 2),
         test::member("éric-côté", "Anne", 3), test::member("ZED", "Zoé", 4)});
    const std::string path = folder + members::kMemberTableFile;

    EXPECT_TRUE(members::cleanMemberTable(path));

    const auto list = test::membersIn(path);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].nom, "LATRIMOUILLE");
    EXPECT_EQ(list[1].nom, "ÉRIC-CÔTÉ");
    EXPECT_EQ(list[2].nom, "ZED");
    {
        engine::CDBSERVEREX table(path, {}, true, true);
        EXPECT_EQ(table.recCount(), 3u);  // packed, not only hidden
    }
    test::expectTagsFindEveryMember(path);
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.shown()[0].text, members::kMaintenanceDoneText);
    EXPECT_EQ(answerer.shown()[0].caption, "OK");
}

TEST(CleanMembers, ATableHeldElsewhereIsNotTouched)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = test::makeLeague(locations, "Tenue", {test::member("bas", "Casse", 1)});
    const std::string path = folder + members::kMemberTableFile;
    const std::string before = test::bytesOf(path);
    {
        engine::CDBSERVEREX browser(path, {}, true);
        EXPECT_FALSE(members::cleanMemberTable(path));
    }
    EXPECT_EQ(test::bytesOf(path), before);
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.shown()[0].text, members::kCannotOpenText);
}

TEST(EraseAndPack, NeedTheTableToThemselves)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder =
        test::makeLeague(locations, "Vider", {test::member("UN", "A", 1), test::member("DEUX", "B", 2)});
    const std::string path = folder + members::kMemberTableFile;
    {
        engine::CDBSERVEREX browser(path, {}, true);
        browser.goTop();
        browser.deleteRecord();
        browser.commit();
        EXPECT_FALSE(members::packIfExclusive(path));
        EXPECT_FALSE(members::eraseAllMembers(path));
        EXPECT_EQ(browser.visibleCount(), 1u);  // the deleted one is hidden all the same
    }
    EXPECT_TRUE(members::packIfExclusive(path));
    {
        engine::CDBSERVEREX table(path, {}, true, true);
        EXPECT_EQ(table.recCount(), 1u);
    }
    test::expectTagsFindEveryMember(path);
    EXPECT_TRUE(members::eraseAllMembers(path));
    EXPECT_TRUE(test::membersIn(path).empty());
    EXPECT_TRUE(answerer.shown().empty());
}

TEST(CleanMembers, ARegisterWrittenByAnotherEngineIsPackedAndStaysIndexed)
{
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    const std::string folder = locations.get().leagueFolder("Reference");
    std::filesystem::create_directories(folder);
    test::copyFixture("xbase/members-25/membres-2.dbf", folder);
    test::copyFixture("xbase/members-25/membres-2.cdx", folder);
    const std::string path = folder + members::kMemberTableFile;

    EXPECT_TRUE(members::cleanMemberTable(path));
    const auto list = test::membersIn(path);
    ASSERT_EQ(list.size(), 23u);  // the two records marked deleted are gone
    EXPECT_EQ(list[1].prenom, "JÉRÔME");
    test::expectTagsFindEveryMember(path);
}
