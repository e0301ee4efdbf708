#include "core/AtomicFile.h"
#include "core/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace derode;
namespace fs = std::filesystem;

TEST(IniFile, MissingFileSectionOrKeyGiveTheDefault)
{
    test::TempDir dir;
    core::CINIFILE ini(dir.str() + "absent.ini");
    EXPECT_EQ(ini.readInt("NombreDeAlles", "Value", 12), 12);
    EXPECT_EQ(ini.readString("EnteteRapportsPoints", "Nom", "Pétanque"), "Pétanque");
    EXPECT_FALSE(fs::exists(ini.path()));  // reading never creates

    ASSERT_TRUE(ini.writeInt("NombreDeAlles", "Value", 7));
    EXPECT_EQ(ini.readInt("NombreDeAlles", "Absent", 4), 4);
    EXPECT_EQ(ini.readInt("Autre", "Value", 4), 4);
}

TEST(IniFile, WritesWindows1252WithCrLfAndReadsBack)
{
    test::TempDir dir;
    core::CINIFILE ini(dir.str() + "o.ini");
    ASSERT_TRUE(ini.writeString("EnteteRapportsPoints", "Nom", "Pétanque du Jeudi"));
    ASSERT_TRUE(ini.writeInt("MaxPointsParPartie", "Max", 11));
    ASSERT_TRUE(ini.writeInt("MaxPointsParPartie", "Max", 13));  // replaces, no duplicate line
    EXPECT_EQ(test::bytesOf(ini.path()), "[EnteteRapportsPoints]\r\nNom=P\xE9tanque du Jeudi\r\n\r\n"
                                         "[MaxPointsParPartie]\r\nMax=13\r\n");
    EXPECT_EQ(ini.readString("EnteteRapportsPoints", "Nom", ""), "Pétanque du Jeudi");
    EXPECT_EQ(ini.readInt("MaxPointsParPartie", "Max", 0), 13);
}

TEST(IniFile, SectionsAndKeysCompareWithoutCaseAndKeepOtherLines)
{
    test::TempDir dir;
    const std::string path = dir.str() + "o.ini";
    ASSERT_TRUE(core::writeFileAtomically(path, "; note\r\n[nombredealles]\r\nVALUE = 9\r\n\r\n[Autre]\r\nx=1\r\n"));
    core::CINIFILE ini(path);
    EXPECT_EQ(ini.readInt("NombreDeAlles", "Value", 12), 9);
    ASSERT_TRUE(ini.writeInt("NOMBREDEALLES", "value", 10));
    ASSERT_TRUE(ini.writeString("nombredealles", "Autre", "a"));
    EXPECT_EQ(test::bytesOf(path), "; note\r\n[nombredealles]\r\nvalue=10\r\nAutre=a\r\n\r\n[Autre]\r\nx=1\r\n");
}

TEST(IniFile, ReadsUtf8WithAndWithoutBomAndCp1252)
{
    test::TempDir dir;
    struct Case {
        const char* bytes;
    } cases[] = {{"\xEF\xBB\xBF[E]\nNom=Pétanque\n"}, {"[E]\r\nNom=Pétanque"}, {"[E]\r\nNom=P\xE9tanque\r\n"}};
    for (const auto& c : cases) {
        const std::string path = dir.str() + "e.ini";
        ASSERT_TRUE(core::writeFileAtomically(path, c.bytes));
        EXPECT_EQ(core::CINIFILE(path).readString("E", "Nom", ""), "Pétanque") << c.bytes;
    }
}

TEST(IniFile, IntegerTextThatIsNotANumberReadsAsDefault)
{
    test::TempDir dir;
    const std::string path = dir.str() + "n.ini";
    ASSERT_TRUE(core::writeFileAtomically(path, "[S]\r\na=abc\r\nb=\r\nc=12x\r\nd= -3 \r\ne=\"quoted\"\r\n"));
    core::CINIFILE ini(path);
    EXPECT_EQ(ini.readInt("S", "a", 4), 4);
    EXPECT_EQ(ini.readInt("S", "b", 4), 4);
    EXPECT_EQ(ini.readInt("S", "c", 4), 4);
    EXPECT_EQ(ini.readInt("S", "d", 4), -3);
    EXPECT_EQ(ini.readString("S", "e", ""), "quoted");
}

TEST(IniFile, UnreadableFileReadsAsDefaultAndIsNeverOverwritten)
{
    // Unreadable even for root: a folder where the file is expected, reached directly or through
    // a link (which a rewrite would otherwise replace by a file).
    test::TempDir dir;
    const fs::path folder = dir.path() / "folder.ini";
    fs::create_directory(folder);
    ASSERT_TRUE(core::writeFileAtomically((folder / "kept.txt").string(), "[S]\r\nk=5\r\n"));
    fs::create_directory_symlink(folder, dir.path() / "linked.ini");
    for (const char* name : {"folder.ini", "linked.ini"}) {
        core::CINIFILE ini(dir.str() + name);
        EXPECT_EQ(ini.readInt("S", "k", 1), 1) << name;
        EXPECT_EQ(ini.readString("S", "k", "d"), "d") << name;
        EXPECT_FALSE(ini.writeInt("S", "j", 2)) << name;
    }
    EXPECT_TRUE(fs::is_symlink(dir.path() / "linked.ini"));
    EXPECT_EQ(test::bytesOf((folder / "kept.txt").string()), "[S]\r\nk=5\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);  // no leftovers
}

TEST(IniFile, LineBreakInAValueDoesNotCutTheFile)
{
    test::TempDir dir;
    core::CINIFILE ini(dir.str() + "b.ini");
    ASSERT_TRUE(ini.writeString("S", "Nom", "a\r\n[X]"));
    ASSERT_TRUE(ini.writeInt("S", "n", 3));
    EXPECT_EQ(ini.readString("S", "Nom", ""), "a  [X]");
    EXPECT_EQ(ini.readInt("S", "n", 0), 3);
}
