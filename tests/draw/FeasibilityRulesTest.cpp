#include "draw/FeasibilityRules.h"

#include <gtest/gtest.h>

using derode::draw::TESTTIRAGE;

namespace {

struct Case {
    int captains, players, lanes;
    int rule;
    bool accepted, filler;
    const char* message;
};

const Case kCases[] = {
    {3, 9, 4, 1, false, false,
     "\r\n\r\nLe nombre total de capitaines doit être pair,\r\ndonc ce nombre doit être divisible par 2, \r\n\r\nMontez 1 "
     "joueur ou descendez 1 capitaine"},
    {2, 20, 4, 2, false, false,
     "\r\n\r\nLe nombre total de capitaines ne doit pas être inférieur à 4 \r\n\r\nIl vous manque 2 capitaine(s)."},
    {0, 0, 4, 2, false, false,
     "\r\n\r\nLe nombre total de capitaines ne doit pas être inférieur à 4 \r\n\r\nIl vous manque 4 capitaine(s)."},
    {4, 7, 4, 3, false, false,
     "\r\n\r\nLe nombre total de joueurs ne doit pas être inférieur à 8 \r\n\r\nIl vous manque 1 joueurs(s)."},
    {10, 20, 4, 4, false, false,
     "\r\nLe nombre total de capitaines ne doit pas être supérieur à 8\r\n\r\nLe nombre d'allées multiplier par "
     "2\r\nDescendez des capitaines"},
    {4, 13, 4, 5, false, false,
     "\r\n\r\nTrop de joueurs, même avec des équipes à 4 joueurs\r\n\r\nÇa prend 2 capitaines additionels"},
    {4, 12, 4, 6, true, false,
     "\r\nPrêt pour le tirage des équipes\r\n\r\nAUCUNE équipe avec un __DUMMY__, mais \r\n4 équipe(s) à 4 "
     "joueurs\r\n( 2 allées ou tapis )"},
    {8, 22, 8, 6, true, false,
     "\r\nPrêt pour le tirage des équipes\r\n\r\nAUCUNE équipe avec un __DUMMY__, mais \r\n6 équipe(s) à 4 "
     "joueurs\r\n( 3 allées ou tapis )\r\nMontez 2 joueurs à capitaines, cela évitera 6 équipes à 4 joueurs"},
    // Every lane already has its captains: no hint.
    {8, 22, 4, 6, true, false,
     "\r\nPrêt pour le tirage des équipes\r\n\r\nAUCUNE équipe avec un __DUMMY__, mais \r\n6 équipe(s) à 4 "
     "joueurs\r\n( 3 allées ou tapis )"},
    {4, 11, 4, 7, true, true,
     "\r\nPrêt pour le tirage des équipes\r\n\r\nIl y aura 1 équipe avec un __DUMMY__, et \r\n4 équipe(s) à 4 "
     "joueurs\r\n( 2 allées ou tapis )"},
    {8, 21, 8, 7, true, true,
     "\r\nPrêt pour le tirage des équipes\r\n\r\nIl y aura 1 équipe avec un __DUMMY__, et \r\n6 équipe(s) à 4 "
     "joueurs\r\n( 3 allées ou tapis )\r\nMontez 2 joueurs à capitaines, cela évitera 6 équipes à 4 joueurs"},
    {6, 11, 4, 8, true, true, "\r\n\r\nPrêt pour le tirage des équipes\r\n\r\nIl y aura 1 équipe avec un __DUMMY__"},
    {6, 10, 4, 9, false, false, "\r\n\r\nIl vous manque 2 joueur(s)\r\n\r\nDescendez des capitaines à joueurs"},
    {6, 12, 4, 10, true, false, "\r\n\r\nPrêt pour le tirage des équipes\r\n\r\nAucune équipe avec un __DUMMY__"},
};

TEST(FeasibilityRules, EveryRuleWithItsExactMessage)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "K=" << c.captains << " P=" << c.players << " L=" << c.lanes);
        auto result = TESTTIRAGE(c.captains, c.players, c.lanes);
        EXPECT_EQ(result.rule, c.rule);
        EXPECT_EQ(result.accepted, c.accepted);
        EXPECT_EQ(result.filler, c.filler);
        EXPECT_EQ(result.message, c.message);
    }
}

// The boundaries between rows: 3K players is still drawable, 3K+1 is not; 2K−1 needs the filler.
TEST(FeasibilityRules, BoundariesBetweenRows)
{
    EXPECT_EQ(TESTTIRAGE(4, 12, 4).rule, 6);
    EXPECT_EQ(TESTTIRAGE(4, 13, 4).rule, 5);
    EXPECT_EQ(TESTTIRAGE(8, 16, 4).rule, 10);
    EXPECT_EQ(TESTTIRAGE(8, 15, 4).rule, 8);
    EXPECT_EQ(TESTTIRAGE(8, 14, 4).rule, 9);
    EXPECT_EQ(TESTTIRAGE(8, 16, 3).rule, 4);
}

}  // namespace
