#include "members/DisplayName.h"
#include "members/MemberImport.h"

#include "members/MemberTestTable.h"

#include <gtest/gtest.h>

using namespace derode;

TEST(MemberTable, TheNewLeagueTemplateHasTheRegistersLayoutAndTags)
{
    test::TestLocations locations;
    const std::string templatePath = locations.get().ownerData() + members::kMemberTableFile;
    ASSERT_TRUE(members::hasMemberLayout(templatePath));
    engine::CDBSERVEREX table(templatePath, {}, true, true);
    ASSERT_TRUE(table.used());
    EXPECT_TRUE(members::hasMemberTags(table));
    EXPECT_EQ(table.recCount(), 0u);
}

TEST(MemberTable, DisplayNameAndNameSeekKey)
{
    EXPECT_EQ(members::displayName("latrimouille ", " Alfred "), "LATRIMOUILLE  Alfred");
    EXPECT_EQ(members::displayName("côté", "Hélène"), "CÔTÉ  Hélène");
    // Padding counts characters, not bytes, so that accented names line up with the 20-character field.
    EXPECT_EQ(members::nameSeekKey("CÔTÉ", " Hél"), "CÔTÉ                Hél");
}

TEST(MemberTable, ANameSeekMatchesByPrefix)
{
    test::TestLocations locations;
    const std::string folder =
        test::makeLeague(locations, "Cherche", {test::member("LATRIMOUILLE", "Bob", 1), test::member("LATRIMOUILLE", "Alfred", 2)});
    engine::CDBSERVEREX table(folder + members::kMemberTableFile, {}, true, true);
    ASSERT_TRUE(table.setOrder(members::kNameTag));
    ASSERT_TRUE(table.seek(members::nameSeekKey("LATRIMOUILLE", "Alf"), false));
    EXPECT_EQ(table.recNo(), 2u);
    EXPECT_FALSE(table.seek(members::nameSeekKey("LATRIMOUILL", "Alf"), false));
}
