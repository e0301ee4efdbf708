#include "core/AtomicFile.h"
#include "core/Registry.h"
#include "core/Settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace derode;
namespace fs = std::filesystem;

TEST(Registry, FirstRunWritesTheWindowDefaultsAndSecondRunKeepsThem)
{
    test::TestLocations where;
    const std::string store = where.get().registryFile;
    {
        core::CLASS_HKCU key = core::CHECKREGISTERYSTUFF();
        EXPECT_EQ(key.WORKING_SUBKEY(), "SOFTWARE\\Devared\\Derode\\Parameters");
    }
    EXPECT_EQ(test::bytesOf(store),
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n[HKEY_CURRENT_USER\\SOFTWARE]\r\n"
              "\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Devared]\r\n"
              "\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Devared\\Derode]\r\n"
              "\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Devared\\Derode\\Parameters]\r\n"
              "\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Devared\\Derode\\Parameters\\Window-Coord]\r\n"
              "\"x\"=dword:00000093\r\n\"y\"=dword:0000005a\r\n\"x1\"=dword:00000238\r\n\"y1\"=dword:00000151\r\n"
              "\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Devared\\Derode\\Parameters\\Window-Maximised]\r\n"
              "\"Maximised\"=dword:00000000\r\n");

    core::CLASS_HKCU user(store);
    user.WORKING_SUBKEY("SOFTWARE\\Devared\\Derode\\Parameters");
    user.WRITEINT("Window-Coord", "x", 300);
    const std::string before = test::bytesOf(store);
    core::CLASS_HKCU second = core::CHECKREGISTERYSTUFF();
    EXPECT_EQ(second.WORKING_SUBKEY(), "SOFTWARE\\Devared\\Derode\\Parameters");
    EXPECT_EQ(test::bytesOf(store), before);
    core::WindowPlacement p = core::readWindowPlacement(second);
    EXPECT_EQ(p.x, 300);
    EXPECT_EQ(p.y, 90);
    EXPECT_EQ(p.width, 568);
    EXPECT_EQ(p.height, 337);
    EXPECT_FALSE(p.maximised);
}

TEST(Registry, TypedValuesAndLastError)
{
    test::TempDir dir;
    core::CLASS_HKCU key(dir.str() + "sub/Derode.reg");  // the store's folder is made on the first write
    key.WORKING_SUBKEY("SOFTWARE\\Devared\\Derode\\Parameters");
    EXPECT_EQ(key.GETSTRING("Parameters", "MailName"), "");
    EXPECT_EQ(key.LASTERROR(), 2);

    ASSERT_TRUE(key.WRITESTRING("\\Parameters\\ ", "MailName", "Jean \"Jo\" C:\\é"));
    EXPECT_EQ(key.LASTERROR(), 0);
    ASSERT_TRUE(key.WRITEINT("Window-Coord", "x", -5));
    EXPECT_EQ(key.GETSTRING("parameters", "mailname"), "Jean \"Jo\" C:\\é");
    EXPECT_EQ(key.GETINT("Parameters", "MailName"), 0);  // a string read as a number
    EXPECT_EQ(key.GETSTRING("Window-Coord", "x"), "");
    ASSERT_TRUE(key.WRITESTRING("Parameters", "MailNameCourriel", "a\r\nb"));
    EXPECT_EQ(key.GETSTRING("Parameters", "MailNameCourriel"), "a  b");
    EXPECT_EQ(key.GETSTRING("Parameters", "MailName"), "Jean \"Jo\" C:\\é");
    EXPECT_EQ(key.GETINT("Window-Coord", "x"), -5);
    EXPECT_EQ(key.GETINT("Window-Coord", "absent"), 0);
    EXPECT_EQ(key.LASTERROR(), 2);
    EXPECT_EQ(key.GET_SUBKEY_VALUENAMES(""), (std::vector<std::string>{"Parameters", "Window-Coord"}));
    key.GET_SUBKEY_VALUENAMES("Nowhere");
    EXPECT_EQ(key.LASTERROR(), 2);
    EXPECT_EQ(key.BUILD_FULL_SUBKEY(" \\Window-Coord\\"), "SOFTWARE\\Devared\\Derode\\Parameters\\Window-Coord");
    EXPECT_EQ(key.BUILD_FULL_SUBKEY(""), "SOFTWARE\\Devared\\Derode\\Parameters");

    core::CLASS_HKLM machine;
    machine.WORKING_SUBKEY("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies");
    EXPECT_EQ(machine.GETINT("System", "EnableLUA"), 0);
    EXPECT_EQ(machine.LASTERROR(), 2);
    EXPECT_FALSE(machine.WRITEINT("System", "EnableLUA", 1));
    EXPECT_EQ(machine.LASTERROR(), 5);
}

TEST(Registry, CorruptStoreReadsEmptyIsNotTouchedByReadsAndIsReplacedByAWrite)
{
    test::TestLocations where;
    const std::string store = where.get().registryFile;
    const std::string garbage = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\X]\r\nnonsense\r\n";
    ASSERT_TRUE(core::writeFileAtomically(store, garbage));
    core::CLASS_HKCU key(store);
    EXPECT_EQ(key.GETINT("X", "a"), 0);
    EXPECT_EQ(key.LASTERROR(), 2);
    EXPECT_EQ(test::bytesOf(store), garbage);

    core::CLASS_HKCU params = core::CHECKREGISTERYSTUFF();  // a corrupt store counts as a first run
    EXPECT_EQ(core::readWindowPlacement(params).width, 568);
}

TEST(Registry, ReadsAStoreExportedByWindowsInUtf16)
{
    test::TempDir dir;
    std::string utf8 = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"é\"\r\n"
                       "\"bin\"=hex:01,02,\\\r\n  03\r\n@=dword:0000000a\r\n";
    std::string utf16 = "\xFF\xFE";
    for (unsigned char c : std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"")) {
        utf16 += static_cast<char>(c);
        utf16 += '\0';
    }
    utf16 += "\xE9";
    utf16 += '\0';
    for (unsigned char c : std::string("\"\r\n@=dword:0000000a\r\n")) {
        utf16 += static_cast<char>(c);
        utf16 += '\0';
    }
    for (const std::string& bytes : {utf8, utf16}) {
        ASSERT_TRUE(core::writeFileAtomically(dir.str() + "s.reg", bytes));
        core::CLASS_HKCU key(dir.str() + "s.reg");
        EXPECT_EQ(key.GETSTRING("A", "n"), "é");
        EXPECT_EQ(key.GETINT("A", ""), 10);
    }
    // Values of other types survive a rewrite.
    core::CLASS_HKCU key(dir.str() + "s.reg");
    ASSERT_TRUE(core::writeFileAtomically(dir.str() + "s.reg", utf8));
    ASSERT_TRUE(key.WRITEINT("A", "m", 1));
    EXPECT_NE(test::bytesOf(dir.str() + "s.reg").find("\"bin\"=hex:01,02,03"), std::string::npos);
}

TEST(Registry, UnwritableStoreReportsAccessDenied)
{
    // Out of reach even for root: a store whose folder cannot be made (a link to nowhere), and a
    // store that is a folder, which cannot be read.
    test::TempDir dir;
    fs::create_directory_symlink(dir.path() / "nowhere", dir.path() / "Devared");
    fs::create_directory(dir.path() / "Derode.reg");
    for (const char* store : {"Devared/Derode.reg", "Derode.reg"}) {
        core::CLASS_HKCU key(dir.str() + store);
        EXPECT_FALSE(key.WRITEINT("A", "x", 1)) << store;
        EXPECT_EQ(key.LASTERROR(), 5) << store;
        EXPECT_FALSE(key.WRITESTRING("A", "s", "v")) << store;
        EXPECT_EQ(key.LASTERROR(), 5) << store;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(dir.path() / "Derode.reg")));
}

TEST(WindowPlacement, ClosingWritesCoordinatesOrOnlyTheMaximisedFlag)
{
    test::TestLocations where;
    core::CLASS_HKCU key = core::CHECKREGISTERYSTUFF();

    core::writeWindowPlacement(key, {false, 10, 20, 800, 600});
    core::WindowPlacement p = core::readWindowPlacement(key);
    EXPECT_EQ((std::vector<int>{p.x, p.y, p.width, p.height, p.maximised}), (std::vector<int>{10, 20, 800, 600, 0}));

    core::writeWindowPlacement(key, {true, 0, 0, 1920, 1080});  // coordinates kept for the next restore
    p = core::readWindowPlacement(key);
    EXPECT_EQ((std::vector<int>{p.x, p.y, p.width, p.height, p.maximised}), (std::vector<int>{10, 20, 800, 600, 1}));

    core::writeWindowPlacement(key, {false, -8, 20, 800, 600});
    p = core::readWindowPlacement(key);
    EXPECT_EQ((std::vector<int>{p.x, p.y, p.width, p.height, p.maximised}), (std::vector<int>{95, 72, 544, 320, 0}));
}
