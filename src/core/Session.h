#pragma once
// The program-wide state that the login fixes for the whole run.

#include <string>
#include <vector>

namespace derode::core {

struct Session {
    std::string currentLeague;              // the league name, equal to its folder name
    std::vector<std::string> leagueList;
    bool isAdministrator = false;
    std::string leaguePassword;             // in clear
    std::string versionText;
};

// The run's state. Set by the login; tests set their own.
Session& session();

}  // namespace derode::core
