#pragma once
// The league register: a league is nothing but its folder under the data root, so listing,
// creating, renaming and deleting leagues is listing and changing those folders. Every rule of
// the league dialog (its three modes) and of the login dialog's three league buttons is here;
// the windows only pass the fields and show the result. Program-wide state is core::session()
// and core::locations().

#include <string>
#include <utility>
#include <vector>

namespace derode::league {

// Names of the league folders of the data root (plain folders only, "." and ".." left out),
// in the order the login list shows them. Empty when the data root does not exist.
std::vector<std::string> readLeagueList();
// The order of the login list: alphabetical, without regard to case or accents.
std::vector<std::string> sortedLeagues(std::vector<std::string> leagues);

// The templates of a new league, copied in this order from OwnerData (template, name in the league).
const std::vector<std::pair<std::string, std::string>>& leagueTemplates();

// Makes the folder of `league` (the current league when empty) with its "PartiesParDates"
// folder and copies the templates into it; a missing template is skipped. False only when the
// league folder could not be made.
bool CREATENEWLIGUE();
bool CREATENEWLIGUE(const std::string& league);

// Characters refused in a league name, in the order they are looked for.
inline constexpr const char* kRefusedNameCharacters = "\\/:*?\"<>|";
// The balloon tip shown when a refused character was removed from the name field.
inline constexpr const char* kRefusedNameTip =
    "Un nom de fichier ne peut contenir l'un des caractères suivant:\r\n          \\ / : * ? \" < > | ";

// For the first refused character (in the order above) that occurs in `text`, removes its first
// occurrence: (1-based position of the removed character, shortened text). When none occurs:
// (length of the text, the text unchanged). Positions and lengths count characters, not bytes.
std::pair<std::size_t, std::string> INVALIDFILENAMECHAR(const std::string& text);

// Why a name cannot be a league folder (empty, ".", "..", or holding "/" or a NUL), in one
// French sentence; empty when it can.
std::string leagueNameProblem(const std::string& name);

enum class LeagueDialogMode { Create = 1, Rename = 2, Delete = 3 };

// Caption, button text, and whether the name field starts with the selected league and is editable.
struct LeagueDialogLook {
    std::string caption;
    std::string button;
    bool nameFromSelection;
    bool nameEditable;
};
LeagueDialogLook leagueDialogLook(LeagueDialogMode mode);

// The league dialog's action button. Returns the dialog's result: 0 nothing done (after the
// "Le mot de passe est invalide" box for a wrong password, silently for a blank name, after a
// message for a refused name or, when creating, an existing league), or the mode's number.
// Creating makes the league at once: it becomes the current league and joins the list.
int leagueDialogAction(LeagueDialogMode mode, const std::string& password, const std::string& name);

// The login dialog's "Modifier" after the dialog ended with 2: renames the folder of `oldName`
// to `newName`; on success the list holds the new name and it is the current league. On failure
// (a league of that name exists, the folder cannot be moved) a message says so and nothing changes.
bool renameLeague(const std::string& oldName, const std::string& newName);
// The login dialog's "Supprimer" after the dialog ended with 3: deletes the league folder with
// everything in it, for good. On success the name leaves the list and the first league of the
// list becomes current (none left: the new-league password is expected). On failure a message
// says so and the list is left as it was.
bool deleteLeague(const std::string& name);

// Makes `league` the current league with its password.
void makeLeagueCurrent(const std::string& league);
// No league left: nothing current and the new-league password expected.
void clearCurrentLeague();

// The league remembered in the data root's "RecenteLigue.ini" (empty when none).
std::string readRecentLeague();
bool writeRecentLeague(const std::string& league);

}  // namespace derode::league
