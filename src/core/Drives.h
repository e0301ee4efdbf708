#pragma once
// Drive helpers. Linux has no drive letters: a "drive" is the mount point of a block-device file
// system (read from /proc/self/mountinfo), shown by its mount point; the facts about the disk
// come from sysfs (/sys/dev/block) and the labels from /dev/disk/by-label.

#include "core/MountTable.h"

#include <string>
#include <vector>

namespace derode::core {

enum DriveType : int {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
};

// Where the facts are read; tests point them at folders of their own.
struct DriveSources {
    std::string mountinfo = "/proc/self/mountinfo";
    std::string sysBlock = "/sys/dev/block/";     // <major>:<minor> links to the devices
    std::string byLabel = "/dev/disk/by-label/";  // links named after the labels
};

// Mount points (with a trailing "/") of block-device file systems, in mount order, each once;
// pseudo and memory file systems (proc, sysfs, tmpfs, cgroup, overlay, squashfs…) left out.
std::vector<std::string> GETLOGICALDRIVESEX(const DriveSources& sources = {});
// DRIVE_NO_ROOT_DIR when `root` is not such a mount point; DRIVE_REMOVABLE when its disk says
// "removable" in sysfs or sits on a USB bus; DRIVE_FIXED otherwise.
int driveType(const std::string& root, const DriveSources& sources = {});
// The same facts as driveType's removable answer, for the drive holding `drive`.
bool ISMEDIAREMOVEABLE(const std::string& drive, const DriveSources& sources = {});
// False for an empty drive or a mount point that cannot be read; else true with the file
// system's label (empty when it has none).
bool GETDISKLABEL(const std::string& drive, std::string& label, const DriveSources& sources = {});
bool ISDISKREADY(const std::string& drive, const DriveSources& sources = {});
// Makes a temporary folder at the drive's root, writes "Test writing only" into a file in it,
// removes both; true when all of it worked.
bool ISDISKWRITEABLE(const std::string& drive);
// True when the folder exists and can be listed.
bool ISDIR(const std::string& folder);

}  // namespace derode::core
