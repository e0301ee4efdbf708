#include "core/Text.h"
#include "members/DisplayName.h"

#include <gtest/gtest.h>

using namespace derode;

TEST(Text, CaseMappingCoversAccentedLetters)
{
    EXPECT_EQ(core::toUpper("hélène côté çà œ"), "HÉLÈNE CÔTÉ ÇÀ Œ");
    EXPECT_EQ(core::toLower("ÉLODIE ÇOLAK"), "élodie çolak");
    EXPECT_TRUE(core::equalsIgnoreCase("Ligue Été", "LIGUE ÉTÉ"));
}

TEST(Text, TrimAndPadCountCharactersNotBytes)
{
    EXPECT_EQ(core::trim("  a b  "), "a b");
    EXPECT_EQ(core::padRight("Éa", 4), "Éa  ");
    EXPECT_EQ(core::padRight("abcdef", 3), "abc");
    EXPECT_EQ(core::length("Éé"), 2u);
}

TEST(DisplayName, TrimmedFamilyNameInCapitalsTwoBlanksTrimmedFirstName)
{
    EXPECT_EQ(members::displayName("Latrimouille        ", "Alfred              "), "LATRIMOUILLE  Alfred");
    EXPECT_EQ(members::displayName(" Côté", " Hélène "), "CÔTÉ  Hélène");
}
