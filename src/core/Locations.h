#pragma once
// Program-wide locations, computed once at start-up by the entry point and handed down.
// Tests build them on temporary folders so that they never touch the real data root or
// the real per-user store.

#include <filesystem>
#include <string>
#include <vector>

namespace derode::core {

struct MountEntry;

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

// The user's folders from the environment ($HOME, $XDG_DATA_HOME, $XDG_CONFIG_HOME,
// $XDG_RUNTIME_DIR). Tests build their own.
struct UserFolders {
    std::string home;
    std::string xdgDataHome;     // empty: home + "/.local/share"
    std::string xdgConfigHome;   // empty: home + "/.config"
    std::string xdgRuntimeDir;   // empty: none

    static UserFolders fromEnvironment();
    std::string dataHome() const;    // with a trailing "/"
    std::string configHome() const;  // with a trailing "/"
};

// Folder of the running executable (from /proc/self/exe), with a trailing "/".
std::string programFolderOfExecutable();

// The data root of a program folder: the mount point of the file system holding the program
// folder + "Derode_data/", so a program kept on a USB key keeps its data on the key. When that
// folder can neither be created nor written there (the volume root belongs to root), the data
// root is the user's data home + "Derode_data/". There is no other search and no setting.
std::string dataRootFor(const std::string& programFolder, const UserFolders& user);
// The same over a given mount table (see MountTable.h).
std::string dataRootFor(const std::string& programFolder, const UserFolders& user,
                        const std::vector<MountEntry>& mountTable);

// The per-user store standing in for HKEY_CURRENT_USER: config home + "Devared/Derode.reg".
std::string registryFileFor(const UserFolders& user);

// Every location of a run of the program kept in `programFolder`.
Locations computeLocations(const std::string& programFolder, const UserFolders& user);

// The data root of this run, with a trailing "/".
std::string GETDATAFILESLOC();

}  // namespace derode::core
