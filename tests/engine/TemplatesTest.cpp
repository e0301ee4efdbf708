#include "EngineTestSupport.h"

#include <filesystem>

using namespace derode;
using namespace derode::engine;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> info(const std::string& path)
{
    const auto out = test::runTool({"info", path});
    EXPECT_EQ(out.exitCode, 0) << path;
    auto lines = test::splitLines(out.out);
    return {lines.begin() + 2, lines.end()};  // from the record count on
}

}  // namespace

TEST(Templates, TheBuildWritesEveryTemplateWithItsLayout)
{
    const std::string program = DERODE_PROGRAM_DIR;
    EXPECT_EQ(info(program + "OwnerData/membres-2.dbf"),
              (std::vector<std::string>{"records\t0", "NOM\tC\t20\t0", "PRENOM\tC\t20\t0", "FEMME\tL\t1\t0",
                                        "CAPITAINE\tL\t1\t0", "TELEPHONE\tC\t12\t0", "NO_JETON\tN\t3\t0",
                                        "CAPT_OCC\tL\t1\t0", "MAIL\tC\t40\t0", "NO_CONJOIN\tN\t3\t0",
                                        "tag\tNOM-PRENON\tNOM+PRENOM\tall", "tag\tNO_JETON\tNO_JETON\tall"}));
    EXPECT_EQ(info(program + "OwnerData/rapport.dbf"),
              (std::vector<std::string>{"records\t0", "DATE\tD\t8\t0", "NOM\tC\t42\t0", "FLAG\tL\t1\t0",
                                        "PTSPOUR\tN\t4\t0", "PTSCONTRE\tN\t4\t0", "tag\tNOM\tNOM\tall",
                                        "tag\tNOMUNIQ\tNOM\tunique"}));
    EXPECT_EQ(info(program + "OwnerData/Rapportfinal.dbf"),
              (std::vector<std::string>{"records\t0", "NOM\tC\t42\t0", "FEMME\tL\t1\t0", "PTSPOUR\tN\t6\t0",
                                        "PTSCONTRE\tN\t6\t0", "PRESENCES\tN\t4\t0"}));
    const auto draw = info(program + "OwnerData/partie1-2.dbf");
    ASSERT_EQ(draw.size(), 21u);
    EXPECT_EQ(draw[1], "JOUEUR1\tC\t42\t0");
    EXPECT_EQ(draw[9], "JETON1\tC\t3\t0");
    EXPECT_EQ(draw[20], "POINTS4\tN\t2\t0");
    const auto blank = info(program + "CommonData/blank.dbf");
    EXPECT_EQ(blank[1], "BLANC\tC\t1\t0");
    for (const char* t : {"OwnerData/membres-2.dbf", "OwnerData/partie1-2.dbf", "OwnerData/rapport.dbf",
                          "OwnerData/Rapportfinal.dbf", "CommonData/blank.dbf"})
        EXPECT_TRUE(ISFILEDBF(program + t)) << t;
    EXPECT_FALSE(fs::exists(program + "OwnerData/partie1-2.cdx"));
}

TEST(Templates, TheGeneratorLeavesCurrentTemplatesAloneAndMendsOthers)
{
    test::TempDir dir;
    const std::string mk = std::string(DERODE_TOOLS_DIR) + "derode-mktables " + dir.str();
    ASSERT_EQ(std::system(mk.c_str()), 0);
    const std::string members = dir.str() + "OwnerData/membres-2.dbf";
    const auto stamp = fs::last_write_time(members);
    const auto size = fs::file_size(dir.str() + "OwnerData/membres-2.cdx");
    // A template with records is not a template any more: written again.
    {
        CDBSERVEREX t(dir.str() + "OwnerData/rapport.dbf", {}, false);
        ASSERT_TRUE(t.append());
    }
    ASSERT_EQ(std::system(mk.c_str()), 0);
    EXPECT_EQ(fs::last_write_time(members), stamp);
    EXPECT_EQ(fs::file_size(dir.str() + "OwnerData/membres-2.cdx"), size);
    CDBSERVEREX rapport(dir.str() + "OwnerData/rapport.dbf");
    EXPECT_EQ(rapport.recCount(), 0u);
    EXPECT_EQ(rapport.tagNames(), (std::vector<std::string>{"NOM", "NOMUNIQ"}));
    EXPECT_TRUE(matchesLayout(members, memberTableLayout()));
    EXPECT_FALSE(matchesLayout(members, drawTableLayout()));
}
