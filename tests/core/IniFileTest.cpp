#include "core/AtomicFile.h"
#include "core/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace derode;
namespace fs = std::filesystem;

namespace {
std::string contentOf(const std::string& path)
{
    std::string bytes;
    core::readFile(path, bytes);
    return bytes;
}
}  // namespace

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
    EXPECT_EQ(contentOf(ini.path()), "[EnteteRapportsPoints]\r\nNom=P\xE9tanque du Jeudi\r\n\r\n"
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
    EXPECT_EQ(contentOf(path), "; note\r\n[nombredealles]\r\nvalue=10\r\nAutre=a\r\n\r\n[Autre]\r\nx=1\r\n");
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
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    test::TempDir dir;
    const std::string path = dir.str() + "locked.ini";
    ASSERT_TRUE(core::writeFileAtomically(path, "[S]\r\nk=5\r\n"));
    fs::permissions(path, fs::perms::none);
    core::CINIFILE ini(path);
    EXPECT_EQ(ini.readInt("S", "k", 1), 1);
    EXPECT_FALSE(ini.writeInt("S", "j", 2));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(contentOf(path), "[S]\r\nk=5\r\n");
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
