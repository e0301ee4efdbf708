#pragma once
// The mount table of the running system (/proc/self/mountinfo). Linux has no drive letters: the
// "drive" of a path is the mount point of the file system that holds it.

#include <string>
#include <vector>

namespace derode::core {

struct MountEntry {
    std::string mountPoint;  // with a trailing "/"
    std::string root;        // the mounted part of the file system ("/" for a whole one)
    std::string fsType;
    std::string source;      // the device ("/dev/sdb1") or a pseudo name ("tmpfs")
    unsigned major = 0;
    unsigned minor = 0;
};

// Entries in mount order; empty when the table cannot be read.
std::vector<MountEntry> readMountTable(const std::string& mountinfoPath = "/proc/self/mountinfo");

// The mount point (with a trailing "/") of the file system holding `path` (made absolute, symbolic
// links resolved as far as the path exists); "/" when nothing better is known.
std::string mountPointOf(const std::string& path, const std::vector<MountEntry>& table);
std::string mountPointOf(const std::string& path);

}  // namespace derode::core
