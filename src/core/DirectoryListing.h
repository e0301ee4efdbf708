#pragma once
// Listing of the file-system entries that match a path pattern and whose attribute bits all lie
// inside an attribute mask. The attribute word uses the Windows bits, derived here from what the
// file system says: 0x10 directory; 0x20 archive for every regular file (Windows sets it on every
// file it writes); 0x02 hidden for a name beginning with "." ("." and ".." excepted); 0x01
// read-only when the owner may not write; 0x400 reparse point for a symbolic link (not followed);
// 0x40 device for a device node; 0x200 sparse when fewer blocks are allocated than the size needs.
// The other bits are never set. The short name is the long name.

#include <cstdint>
#include <string>
#include <vector>

namespace derode::core {

enum FileAttribute : std::uint32_t {
    ATTR_READONLY = 0x0001,
    ATTR_HIDDEN = 0x0002,
    ATTR_SYSTEM = 0x0004,
    ATTR_DIRECTORY = 0x0010,
    ATTR_ARCHIVE = 0x0020,
    ATTR_DEVICE = 0x0040,
    ATTR_NORMAL = 0x0080,
    ATTR_TEMPORARY = 0x0100,
    ATTR_SPARSE = 0x0200,
    ATTR_REPARSE = 0x0400,
    ATTR_COMPRESSED = 0x0800,
    ATTR_OFFLINE = 0x1000,
    ATTR_NOT_INDEXED = 0x2000,
    ATTR_ENCRYPTED = 0x4000,
};

// A date and a time of day in local time.
struct FileStamp {
    std::string date;  // "YYYY-MM-DD"
    std::string time;  // "hh:mm:ss"
};

// One entry of the listing (the eleven elements, in their order).
struct DirectoryEntry {
    std::string name;          // 1 long name, no folder part
    std::uint64_t size = 0;    // 2 size in bytes (0 for a folder)
    FileStamp written;         // 3, 4 last write
    std::string letters;       // 5 attribute letters
    FileStamp accessed;        // 6, 7 last access
    FileStamp created;         // 8, 9 creation (birth time where the file system keeps it, else change time)
    std::string shortName;     // 10 the long name
    std::uint32_t attributes;  // 11 attribute bits
};

// Mask from letters: "R" "H" "S" "A" "C" "O" "T" "D" "P" "I" "X" "E" "N" "V" (upper case only;
// any other character is ignored).
std::uint32_t attributeMaskFromLetters(const std::string& letters);
// Attribute bits to the letters of element 5, in their order ("RHSACOTDPIEV"; 0x2000 writes "I").
std::string DWATTRIBUTE2STRING(std::uint32_t attributes);
// True when every examined bit set in `attributes` is also set in `mask`.
bool FILEATTRIBUTEOK(std::uint32_t attributes, std::uint32_t mask);
// Seconds since the epoch (UTC) plus nanoseconds to a local date and time; more than 500 ms
// counts as one more second, carried into the minutes, hours and date as a clock would.
FileStamp UTC2DATETIME(std::int64_t seconds, std::uint32_t nanoseconds);

// The entries of the folder of `pattern` whose names match its last part ("*" and "?" wildcards,
// compared without regard to case; "*.*" matches every name), "." and ".." included, kept when
// FILEATTRIBUTEOK holds, in the order the system enumerates them. A folder that does not exist
// or a pattern that matches nothing gives an empty list.
std::vector<DirectoryEntry> EXTENDEDDIRECTORY(const std::string& pattern, std::uint32_t mask);
std::vector<DirectoryEntry> EXTENDEDDIRECTORY(const std::string& pattern, const std::string& maskLetters);

// Whether `name` matches a pattern of the listing ("*", "?", case ignored, "*.*" all).
bool matchesFilePattern(const std::string& name, const std::string& pattern);

}  // namespace derode::core
