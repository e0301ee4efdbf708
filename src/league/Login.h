#pragma once
// The rules of the login dialog: which league is preselected, entering as normal user or as
// administrator, and what the dialog's result means for the run.

#include <string>
#include <vector>

namespace derode::league {

// The note of the login dialog, announcing the new-league password.
std::string loginNoteText();

// What the login list shows: the leagues in list order, the selected one (-1: none), and
// whether entering, renaming, deleting and the password field are available (only with a league).
struct LoginListState {
    std::vector<std::string> entries;
    int selected = -1;
    bool leagueAvailable = false;
};

// Opening: the remembered league ("RecenteLigue.ini") is selected when it is in the list, else
// the first entry; the selection becomes current with its password. With no league, the
// new-league password is expected.
LoginListState openLogin();
// After a change of the list (create, rename, delete): `preferred` selected when listed, else the
// first entry; made current.
LoginListState refreshLogin(const std::string& preferred);
// The user picked another entry.
void selectLeague(const std::string& league);

// "Usager normal": remembers the league and returns 1 (0 when there is no league to enter).
int enterAsNormalUser();
// "Administrateur": with the league's password or the master password, remembers the league and
// returns 2; otherwise the "Mot de passe invalide" box and 0 (the dialog stays open as it is).
int enterAsAdministrator(const std::string& typed);

// The run after the login dialog: 2 administrator, 1 normal user; false for anything else (the
// program ends without a main window).
bool applyLoginResult(int result);

}  // namespace derode::league
