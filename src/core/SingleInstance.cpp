#include "core/SingleInstance.h"

#include "core/Locations.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace derode::core {

std::string singleInstanceLockPath(const std::string& name, const std::string& runtimeDir,
                                   const std::string& tempDir, unsigned uid)
{
    if (!runtimeDir.empty() && runtimeDir[0] == '/')
        return runtimeDir + (runtimeDir.back() == '/' ? "" : "/") + name + ".lock";
    std::string temp = tempDir.empty() ? std::string("/tmp") : tempDir;
    return temp + (temp.back() == '/' ? "" : "/") + name + "-" + std::to_string(uid) + ".lock";
}

bool ALREADYRUNNING(const std::string& name)
{
    std::error_code ec;
    std::string temp = std::filesystem::temp_directory_path(ec).string();
    return ALREADYRUNNING(name, singleInstanceLockPath(name, UserFolders::fromEnvironment().xdgRuntimeDir, temp,
                                                       static_cast<unsigned>(::getuid())));
}

bool ALREADYRUNNING(const std::string&, const std::string& lockPath)
{
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held;
    }
    return false;  // fd stays open on purpose: the lock lives as long as the process
}

}  // namespace derode::core
