#include "core/IniFile.h"
#include "core/Settings.h"
#include "league/Options.h"
#include "LeagueFixture.h"

using namespace derode;
namespace fs = std::filesystem;

class Options : public test::LeagueTest {
protected:
    Options() { fs::create_directories(root() / "Lundi"); }
    std::string file() const { return core::leagueOptionsFile("Lundi"); }
};

TEST_F(Options, MissingKeysShowTheDialogsDefaults)
{
    write(file(), "[RapportsTirages]\r\nTirage1Copies=3\r\n");
    league::OptionFields f = league::loadOptionFields("Lundi");
    EXPECT_EQ(f.memberListCopies, "1");
    EXPECT_EQ(f.drawCopies, "3");
    EXPECT_EQ(f.lanes, "12");
    EXPECT_EQ(f.heading, "");
    EXPECT_EQ(f.maxPoints, "13");
    // The draw test reads the same missing key with its own default.
    EXPECT_EQ(core::CINIFILE(file()).readInt(core::settings::kLanes.section, core::settings::kLanes.key,
                                             core::settings::kLanesDefaultDrawFeasibility),
              4);
}

TEST_F(Options, SavingWritesEveryFieldAndLeavesTheOtherKeys)
{
    write(file(), "[RapportsTirages]\r\nTirage2Copies=1\r\nEntete=Pétanque\r\n");
    league::OptionFields f = league::loadOptionFields("Lundi");
    f.lanes = "";
    f.heading = "Pétanque du Jeudi soir";
    f.maxPoints = "11";
    f.drawCopies = " 4";
    ASSERT_TRUE(league::saveOptionFields("Lundi", f));
    core::CINIFILE ini(file());
    EXPECT_EQ(ini.readInt("NombreDeAlles", "Value", 99), 0);
    EXPECT_EQ(ini.readInt("MaxPointsParPartie", "Max", 99), 11);
    EXPECT_EQ(ini.readInt("RapportsTirages", "Tirage1Copies", 99), 4);
    EXPECT_EQ(ini.readInt("RapportListMembres", "ListeJoueursCopies", 99), 1);
    EXPECT_EQ(ini.readString("EnteteRapportsPoints", "Nom", ""), "Pétanque du Jeudi soir");
    EXPECT_EQ(ini.readInt("RapportsTirages", "Tirage2Copies", 99), 1);
    EXPECT_EQ(ini.readString("RapportsTirages", "Entete", ""), "Pétanque");
}

TEST_F(Options, TwoDigitFieldValues)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"", 0}, {"  ", 0}, {"7", 7}, {"07", 7}, {"99", 99}, {"1 ", 1}, {"123", 0}, {"a1", 0}, {"-1", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(league::twoDigitFieldValue(c.text), c.value) << c.text;
}

TEST_F(Options, AFailedSaveIsReported)
{
    fs::remove_all(root() / "Lundi");
    EXPECT_FALSE(league::saveOptionFields("Lundi", league::loadOptionFields("Lundi")));
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::PlainError);
}

TEST(OptionsTemplate, TheBuiltTemplateSetsEveryKey)
{
    core::CINIFILE ini(std::string(DERODE_PROGRAM_DIR) + "OwnerData/DezovuziOptions.ini");
    using namespace core::settings;
    for (const core::IniKey& key : {kMemberListCopies, kDrawSheet1Copies, kDrawSheet2Copies, kLanes, kMaxPoints})
        EXPECT_NE(ini.readInt(key.section, key.key, -1), -1) << key.key;
    EXPECT_EQ(ini.readString(kReportHeading.section, kReportHeading.key, "-"), "Pétanque");
    EXPECT_EQ(ini.readString(kDrawSheetHeading.section, kDrawSheetHeading.key, "-"), "Pétanque");
    EXPECT_EQ(ini.readInt(kLanes.section, kLanes.key, kLanesDefaultDrawFeasibility),
              ini.readInt(kLanes.section, kLanes.key, kLanesDefaultOptionsDialog));
}
