#include "core/Locations.h"

#include "core/MountTable.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace derode::core {

namespace {
Locations& current()
{
    static Locations value;
    return value;
}

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool writableFolder(const std::string& path) { return ::access(path.c_str(), W_OK | X_OK) == 0; }

}  // namespace

const Locations& locations() { return current(); }

void setLocations(const Locations& value) { current() = value; }

UserFolders UserFolders::fromEnvironment()
{
    UserFolders user;
    user.home = env("HOME");
    user.xdgDataHome = env("XDG_DATA_HOME");
    user.xdgConfigHome = env("XDG_CONFIG_HOME");
    user.xdgRuntimeDir = env("XDG_RUNTIME_DIR");
    return user;
}

// A relative XDG path is invalid under the freedesktop.org base directory rules and is ignored.
std::string UserFolders::dataHome() const
{
    if (!xdgDataHome.empty() && xdgDataHome[0] == '/')
        return withSlash(xdgDataHome);
    return withSlash(home) + ".local/share/";
}

std::string UserFolders::configHome() const
{
    if (!xdgConfigHome.empty() && xdgConfigHome[0] == '/')
        return withSlash(xdgConfigHome);
    return withSlash(home) + ".config/";
}

std::string programFolderOfExecutable()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return withSlash(fs::current_path(ec).string());
    return withSlash(exe.parent_path().string());
}

std::string dataRootFor(const std::string& programFolder, const UserFolders& user)
{
    return dataRootFor(programFolder, user, readMountTable());
}

std::string dataRootFor(const std::string& programFolder, const UserFolders& user,
                        const std::vector<MountEntry>& mountTable)
{
    const std::string drive = mountPointOf(programFolder, mountTable);
    const std::string onDrive = drive + "Derode_data/";
    std::error_code ec;
    // An existing folder must be writable; a missing one must be creatable in the volume root.
    if (fs::is_directory(onDrive, ec) ? writableFolder(onDrive)
                                      : !fs::exists(drive + "Derode_data", ec) && writableFolder(drive))
        return onDrive;
    return user.dataHome() + "Derode_data/";
}

std::string registryFileFor(const UserFolders& user) { return user.configHome() + "Devared/Derode.reg"; }

Locations computeLocations(const std::string& programFolder, const UserFolders& user)
{
    Locations result;
    result.programFolder = withSlash(programFolder);
    result.dataRoot = dataRootFor(result.programFolder, user);
    result.registryFile = registryFileFor(user);
    return result;
}

std::string GETDATAFILESLOC() { return locations().dataRoot; }

}  // namespace derode::core
