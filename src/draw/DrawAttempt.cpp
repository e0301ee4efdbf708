#include "draw/DrawAttempt.h"

#include "draw/DrawFileStore.h"

namespace derode::draw {

DrawAttemptResult TIRAGECAPSETJOUEURSPRT1(const std::vector<DrawEntry>& captains,
                                          const std::vector<DrawEntry>& players, bool filler,
                                          const std::vector<SpousePair>& pairs, const std::string& drawFilePath)
{
    DrawAttemptResult result;
    result.records = drawTeams(captains, players, filler);
    if (!replaceDrawFileRecords(drawFilePath, result.records, &result.error))
        return result;
    result.written = true;
    result.conflict = findSpouseConflict(result.records, pairs);
    return result;
}

DrawOutcome drawWithRetries(const std::vector<DrawEntry>& captains, const std::vector<DrawEntry>& players,
                            bool filler, const std::vector<SpousePair>& pairs, const std::string& drawFilePath)
{
    DrawOutcome outcome;
    while (outcome.attempts < kMaxDrawAttempts) {
        DrawAttemptResult attempt = TIRAGECAPSETJOUEURSPRT1(captains, players, filler, pairs, drawFilePath);
        ++outcome.attempts;
        if (!attempt.written) {
            outcome.error = attempt.error;
            return outcome;
        }
        outcome.written = true;
        outcome.conflict = attempt.conflict;
        if (!attempt.conflict)
            break;
    }
    return outcome;
}

std::string drawFileOpenFailedMessage()
{
    return "\r\n\r\nLe programme ne peut pas écrire le tirage dans le fichier du dernier tirage (partie1-2.dbf)..."
           "\r\n\r\nIl est absent ou déjà ouvert ailleurs. Aucun tirage n'a été enregistré, le tirage précédent reste intact.";
}

std::string coupleOnOneLaneMessage(const SpouseConflict& conflict, int attempts)
{
    return "\r\nMalgré " + std::to_string(attempts) + " tirages, un couple joue sur la même allée / tapis :\r\n\r\n"
        + conflict.memberName + " (# " + std::to_string(conflict.pair.member) + ") et " + conflict.spouseName + " (# "
        + std::to_string(conflict.pair.spouse) + ")\r\nAllée / tapis " + std::to_string(conflict.lane)
        + "\r\n\r\nRefaites un tirage pour les séparer.";
}

}  // namespace derode::draw
