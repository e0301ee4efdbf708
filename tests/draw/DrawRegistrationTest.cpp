#include "draw/DrawRegistration.h"
#include "draw/LanesOption.h"
#include "core/AtomicFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace derode::draw;
using derode::test::ScriptedAnswerer;
using derode::test::TempDir;

namespace {

// 40 members: tokens 1..40, names "M01  Prénom" ... (out of order), the first ten regular captains.
std::vector<MemberRow> someMembers()
{
    std::vector<MemberRow> rows;
    for (int i = 40; i >= 1; --i) {
        MemberRow row;
        char name[32];
        std::snprintf(name, sizeof name, "M%02d  Prenom", i);
        row.name = name;
        row.token = std::to_string(i);
        row.captain = i <= 10;
        row.occasional = i == 11;
        rows.push_back(row);
    }
    return rows;
}

class Registration : public testing::Test {
protected:
    Registration() : reg(dir.str(), 4) { reg.setMembers(someMembers()); }

    int rowOfToken(int token) const
    {
        for (std::size_t i = 0; i < reg.members().size(); ++i)
            if (reg.members()[i].token == std::to_string(token))
                return static_cast<int>(i);
        return -1;
    }
    bool addCaptainToken(int token)
    {
        reg.selectMember(rowOfToken(token));
        return reg.addCaptain();
    }
    bool addPlayerToken(int token)
    {
        reg.selectMember(rowOfToken(token));
        return reg.addPlayer();
    }

    TempDir dir;
    ScriptedAnswerer answers;
    DrawRegistration reg;
};

TEST_F(Registration, LimitsFollowTheLanes)
{
    for (int t = 1; t <= 8; ++t)
        ASSERT_TRUE(addCaptainToken(t));
    EXPECT_FALSE(addCaptainToken(9));
    EXPECT_EQ(answers.texts().back(), messages::captainLimit(8));
    EXPECT_EQ(reg.captainCount(), 8);
    EXPECT_FALSE(reg.members()[static_cast<std::size_t>(rowOfToken(9))].chosen);

    for (int t = 11; t <= 34; ++t)
        ASSERT_TRUE(addPlayerToken(t));
    EXPECT_EQ(reg.totalCount(), 32);
    answers.clear();
    EXPECT_FALSE(addPlayerToken(35));
    EXPECT_EQ(answers.texts(), (std::vector<std::string>{messages::peopleLimit(32)}));
    EXPECT_EQ(reg.playerCount(), 24);
    EXPECT_TRUE(answers.texts().back().ends_with(", ou d'ajouter des allées / tapis"));
    // A captain may still come in up to its own limit only; promotion is refused at the limit.
    reg.selectPlayer(0);
    EXPECT_FALSE(reg.promotePlayer());
    EXPECT_EQ(answers.texts().back(), messages::captainLimit(8));

    // More lanes, more room; the choice is kept in the options file.
    EXPECT_TRUE(reg.changeLanes(6));
    EXPECT_EQ(reg.maxPeopleText(), "/ 48");
    EXPECT_EQ(readLanes(dir.str()), 6);
    EXPECT_TRUE(addPlayerToken(35));
}

TEST_F(Registration, RefusesWhatIsNotSelectedOrAlreadyRegistered)
{
    reg.selectMember(-1);
    EXPECT_FALSE(reg.addCaptain());
    EXPECT_FALSE(reg.addPlayer());
    reg.selectCaptain(-1);
    EXPECT_FALSE(reg.removeCaptain());
    EXPECT_FALSE(reg.demoteCaptain());
    reg.selectPlayer(-1);
    EXPECT_FALSE(reg.removePlayer());
    EXPECT_FALSE(reg.promotePlayer());
    EXPECT_EQ(answers.texts(), (std::vector<std::string>{messages::noMemberSelected(), messages::noMemberSelected(),
                                                         messages::noCaptainSelected(),
                                                         messages::noCaptainSelectedToDemote(),
                                                         messages::noPlayerSelected(),
                                                         messages::noPlayerSelectedToPromote()}));
    EXPECT_EQ(messages::noPlayerSelectedToPromote(), "\r\n\r\nVous n'avez sélectionner aucun joueur...\r\n\r\nRecommencez...");

    answers.clear();
    ASSERT_TRUE(addCaptainToken(5));
    EXPECT_FALSE(addPlayerToken(5));
    EXPECT_FALSE(addCaptainToken(5));
    EXPECT_EQ(answers.texts(), (std::vector<std::string>(2, "\r\n\r\n\r\nCe membre a déja été sélectionné...")));
    EXPECT_EQ(reg.captainCount(), 1);
    EXPECT_EQ(reg.playerCount(), 0);
}

TEST_F(Registration, RowsShowTheMemberAndStaySorted)
{
    ASSERT_TRUE(addPlayerToken(30));
    ASSERT_TRUE(addPlayerToken(11));
    ASSERT_TRUE(addPlayerToken(20));
    ASSERT_EQ(reg.players().size(), 3u);
    EXPECT_EQ(reg.players()[0].name, "M11  Prenom");
    EXPECT_EQ(reg.players()[0].status, "J");
    EXPECT_EQ(reg.players()[0].occasionalMark, "CO");
    EXPECT_EQ(reg.players()[1].name, "M20  Prenom");
    EXPECT_EQ(reg.players()[2].token, "30");
    EXPECT_EQ(reg.selectedPlayer(), 1);  // the row just added
    const MemberRow& m = reg.members()[static_cast<std::size_t>(rowOfToken(20))];
    EXPECT_EQ(m.chosenMark(), "P");
    // Any member can take either role: a regular captain as player, a player as captain.
    EXPECT_TRUE(addPlayerToken(1));
    EXPECT_TRUE(addCaptainToken(25));
    EXPECT_EQ(reg.captains()[0].status, "J");
}

TEST_F(Registration, AccentedNamesAreFiledWithTheirLetter)
{
    std::vector<MemberRow> rows;
    int token = 0;
    for (const char* name : {"ÉMOND  André", "FORTIN  Zoé", "ÇÔTÉ  Élise", "DUBOIS  Gilles", "CARON  Josée"}) {
        MemberRow row;
        row.name = name;
        row.token = std::to_string(++token);
        rows.push_back(row);
    }
    reg.setMembers(rows);
    for (int t = 1; t <= 5; ++t)
        ASSERT_TRUE(addPlayerToken(t));
    std::vector<std::string> names;
    for (const RegisteredRow& row : reg.players())
        names.push_back(row.name);
    EXPECT_EQ(names, (std::vector<std::string>{"CARON  Josée", "ÇÔTÉ  Élise", "DUBOIS  Gilles", "ÉMOND  André",
                                               "FORTIN  Zoé"}));
}

TEST_F(Registration, TokenNumberFindsTheMemberWhateverItsZeros)
{
    for (const char* typed : {"7", "07", "007"}) {
        DrawRegistration r(dir.str(), 4);
        r.setMembers(someMembers());
        EXPECT_EQ(r.registerByToken("", false, typed), TokenRegistration::Registered) << typed;
        ASSERT_EQ(r.captainCount(), 1);  // token 7 is a regular captain
        EXPECT_EQ(r.captains()[0].token, "7");
    }
    // A "J" member registered by token becomes a player; the given text wins over the field.
    EXPECT_EQ(reg.registerByToken("15", false, "7"), TokenRegistration::Registered);
    EXPECT_EQ(reg.players().at(0).token, "15");
    EXPECT_TRUE(answers.shown().empty());

    EXPECT_EQ(reg.registerByToken("", false, "99"), TokenRegistration::NotFound);
    EXPECT_EQ(reg.registerByToken("", false, "0"), TokenRegistration::NotFound);
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_EQ(answers.shown()[0].text, "Ce # de jeton n'existe pas, recommencez...");
    EXPECT_EQ(answers.shown()[0].caption, "INFO");
    EXPECT_EQ(reg.registerByToken("", false, "15"), TokenRegistration::Refused);  // already registered
}

TEST_F(Registration, RemovePromoteDemoteAskFirst)
{
    ASSERT_TRUE(addCaptainToken(3));
    ASSERT_TRUE(addPlayerToken(21));

    reg.selectCaptain(0);
    answers.planAnswer(0);
    EXPECT_FALSE(reg.removeCaptain());
    EXPECT_EQ(answers.shown().back().text,
              "\r\n\r\n\r\nVoulez-vous enlever [M03  Prenom] de la liste des capitaines inscrits ?");
    EXPECT_EQ(answers.shown().back().kind, derode::core::MessageKind::Question);
    EXPECT_EQ(reg.captainCount(), 1);

    reg.selectPlayer(0);
    answers.planAnswer(1);
    EXPECT_TRUE(reg.promotePlayer());
    EXPECT_EQ(answers.texts().back(), "\r\n\r\n\r\nVoulez-vous monter [M21  Prenom] comme capitaine ?");
    EXPECT_EQ(reg.captainCount(), 2);
    EXPECT_EQ(reg.playerCount(), 0);
    EXPECT_EQ(reg.captains()[reg.selectedCaptain()].name, "M21  Prenom");

    reg.selectCaptain(0);
    answers.planAnswer(1);
    EXPECT_TRUE(reg.demoteCaptain());
    EXPECT_EQ(answers.texts().back(), "\r\n\r\n\r\nVoulez-vous descendre [M03  Prenom] comme joueur ?");
    EXPECT_EQ(reg.players().at(0).name, "M03  Prenom");

    reg.selectPlayer(0);
    answers.planAnswer(1);
    EXPECT_TRUE(reg.removePlayer());
    EXPECT_EQ(answers.texts().back(),
              "\r\n\r\n\r\nVoulez-vous enlever [M03  Prenom] de la liste des joueurs inscrits ?");
    EXPECT_EQ(reg.playerCount(), 0);
    EXPECT_EQ(reg.selectedMember(), rowOfToken(3));
    EXPECT_FALSE(reg.members()[static_cast<std::size_t>(rowOfToken(3))].chosen);
    EXPECT_TRUE(addPlayerToken(3));  // free again
}

TEST_F(Registration, CloseGuardSequence)
{
    answers.planAnswer(0);
    EXPECT_FALSE(reg.closeGuard());          // asks, "Non"
    EXPECT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.texts()[0], messages::closeWithoutPrinting());
    EXPECT_FALSE(reg.closeGuard());          // does nothing
    EXPECT_EQ(answers.shown().size(), 1u);
    answers.planAnswer(1);
    EXPECT_TRUE(reg.closeGuard());           // asks again, "Oui"
    EXPECT_EQ(answers.shown().size(), 2u);

    reg.setPrinted(true);
    EXPECT_TRUE(reg.closeGuard());           // printed: no question
    EXPECT_EQ(answers.shown().size(), 2u);
    reg.selectMember(0);                     // a selection forgets the print
    answers.planAnswer(0);
    EXPECT_FALSE(reg.closeGuard());
    EXPECT_EQ(answers.shown().size(), 3u);
}

TEST_F(Registration, RefillTakesRolesFromTheDrawAndSkipsTheFiller)
{
    DrawRecord lane1;
    lane1.tokens = {"12", "21", "22", "", "13", "23", "24", ""};
    DrawRecord lane2;
    lane2.tokens = {"1", "25", "26", "27", "2", "28", "", "29"};  // "__DUMMY__" had an empty token
    DrawRecord lane3;
    lane3.tokens = {"3", "4", "99", "", "5", "30", "31", ""};  // 99: deleted since the draw
    reg.refill({lane1, lane2, lane3});
    EXPECT_EQ(reg.captainCount(), 6);  // 12 and 13 are regular players, captains in the draw
    EXPECT_EQ(reg.playerCount(), 12);  // 4 is a regular captain, a player in the draw
    EXPECT_EQ(answers.texts(), (std::vector<std::string>{"Ce # de jeton n'existe pas, recommencez..."}));
    EXPECT_FALSE(reg.repopulating());
}

TEST_F(Registration, FirstLetterAndNewMember)
{
    MemberRow added;
    added.name = "AUBRY  Lise";
    added.token = "41";
    added.spouse = 5;
    reg.addNewMember(added);
    EXPECT_EQ(reg.spousePairs(), (std::vector<SpousePair>{{5, 41}}));
    EXPECT_EQ(reg.members().front().name, "AUBRY  Lise");
    EXPECT_EQ(reg.selectedMember(), 0);
    EXPECT_TRUE(reg.selectByFirstLetter(U'm'));
    EXPECT_EQ(reg.members()[static_cast<std::size_t>(reg.selectedMember())].name, "M01  Prenom");
    EXPECT_FALSE(reg.selectByFirstLetter(U'z'));
}

TEST(LanesOption, ReadsDefaultAndKeepsTheRestOfTheFile)
{
    TempDir dir;
    EXPECT_EQ(readLanes(dir.str()), 4);
    {
        std::ofstream out(dir.path() / "DezovuziOptions.ini", std::ios::binary);
        out << "[RapportsTirages]\r\nEntete=P\xe9tanque\r\n[nombredealles]\r\nvalue=7\r\n";
    }
    EXPECT_EQ(readLanes(dir.str()), 7);
    EXPECT_TRUE(writeLanes(dir.str(), 12));
    EXPECT_EQ(readLanes(dir.str()), 12);
    std::string bytes;
    ASSERT_TRUE(derode::core::readFile((dir.path() / "DezovuziOptions.ini").string(), bytes));
    EXPECT_EQ(bytes, "[RapportsTirages]\r\nEntete=P\xe9tanque\r\n[nombredealles]\r\nValue=12\r\n");
}

}  // namespace
