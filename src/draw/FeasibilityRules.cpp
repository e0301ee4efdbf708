#include "draw/FeasibilityRules.h"

namespace derode::draw {

namespace {

std::string n(int value) { return std::to_string(value); }

std::string fewerTeamsOfFourHint(int teamsOfFour)
{
    return "\r\nMontez 2 joueurs à capitaines, cela évitera " + n(teamsOfFour) + " équipes à 4 joueurs";
}

FeasibilityResult result(int rule, bool accepted, bool filler, std::string message)
{
    return FeasibilityResult{accepted, filler, rule, std::move(message)};
}

}  // namespace

FeasibilityResult TESTTIRAGE(int K, int P, int L)
{
    if (K % 2 != 0)
        return result(1, false, false,
                      "\r\n\r\nLe nombre total de capitaines doit être pair,\r\ndonc ce nombre doit être divisible par 2, "
                      "\r\n\r\nMontez 1 joueur ou descendez 1 capitaine");
    if (K < 4)
        return result(2, false, false,
                      "\r\n\r\nLe nombre total de capitaines ne doit pas être inférieur à 4 \r\n\r\nIl vous manque "
                          + n(4 - K) + " capitaine(s).");
    if (P < 8)
        return result(3, false, false,
                      "\r\n\r\nLe nombre total de joueurs ne doit pas être inférieur à 8 \r\n\r\nIl vous manque "
                          + n(8 - P) + " joueurs(s).");
    if (K > 2 * L)
        return result(4, false, false,
                      "\r\nLe nombre total de capitaines ne doit pas être supérieur à " + n(2 * L) + "\r\n" + "\r\n"
                          + "Le nombre d'allées multiplier par 2" + "\r\n" + "Descendez des capitaines");
    if (P > 2 * K && P > 3 * K)
        return result(5, false, false,
                      "\r\n\r\nTrop de joueurs, même avec des équipes à 4 joueurs\r\n\r\nÇa prend 2 capitaines additionels");
    const int X = P - 2 * K;
    if (P > 2 * K && P % 2 == 0) {
        std::string message = "\r\nPrêt pour le tirage des équipes\r\n\r\nAUCUNE équipe avec un __DUMMY__, mais \r\n"
            + n(X) + " équipe(s) à 4 joueurs" + "\r\n" + "( " + n(X / 2) + " allées ou tapis )";
        if (X >= 6 && K < 2 * L)
            message += fewerTeamsOfFourHint(X);
        return result(6, true, false, message);
    }
    if (P > 2 * K) {
        std::string message = "\r\nPrêt pour le tirage des équipes\r\n\r\nIl y aura 1 équipe avec un __DUMMY__, et \r\n"
            + n(X + 1) + " équipe(s) à 4 joueurs" + "\r\n" + "( " + n((X + 1) / 2) + " allées ou tapis )";
        if (X + 1 >= 6 && K < 2 * L)
            message += fewerTeamsOfFourHint(X + 1);
        return result(7, true, true, message);
    }
    if (P == 2 * K - 1)
        return result(8, true, true, "\r\n\r\nPrêt pour le tirage des équipes\r\n\r\nIl y aura 1 équipe avec un __DUMMY__");
    if (P < 2 * K - 1)
        return result(9, false, false,
                      "\r\n\r\nIl vous manque " + n(2 * K - P) + " joueur(s)" + "\r\n" + "\r\n"
                          + "Descendez des capitaines à joueurs");
    return result(10, true, false, "\r\n\r\nPrêt pour le tirage des équipes\r\n\r\nAucune équipe avec un __DUMMY__");
}

}  // namespace derode::draw
