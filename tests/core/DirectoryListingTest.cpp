#include "core/DirectoryListing.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>

using namespace derode;
namespace fs = std::filesystem;

namespace {
std::vector<std::string> names(const std::vector<core::DirectoryEntry>& entries)
{
    std::vector<std::string> result;
    for (const auto& e : entries)
        result.push_back(e.name);
    std::sort(result.begin(), result.end());
    return result;
}

const core::DirectoryEntry* find(const std::vector<core::DirectoryEntry>& entries, const std::string& name)
{
    for (const auto& e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}
}  // namespace

TEST(DirectoryListing, AttributeMappingAndMasks)
{
    test::TempDir dir;
    fs::create_directory(dir.path() / "Lundi");
    fs::create_directory(dir.path() / ".cachee");
    fs::create_directory(dir.path() / "Fige");
    fs::permissions(dir.path() / "Fige", fs::perms::owner_write, fs::perm_options::remove);
    std::ofstream(dir.path() / "2024-05-02.dbf") << "x";
    std::ofstream(dir.path() / "lu.DBF") << "x";
    fs::permissions(dir.path() / "lu.DBF", fs::perms::owner_write, fs::perm_options::remove);
    fs::create_symlink(dir.path() / "Lundi", dir.path() / "lien");

    auto all = core::EXTENDEDDIRECTORY(dir.str() + "*.*", 0xFFFF);
    EXPECT_EQ(names(all), (std::vector<std::string>{".", "..", ".cachee", "2024-05-02.dbf", "Fige", "Lundi", "lien", "lu.DBF"}));
    struct Case {
        const char* name;
        std::uint32_t bits;
        const char* letters;
    } cases[] = {
        {".", 0x10, "D"},           {"..", 0x10, "D"},         {"Lundi", 0x10, "D"},
        {".cachee", 0x12, "HD"},    {"Fige", 0x11, "RD"},      {"2024-05-02.dbf", 0x20, "A"},
        {"lu.DBF", 0x21, "RA"},     {"lien", 0x400, ""},
    };
    for (const auto& c : cases) {
        const auto* e = find(all, c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->attributes, c.bits) << c.name;
        EXPECT_EQ(e->letters, c.letters) << c.name;
        EXPECT_EQ(e->shortName, e->name);
    }

    // The league list's mask: plain folders only, "." and ".." included.
    EXPECT_EQ(names(core::EXTENDEDDIRECTORY(dir.str() + "*.*", 0x10)), (std::vector<std::string>{".", "..", "Lundi"}));
    // The dated files' mask: files whose only attribute is archive; the pattern ignores case.
    EXPECT_EQ(names(core::EXTENDEDDIRECTORY(dir.str() + "*.dbf", 0x20)), (std::vector<std::string>{"2024-05-02.dbf"}));
    EXPECT_EQ(names(core::EXTENDEDDIRECTORY(dir.str() + "*.dbf", "RA")),
              (std::vector<std::string>{"2024-05-02.dbf", "lu.DBF"}));
    EXPECT_EQ(names(core::EXTENDEDDIRECTORY(dir.str() + "????-??-??.dbf", 0x7FF7)),
              (std::vector<std::string>{"2024-05-02.dbf"}));
    EXPECT_TRUE(core::EXTENDEDDIRECTORY(dir.str() + "absent/*.*", 0xFFFF).empty());
    EXPECT_TRUE(core::EXTENDEDDIRECTORY(dir.str() + "*.txt", 0xFFFF).empty());
    fs::permissions(dir.path() / "Fige", fs::perms::owner_all);
}

TEST(DirectoryListing, MaskLettersAndEntryLetters)
{
    EXPECT_EQ(core::attributeMaskFromLetters("DA"), 0x30u);
    EXPECT_EQ(core::attributeMaskFromLetters("dA-"), 0x20u);
    EXPECT_EQ(core::attributeMaskFromLetters("RHSACOTDPIXENV"), 0x7FF7u);
    EXPECT_EQ(core::DWATTRIBUTE2STRING(0x7FF7), "RHSACOTDPIEV");
    EXPECT_EQ(core::DWATTRIBUTE2STRING(0x2000), "I");
    EXPECT_TRUE(core::FILEATTRIBUTEOK(0x10 | 0x08, 0x10));  // 0x08 is never examined
    EXPECT_FALSE(core::FILEATTRIBUTEOK(0x30, 0x10));
}

TEST(DirectoryListing, SizeOfALargeSparseFileAndRoundedTimes)
{
    test::TempDir dir;
    const fs::path big = dir.path() / "big.dbf";
    std::ofstream(big) << "";
    fs::resize_file(big, 5'000'000'000ULL);
    // Last write at 10:20:30.600 local time rounds to 10:20:31.
    std::tm local {};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 2;
    local.tm_hour = 10;
    local.tm_min = 20;
    local.tm_sec = 30;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    struct timespec times[2] = {{t, 200'000'000}, {t, 600'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, big.c_str(), times, 0), 0);

    auto entries = core::EXTENDEDDIRECTORY(big.string(), 0x7FF7);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 5'000'000'000ULL);
    EXPECT_EQ(entries[0].attributes, 0x220u);  // archive and sparse
    EXPECT_EQ(entries[0].written.date, "2024-05-02");
    EXPECT_EQ(entries[0].written.time, "10:20:31");
    EXPECT_EQ(entries[0].accessed.time, "10:20:30");
    EXPECT_FALSE(entries[0].created.date.empty());
    EXPECT_TRUE(core::EXTENDEDDIRECTORY(big.string(), 0x20).empty());  // a sparse file is not a plain archive

    // Rounding carries into the minutes: 23:59:59.9 is the next day at 00:00:00.
    local.tm_hour = 23;
    local.tm_min = 59;
    local.tm_sec = 59;
    local.tm_isdst = -1;
    core::FileStamp s = core::UTC2DATETIME(std::mktime(&local), 900'000'000);
    EXPECT_EQ(s.date, "2024-05-03");
    EXPECT_EQ(s.time, "00:00:00");
}
