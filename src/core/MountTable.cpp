#include "core/MountTable.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace derode::core {

namespace {

// mountinfo escapes blanks, tabs, new lines and backslashes as \ooo.
std::string unescape(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            std::string oct = field.substr(i + 1, 3);
            if (oct.size() == 3 && oct.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(oct, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

}  // namespace

std::vector<MountEntry> readMountTable(const std::string& mountinfoPath)
{
    std::vector<MountEntry> table;
    std::ifstream in(mountinfoPath);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, devno, root, mountPoint, options, field;
        if (!(fields >> id >> parent >> devno >> root >> mountPoint >> options))
            continue;
        while (fields >> field && field != "-") {
        }
        MountEntry entry;
        fields >> entry.fsType >> entry.source;
        entry.root = unescape(root);
        entry.mountPoint = withSlash(unescape(mountPoint));
        entry.source = unescape(entry.source);
        std::size_t colon = devno.find(':');
        if (colon != std::string::npos) {
            entry.major = static_cast<unsigned>(std::stoul(devno.substr(0, colon)));
            entry.minor = static_cast<unsigned>(std::stoul(devno.substr(colon + 1)));
        }
        table.push_back(entry);
    }
    return table;
}

std::string mountPointOf(const std::string& path, const std::vector<MountEntry>& table)
{
    std::error_code ec;
    fs::path absolute = fs::weakly_canonical(fs::absolute(path, ec), ec);
    std::string target = withSlash(absolute.string());
    std::string best = "/";
    for (const MountEntry& entry : table) {
        // Later entries mount over earlier ones at the same place; the longest prefix wins.
        if (target.rfind(entry.mountPoint, 0) == 0 && entry.mountPoint.size() >= best.size())
            best = entry.mountPoint;
    }
    return best;
}

std::string mountPointOf(const std::string& path) { return mountPointOf(path, readMountTable()); }

}  // namespace derode::core
