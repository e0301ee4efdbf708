#include "league/Leagues.h"

#include "core/DirectoryListing.h"
#include "core/Encoding.h"
#include "core/IniFile.h"
#include "core/Locations.h"
#include "core/MakeDir.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "core/ShellFileOperation.h"
#include "core/Text.h"
#include "league/Password.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace derode::league {

namespace {

void showPlainError(const std::string& text)
{
    core::showMessage({core::MessageKind::PlainError, text, "ERREUR"});
}

// Lower case without accents, for the order of the list.
std::string sortKey(const std::string& name)
{
    static const std::pair<const char*, const char*> folds[] = {
        {"àáâãäå", "a"}, {"ç", "c"}, {"èéêë", "e"}, {"ìíîï", "i"}, {"ñ", "n"},
        {"òóôõöø", "o"}, {"ùúûü", "u"}, {"ýÿ", "y"}, {"œ", "oe"}, {"æ", "ae"},
    };
    std::string lower = core::toLower(name);
    std::string out;
    std::size_t pos = 0;
    while (pos < lower.size()) {
        std::size_t start = pos;
        char32_t cp = core::decodeUtf8(lower, pos);
        std::string ch = lower.substr(start, pos - start);
        bool folded = false;
        if (cp >= 0x80) {
            for (const auto& [accented, plain] : folds) {
                if (std::string(accented).find(ch) != std::string::npos) {
                    out += plain;
                    folded = true;
                    break;
                }
            }
        }
        if (!folded)
            out += ch;
    }
    return out;
}

// An entry of the data root with this name, compared without regard to case as the program
// compares file names; empty when there is none.
std::string existingEntry(const std::string& name)
{
    for (const core::DirectoryEntry& e : core::EXTENDEDDIRECTORY(core::GETDATAFILESLOC() + "*.*", 0xFFFFFFFFu))
        if (e.name != "." && e.name != ".." && core::equalsIgnoreCase(e.name, name))
            return e.name;
    return {};
}

void removeFromList(std::vector<std::string>& list, const std::string& name)
{
    list.erase(std::remove(list.begin(), list.end(), name), list.end());
}

}  // namespace

std::vector<std::string> readLeagueList()
{
    std::vector<std::string> leagues;
    for (const core::DirectoryEntry& e : core::EXTENDEDDIRECTORY(core::GETDATAFILESLOC() + "*.*", core::ATTR_DIRECTORY))
        if (e.name != "." && e.name != "..")
            leagues.push_back(e.name);
    return sortedLeagues(std::move(leagues));
}

std::vector<std::string> sortedLeagues(std::vector<std::string> leagues)
{
    std::stable_sort(leagues.begin(), leagues.end(), [](const std::string& a, const std::string& b) {
        std::string ka = sortKey(a);
        std::string kb = sortKey(b);
        return ka != kb ? ka < kb : a < b;
    });
    return leagues;
}

const std::vector<std::pair<std::string, std::string>>& leagueTemplates()
{
    static const std::vector<std::pair<std::string, std::string>> templates = {
        {"membres-2.cdx", "membres-2.cdx"},
        {"membres-2.dbf", "membres-2.dbf"},
        {"partie1-2.dbf", "partie1-2.dbf"},
        {"DezovuziOptions.ini", "DezovuziOptions.ini"},
        {"rapport.cdx", "rapport.cdx"},
        {"rapport.dbf", "Rapport.Dbf"},
        {"Rapportfinal.dbf", "Rapportfinal.Dbf"},
        {"System.pwd", "System.pwd"},
    };
    return templates;
}

bool CREATENEWLIGUE() { return CREATENEWLIGUE(core::session().currentLeague); }

bool CREATENEWLIGUE(const std::string& league)
{
    const std::string folder = core::locations().leagueFolder(league);
    if (core::MAKEDIR(folder) != 0)
        return false;
    core::MAKEDIR(folder + "PartiesParDates/");
    for (const auto& [source, target] : leagueTemplates()) {
        // A missing template leaves its file missing (reported later); a league's own file is never
        // replaced by a template, whoever calls this on an existing folder.
        std::error_code ec;
        fs::copy_file(core::locations().ownerData() + source, folder + target, fs::copy_options::skip_existing, ec);
    }
    return true;
}

std::pair<std::size_t, std::string> INVALIDFILENAMECHAR(const std::string& text)
{
    for (const char* c = kRefusedNameCharacters; *c; ++c) {
        std::size_t at = text.find(*c);
        if (at == std::string::npos)
            continue;
        std::string shortened = text;
        shortened.erase(at, 1);
        return {core::length(text.substr(0, at)) + 1, shortened};
    }
    return {core::length(text), text};
}

std::string leagueNameProblem(const std::string& name)
{
    if (core::trim(name).empty())
        return "Le nom de la ligue est vide : entrez un nom.";
    if (name == "." || name == "..")
        return "Le nom « " + name + " » désigne un dossier système et ne peut pas servir de nom de ligue.";
    if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return "Un nom de ligue ne peut contenir ni barre oblique « / » ni caractère nul.";
    return {};
}

LeagueDialogLook leagueDialogLook(LeagueDialogMode mode)
{
    switch (mode) {
    case LeagueDialogMode::Create: return {"Création d'une nouvelle ligue", "Créer", false, true};
    case LeagueDialogMode::Rename: return {"Modifier le nom de la ligue existante", "Modifier", true, true};
    case LeagueDialogMode::Delete: return {"Supprimer complètement la ligue existante", "Supprimer", true, false};
    }
    return {};
}

int leagueDialogAction(LeagueDialogMode mode, const std::string& password, const std::string& rawName)
{
    if (!isAcceptedPassword(password)) {
        showPlainError("Le mot de passe est invalide");
        return 0;
    }
    // Outer blanks never become part of a folder name.
    const std::string name = core::trim(rawName);
    if (name.empty())
        return 0;
    if (std::string problem = leagueNameProblem(name); !problem.empty()) {
        showPlainError(problem);
        return 0;
    }
    switch (mode) {
    case LeagueDialogMode::Create: {
        if (std::string existing = existingEntry(name); !existing.empty()) {
            showPlainError("Une ligue nommée « " + existing + " » existe déjà : ses fichiers ne seront pas "
                           "remplacés. Choisissez un autre nom.");
            return 0;
        }
        if (!CREATENEWLIGUE(name)) {
            showPlainError("Le dossier de la ligue « " + name + " » n'a pas pu être créé dans " + core::GETDATAFILESLOC()
                           + ".");
            return 0;
        }
        core::session().currentLeague = name;
        core::session().leagueList.push_back(name);
        return 1;
    }
    case LeagueDialogMode::Rename: return 2;
    case LeagueDialogMode::Delete: return 3;
    }
    return 0;
}

bool renameLeague(const std::string& oldName, const std::string& rawNewName)
{
    const std::string newName = core::trim(rawNewName);
    for (const std::string& name : {oldName, newName}) {
        if (std::string problem = leagueNameProblem(name); !problem.empty()) {
            showPlainError(problem);
            return false;
        }
    }
    if (newName == oldName)
        return true;
    // Only the league itself may hold the new name (a change of capitals).
    std::string existing = existingEntry(newName);
    if (!existing.empty() && existing != oldName) {
        showPlainError("Une ligue nommée « " + existing + " » existe déjà : le nom de la ligue « " + oldName
                       + " » n'a pas été changé.");
        return false;
    }
    core::SHELLFILEOPERATION op;
    op.FILES = {core::GETDATAFILESLOC() + oldName};
    op.NOCONFIRMATION(true);
    op.FOLDER = core::GETDATAFILESLOC() + newName;
    op.CAPTION = "Changement du nom de la ligue";
    op.RENAME();
    if (op.ABORTED())  // cancelled by the user before the folder moved: nothing to report
        return false;
    if (!op.SUCCESS()) {
        showPlainError("Le nom de la ligue « " + oldName + " » n'a pas pu être changé en « " + newName
                       + " ». Vérifiez qu'aucun de ses fichiers n'est ouvert par un autre programme.");
        return false;
    }
    auto& list = core::session().leagueList;
    std::replace(list.begin(), list.end(), oldName, newName);
    makeLeagueCurrent(newName);
    return true;
}

bool deleteLeague(const std::string& name)
{
    if (std::string problem = leagueNameProblem(name); !problem.empty()) {
        showPlainError(problem);
        return false;
    }
    core::SHELLFILEOPERATION op;
    op.FILES = {core::GETDATAFILESLOC() + name};
    op.NOCONFIRMATION(true);
    op.CAPTION = "Suppression de la ligue";
    op.DELETE();
    if (op.ABORTED())
        return false;
    if (!op.SUCCESS()) {
        showPlainError("La ligue « " + name + " » n'a pas pu être supprimée complètement. Vérifiez qu'aucun de "
                       "ses fichiers n'est ouvert par un autre programme.");
        return false;
    }
    auto& list = core::session().leagueList;
    removeFromList(list, name);
    if (list.empty())
        clearCurrentLeague();
    else
        makeLeagueCurrent(sortedLeagues(list).front());
    return true;
}

void makeLeagueCurrent(const std::string& league)
{
    core::session().currentLeague = league;
    core::session().leaguePassword = UNCRYPTEX(league);
}

void clearCurrentLeague()
{
    core::session().currentLeague.clear();
    core::session().leaguePassword = kNewLeaguePassword;
}

std::string readRecentLeague()
{
    return core::CINIFILE(core::recentLeagueFile())
        .readString(core::settings::kRecentLeague.section, core::settings::kRecentLeague.key,
                    core::settings::kRecentLeagueDefault);
}

bool writeRecentLeague(const std::string& league)
{
    return core::CINIFILE(core::recentLeagueFile())
        .writeString(core::settings::kRecentLeague.section, core::settings::kRecentLeague.key, league);
}

}  // namespace derode::league
