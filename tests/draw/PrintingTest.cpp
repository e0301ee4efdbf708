// Draw printing, reprint and blank sheet: the dated copy rules, the questions, the blank table.
#include "draw/Printing.h"

#include "core/AtomicFile.h"
#include "core/IniFile.h"
#include "core/Settings.h"
#include "engine/DbServer.h"
#include "engine/Templates.h"
#include "reports/MemberListPrint.h"
#include "reports/RecordingOutput.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace derode;

namespace {

const fs::path kTemplates = fs::path(DERODE_FIXTURES) / ".." / ".." / "resources" / "CommonData";

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        league = "Essai";
        folder = locations.get().leagueFolder(league);
        fs::create_directories(folder);
        const std::string common = locations.get().commonData();
        fs::copy(kTemplates, common, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        if (!fs::exists(common + "blank.dbf"))
            ASSERT_TRUE(engine::createFromLayout(common + "blank.dbf", engine::blankTableLayout()));
        makeDraw("DUPONT JEAN");
    }

    // A fresh current draw of two lanes without points, told apart by its first captain.
    void makeDraw(const std::string& firstCaptain)
    {
        const std::string path = folder + "partie1-2.dbf";
        fs::remove(path);
        ASSERT_TRUE(engine::createFromLayout(path, engine::drawTableLayout()));
        engine::CDBSERVEREX draw(path, {}, false);
        ASSERT_TRUE(draw.used());
        const char* names[2][4] = {{"", "MARTIN  PAUL", "LEROY  ANNE", ""}, {"ROUX  MARIE", "FAURE  ALAIN", "BLANC  NICOLE", ""}};
        for (int lane = 0; lane < 2; ++lane) {
            ASSERT_TRUE(draw.append());
            draw.fieldPut(1, lane == 0 ? firstCaptain : std::string(names[1][0]));
            for (int f = 2; f <= 3; ++f)
                draw.fieldPut(f, std::string(names[lane][f - 1]));
            draw.fieldPut(5, std::string("GARCIA  JOSÉ"));
        }
        draw.close();
    }

    fs::path dated(const std::string& date) const { return fs::path(folder) / "PartiesParDates" / (date + ".dbf"); }
    std::size_t datedCount() const
    {
        std::error_code ec;
        if (!fs::exists(fs::path(folder) / "PartiesParDates"))
            return 0;
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(fs::path(folder) / "PartiesParDates", ec),
                                                      fs::directory_iterator()));
    }
    std::string current() const { return test::bytesOf(fs::path(folder) / "partie1-2.dbf"); }

    void setLocalWriteTime(const fs::path& path, int y, int mo, int d, int h, int mi, int s)
    {
        std::tm t{};
        t.tm_year = y - 1900, t.tm_mon = mo - 1, t.tm_mday = d, t.tm_hour = h, t.tm_min = mi, t.tm_sec = s;
        t.tm_isdst = -1;
        const auto when = std::chrono::system_clock::from_time_t(std::mktime(&t)) + std::chrono::milliseconds(400);
        fs::last_write_time(path, std::chrono::file_clock::from_sys(when));
    }

    test::TestLocations locations;
    test::ScriptedAnswerer answers;
    test::RecordingOutput output;
    std::string league;
    std::string folder;
};

}  // namespace

TEST_F(PrintingTest, PrintSavesTheDatedCopyAndTheSameDayTwiceKeepsTheSecondDraw)
{
    core::CINIFILE(core::leagueOptionsFile(league)).writeInt("RapportsTirages", "Tirage1Copies", 3);
    EXPECT_EQ(draw::printDrawSheets(league, "2025-10-01"), draw::PrintOutcome::Saved);
    EXPECT_EQ(output.calls, 1);
    EXPECT_EQ(output.lastCopies, 3);
    EXPECT_TRUE(output.drew("Pétanque"));  // the heading's default
    EXPECT_TRUE(output.drew("Ligue : Essai"));
    EXPECT_TRUE(output.drew("Date : 2025-10-01"));
    EXPECT_TRUE(output.drew("DUPONT JEAN  (cap.)"));
    EXPECT_EQ(test::bytesOf(dated("2025-10-01")), current());

    makeDraw("PETIT  LOUIS");
    EXPECT_EQ(draw::printDrawSheets(league, "2025-10-01"), draw::PrintOutcome::Saved);
    EXPECT_EQ(test::bytesOf(dated("2025-10-01")), current());
    EXPECT_EQ(datedCount(), 1u);
    EXPECT_TRUE(answers.shown().empty());  // a dated file without points is replaced without asking
}

TEST_F(PrintingTest, CancelledPrintLeavesNoDatedFile)
{
    output.answer = false;
    EXPECT_EQ(draw::printDrawSheets(league, "2025-10-01"), draw::PrintOutcome::NotPrinted);
    EXPECT_EQ(datedCount(), 0u);
    EXPECT_TRUE(answers.shown().empty());
}

TEST_F(PrintingTest, MissingTemplateStillSavesSilently)
{
    fs::remove(locations.get().commonData() + "Partie1-3.RPT");
    EXPECT_EQ(draw::printDrawSheets(league, "2025-10-01"), draw::PrintOutcome::Saved);
    EXPECT_EQ(output.calls, 0);
    EXPECT_TRUE(answers.shown().empty());
    EXPECT_EQ(test::bytesOf(dated("2025-10-01")), current());
}

TEST_F(PrintingTest, DatedFileHoldingPointsIsKeptOnNonAndReplacedOnOui)
{
    fs::create_directories(dated("x").parent_path());
    fs::copy_file(test::fixture("xbase/draw/partie1-2.dbf"), dated("2025-10-01"));  // holds points
    const std::string withPoints = test::bytesOf(dated("2025-10-01"));

    answers.planAnswer(0);
    EXPECT_EQ(draw::printDrawSheets(league, "2025-10-01"), draw::PrintOutcome::KeptExisting);
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].kind, core::MessageKind::Question);
    EXPECT_NE(answers.shown()[0].text.find("2025-10-01"), std::string::npos);
    EXPECT_EQ(test::bytesOf(dated("2025-10-01")), withPoints);

    answers.planAnswer(1);
    EXPECT_EQ(draw::printDrawSheets(league, "2025-10-01"), draw::PrintOutcome::Saved);
    EXPECT_EQ(test::bytesOf(dated("2025-10-01")), current());
}

TEST_F(PrintingTest, FailedCopyLeavesTheOldDatedFileIntact)
{
    fs::create_directories(dated("x").parent_path());
    fs::copy_file(test::fixture("xbase/draw/partie1-2.dbf"), dated("2025-10-01"));
    const std::string old = test::bytesOf(dated("2025-10-01"));
    // The temporary file's place is taken by a folder: the copy cannot be written.
    const fs::path blocker = dated("x").parent_path() / (".2025-10-01.dbf.tmp-" + std::to_string(::getpid()));
    fs::create_directories(blocker / "inside");
    answers.planAnswer(1);  // replace the points
    EXPECT_EQ(draw::printDrawSheets(league, "2025-10-01"), draw::PrintOutcome::CopyFailed);
    EXPECT_EQ(test::bytesOf(dated("2025-10-01")), old);
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_EQ(answers.shown()[1].kind, core::MessageKind::Error);
    EXPECT_NE(answers.shown()[1].text.find("2025-10-01"), std::string::npos);
}

TEST_F(PrintingTest, ReprintAsksWithTheFilesDateAndSavesUnderIt)
{
    setLocalWriteTime(fs::path(folder) / "partie1-2.dbf", 2025, 10, 1, 21, 5, 9);
    EXPECT_EQ(draw::reprintLastDraw(league), draw::PrintOutcome::Saved);
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].text, draw::reprintQuestion({"2025-10-01", "21:05:09"}));
    EXPECT_NE(answers.shown()[0].text.find("le tirage du 2025-10-01 à 21:05:09 est toujours disponible"),
              std::string::npos);
    EXPECT_TRUE(answers.shown()[0].smallFont);
    EXPECT_TRUE(output.drew("Date : 2025-10-01"));
    EXPECT_EQ(output.lastCopies, 2);
    EXPECT_EQ(test::bytesOf(dated("2025-10-01")), current());
    EXPECT_EQ(datedCount(), 1u);
}

TEST_F(PrintingTest, ReprintDeclinedCancelledOrWithoutDraw)
{
    answers.planAnswer(0);
    EXPECT_EQ(draw::reprintLastDraw(league), draw::PrintOutcome::Declined);
    EXPECT_EQ(output.calls, 0);

    output.answer = false;
    EXPECT_EQ(draw::reprintLastDraw(league), draw::PrintOutcome::NotPrinted);
    EXPECT_EQ(datedCount(), 0u);

    answers.clear();
    fs::remove(fs::path(folder) / "partie1-2.dbf");
    EXPECT_EQ(draw::reprintLastDraw(league), draw::PrintOutcome::Declined);
    EXPECT_TRUE(answers.shown().empty());
}

TEST_F(PrintingTest, BlankSheetHasOneRecordPerLane)
{
    const std::string blank = locations.get().commonData() + "blank.dbf";
    for (auto [configured, lanes] : {std::pair{6, 6}, std::pair{-1, 4}}) {
        SCOPED_TRACE(lanes);
        if (configured >= 0)
            core::CINIFILE(core::leagueOptionsFile(league)).writeInt("NombreDeAlles", "Value", configured);
        else
            fs::remove(core::leagueOptionsFile(league));
        EXPECT_EQ(draw::printBlankSheet(league), draw::BlankSheetOutcome::Printed);
        engine::CDBSERVEREX table(blank);
        ASSERT_TRUE(table.used());
        EXPECT_EQ(table.recCount(), static_cast<std::uint32_t>(lanes));
        EXPECT_EQ(table.visibleCount(), static_cast<std::uint32_t>(lanes));
        table.goTop();
        EXPECT_EQ(table.getText(1), " ");
        EXPECT_TRUE(output.drew("Allée " + std::to_string(lanes)));
        EXPECT_FALSE(output.drew("Allée " + std::to_string(lanes + 1)));
        EXPECT_TRUE(output.drew("Date:__________"));
        EXPECT_TRUE(output.drew("Ligue:________________________________"));
        EXPECT_EQ(output.lastCopies, 1);
    }
}

TEST_F(PrintingTest, MissingBlankTableIsMadeAgain)
{
    fs::remove(locations.get().commonData() + "blank.dbf");
    EXPECT_EQ(draw::printBlankSheet(league), draw::BlankSheetOutcome::Printed);
    engine::CDBSERVEREX table(locations.get().commonData() + "blank.dbf");
    ASSERT_TRUE(table.used());
    EXPECT_EQ(table.recCount(), 4u);
}

TEST_F(PrintingTest, BlankTableInUseIsNotWritten)
{
    const std::string blank = locations.get().commonData() + "blank.dbf";
    ASSERT_TRUE(draw::prepareBlankTable(blank, 3));
    const std::string before = test::bytesOf(blank);
    {
        engine::CDBSERVEREX holder(blank);  // open elsewhere: no exclusive use
        ASSERT_TRUE(holder.used());
        core::CINIFILE(core::leagueOptionsFile(league)).writeInt("NombreDeAlles", "Value", 8);
        EXPECT_EQ(draw::printBlankSheet(league), draw::BlankSheetOutcome::TableUnavailable);
    }
    EXPECT_EQ(test::bytesOf(blank), before);
    EXPECT_EQ(output.calls, 0);
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].kind, core::MessageKind::Error);
    EXPECT_NE(answers.shown()[0].text.find("feuille de tirage en blanc ne peut pas être préparée"), std::string::npos);
}

TEST_F(PrintingTest, MemberListByNameOrByNumber)
{
    test::copyFixture("xbase/members-25/membres-2.dbf", folder);
    test::copyFixture("xbase/members-25/membres-2.cdx", folder);
    core::CINIFILE ini(core::leagueOptionsFile(league));
    ini.writeInt("RapportListMembres", "ListeJoueursCopies", 3);
    ini.writeString("EnteteRapportsPoints", "Nom", "Club de l'Anse");

    answers.planAnswer(1);  // by name
    EXPECT_TRUE(reports::printMemberList(league));
    EXPECT_EQ(answers.shown().back().text, reports::kMemberListQuestion);
    EXPECT_EQ(output.lastCopies, 3);
    EXPECT_TRUE(output.drew("Club de l'Anse"));
    EXPECT_TRUE(output.drew("Liste des membres - Ligue : Essai"));
    auto texts = output.texts();
    auto first = std::find(texts.begin(), texts.end(), "Courriel");
    ASSERT_NE(first, texts.end());
    EXPECT_EQ(*(first + 1), "BE");  // first by NOM + PRENOM

    answers.planAnswer(0);  // by number
    EXPECT_TRUE(reports::printMemberList(league));
    texts = output.texts();
    first = std::find(texts.begin(), texts.end(), "Courriel");
    ASSERT_NE(first, texts.end());
    EXPECT_EQ(*(first + 1), "LALEMON");  // token 75, the smallest
}
