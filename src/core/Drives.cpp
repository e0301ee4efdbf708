#include "core/Drives.h"

#include <cctype>

#include "core/MakeDir.h"

#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace derode::core {

namespace {

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

bool isBlockFileSystem(const MountEntry& e)
{
    static const std::set<std::string> pseudo = {"proc", "sysfs", "tmpfs", "devtmpfs", "devpts", "cgroup", "cgroup2",
        "overlay", "squashfs", "securityfs", "debugfs", "tracefs", "mqueue", "hugetlbfs", "pstore", "bpf",
        "configfs", "fusectl", "autofs", "binfmt_misc", "ramfs", "nsfs", "efivarfs", "rpc_pipefs", "nfsd"};
    if (pseudo.count(e.fsType))
        return false;
    // A block device is named by its node ("/dev/sdb1"); pseudo file systems by a plain word.
    return !e.source.empty() && e.source[0] == '/';
}

const MountEntry* mountAt(const std::string& root, const std::vector<MountEntry>& table)
{
    const std::string wanted = withSlash(root);
    const MountEntry* found = nullptr;
    for (const MountEntry& e : table)
        if (e.mountPoint == wanted && isBlockFileSystem(e))
            found = &e;  // the last mount at a place is the visible one
    return found;
}

std::string readLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// Whether the disk behind a mount says it is removable or sits on a USB bus.
bool removableDisk(const MountEntry& e, const DriveSources& sources)
{
    std::error_code ec;
    fs::path link = fs::path(sources.sysBlock) / (std::to_string(e.major) + ":" + std::to_string(e.minor));
    fs::path device = fs::canonical(link, ec);
    if (ec)
        return false;
    if (device.string().find("/usb") != std::string::npos)
        return true;
    // A partition has no "removable" of its own: its disk is the parent folder.
    for (fs::path p = device; !p.empty() && p != p.parent_path(); p = p.parent_path()) {
        if (fs::exists(p / "removable", ec))
            return readLine(p / "removable") == "1";
        if (!fs::exists(p / "partition", ec) && p != device)
            break;
    }
    return false;
}

std::string unescapeLabel(const std::string& name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        // udev escapes a label's unsafe bytes as "\xHH"; anything else is kept as written.
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x'
            && std::isxdigit(static_cast<unsigned char>(name[i + 2]))
            && std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> GETLOGICALDRIVESEX(const DriveSources& sources)
{
    std::vector<std::string> drives;
    std::error_code ec;
    for (const MountEntry& e : readMountTable(sources.mountinfo)) {
        if (!isBlockFileSystem(e))
            continue;
        // Files bind-mounted into containers are no drives.
        if (!fs::is_directory(e.mountPoint, ec))
            continue;
        bool known = false;
        for (const auto& d : drives)
            known = known || d == e.mountPoint;
        if (!known)
            drives.push_back(e.mountPoint);
    }
    return drives;
}

int driveType(const std::string& root, const DriveSources& sources)
{
    const auto table = readMountTable(sources.mountinfo);
    const MountEntry* e = mountAt(root, table);
    if (!e)
        return DRIVE_NO_ROOT_DIR;
    return removableDisk(*e, sources) ? DRIVE_REMOVABLE : DRIVE_FIXED;
}

bool ISMEDIAREMOVEABLE(const std::string& drive, const DriveSources& sources)
{
    if (drive.empty())
        return false;
    const auto table = readMountTable(sources.mountinfo);
    const MountEntry* e = mountAt(mountPointOf(drive, table), table);
    return e && removableDisk(*e, sources);
}

bool GETDISKLABEL(const std::string& drive, std::string& label, const DriveSources& sources)
{
    label.clear();
    if (drive.empty())
        return false;
    DIR* dir = ::opendir(drive.c_str());
    if (!dir)
        return false;
    ::closedir(dir);
    const auto table = readMountTable(sources.mountinfo);
    const MountEntry* e = mountAt(mountPointOf(drive, table), table);
    if (!e)
        return true;
    std::error_code ec;
    const fs::path device = fs::canonical(e->source, ec);
    for (const auto& entry : fs::directory_iterator(sources.byLabel, ec)) {
        std::error_code ec2;
        if (fs::canonical(entry.path(), ec2) == device && !ec2) {
            label = unescapeLabel(entry.path().filename().string());
            break;
        }
    }
    return true;
}

bool ISDISKREADY(const std::string& drive, const DriveSources& sources)
{
    std::string label;
    return GETDISKLABEL(drive, label, sources);
}

bool ISDISKWRITEABLE(const std::string& drive)
{
    if (drive.empty())
        return false;
    const std::string folder = withSlash(drive) + ".derode-write-test-" + std::to_string(::getpid()) + "/";
    if (MAKEDIR(folder) != 0)
        return false;
    const std::string file = folder + "test.txt";
    bool written = false;
    {
        std::ofstream out(file, std::ios::binary);
        out << "Test writing only";
        out.flush();
        written = static_cast<bool>(out);
    }
    if (!written)
        return false;  // the folder stays, as after any failed write test
    std::error_code ec;
    fs::remove(file, ec);
    fs::remove(folder, ec);
    return true;
}

bool ISDIR(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
}

}  // namespace derode::core
