#include "core/AtomicFile.h"
#include "core/Encoding.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace derode;

TEST(Encoding, Cp1252RoundTripsAccentedNamesAndTheEuroSign)
{
    const std::string utf8 = "MélodiaxRF Ç ô É € œ";
    const std::string bytes = core::utf8ToCp1252(utf8);
    EXPECT_EQ(bytes, "M\xE9lodiaxRF \xC7 \xF4 \xC9 \x80 \x9C");
    EXPECT_EQ(core::cp1252ToUtf8(bytes), utf8);
    EXPECT_EQ(core::utf8ToCp1252("日"), "?");
}

TEST(Encoding, MalformedUtf8IsDetected)
{
    EXPECT_TRUE(core::isValidUtf8("Hélène"));
    EXPECT_FALSE(core::isValidUtf8("H\xE9l\xE8ne"));
    EXPECT_FALSE(core::isValidUtf8("\xC3"));
}

TEST(AtomicFile, ReplacesContentAndLeavesOldFileOnFailure)
{
    test::TempDir dir;
    const std::string path = dir.str() + "f.txt";
    ASSERT_TRUE(core::writeFileAtomically(path, "one"));
    ASSERT_TRUE(core::writeFileAtomically(path, "two"));
    std::string content;
    ASSERT_TRUE(core::readFile(path, content));
    EXPECT_EQ(content, "two");

    EXPECT_FALSE(core::replaceFileAtomically(path, [](const std::string&) { return false; }));
    ASSERT_TRUE(core::readFile(path, content));
    EXPECT_EQ(content, "two");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
