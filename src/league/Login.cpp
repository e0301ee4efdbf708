#include "league/Login.h"

#include "core/Messages.h"
#include "core/Session.h"
#include "league/Leagues.h"
#include "league/Password.h"

#include <algorithm>

namespace derode::league {

std::string loginNoteText()
{
    return std::string("Lors d'un ajout d'une nouvelle ligue, le mot passe est [ ") + kNewLeaguePassword
        + " ]. Il devra être changé par la suite, par l'administrateur.";
}

LoginListState refreshLogin(const std::string& preferred)
{
    LoginListState state;
    state.entries = sortedLeagues(core::session().leagueList);
    if (state.entries.empty()) {
        clearCurrentLeague();
        return state;
    }
    auto found = std::find(state.entries.begin(), state.entries.end(), preferred);
    state.selected = found == state.entries.end() ? 0 : static_cast<int>(found - state.entries.begin());
    state.leagueAvailable = true;
    makeLeagueCurrent(state.entries[static_cast<std::size_t>(state.selected)]);
    return state;
}

LoginListState openLogin() { return refreshLogin(readRecentLeague()); }

void selectLeague(const std::string& league) { makeLeagueCurrent(league); }

int enterAsNormalUser()
{
    if (core::session().currentLeague.empty())
        return 0;
    writeRecentLeague(core::session().currentLeague);
    return 1;
}

int enterAsAdministrator(const std::string& typed)
{
    if (core::session().currentLeague.empty())
        return 0;
    if (!isAcceptedPassword(typed)) {
        core::showError("\r\n\r\n\r\nMot de passe invalide");
        return 0;
    }
    writeRecentLeague(core::session().currentLeague);
    return 2;
}

bool applyLoginResult(int result)
{
    if (result != 1 && result != 2)
        return false;
    core::session().isAdministrator = result == 2;
    return true;
}

}  // namespace derode::league
