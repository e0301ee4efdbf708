#pragma once
// Program-wide locations, computed once at start-up by the entry point and handed down.
// Tests build them on temporary folders so that they never touch the real data root or
// the real per-user store.

#include <filesystem>
#include <string>

namespace derode::core {

struct Locations {
    // Folder of the running program, with a trailing "/": holds OwnerData/ and CommonData/.
    std::string programFolder;
    // Root of the league folders ("…/Derode_data/"), with a trailing "/".
    std::string dataRoot;
    // Per-user store file standing in for the registry's HKEY_CURRENT_USER.
    std::string registryFile;

    std::string ownerData() const { return programFolder + "OwnerData/"; }
    std::string commonData() const { return programFolder + "CommonData/"; }
    // League folder with a trailing "/"; the league name is its folder name.
    std::string leagueFolder(const std::string& league) const { return dataRoot + league + "/"; }
};

// The locations of this run. The entry point sets them once; tests set their own.
const Locations& locations();
void setLocations(const Locations& locations);

}  // namespace derode::core
