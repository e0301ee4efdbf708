#include "core/DirectoryListing.h"

#include "core/Text.h"

#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace derode::core {

namespace {

struct LetterBit {
    char letter;
    std::uint32_t bit;
};

constexpr LetterBit kMaskLetters[] = {
    {'R', ATTR_READONLY}, {'H', ATTR_HIDDEN},     {'S', ATTR_SYSTEM},      {'A', ATTR_ARCHIVE},
    {'C', ATTR_COMPRESSED}, {'O', ATTR_OFFLINE},  {'T', ATTR_TEMPORARY},   {'D', ATTR_DIRECTORY},
    {'P', ATTR_SPARSE},   {'I', ATTR_REPARSE},    {'X', ATTR_NOT_INDEXED}, {'E', ATTR_ENCRYPTED},
    {'N', ATTR_NORMAL},   {'V', ATTR_DEVICE},
};

// Element 5 writes its own letters, in this order; the reparse and normal bits write none.
constexpr LetterBit kEntryLetters[] = {
    {'R', ATTR_READONLY}, {'H', ATTR_HIDDEN},   {'S', ATTR_SYSTEM},      {'A', ATTR_ARCHIVE},
    {'C', ATTR_COMPRESSED}, {'O', ATTR_OFFLINE}, {'T', ATTR_TEMPORARY},  {'D', ATTR_DIRECTORY},
    {'P', ATTR_SPARSE},   {'I', ATTR_NOT_INDEXED}, {'E', ATTR_ENCRYPTED}, {'V', ATTR_DEVICE},
};

constexpr std::uint32_t kExaminedBits = ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_DIRECTORY | ATTR_ARCHIVE
    | ATTR_DEVICE | ATTR_NORMAL | ATTR_TEMPORARY | ATTR_SPARSE | ATTR_REPARSE | ATTR_COMPRESSED | ATTR_OFFLINE
    | ATTR_NOT_INDEXED | ATTR_ENCRYPTED;

bool matchFrom(const std::string& name, std::size_t n, const std::string& pattern, std::size_t p)
{
    while (p < pattern.size()) {
        char c = pattern[p];
        if (c == '*') {
            for (std::size_t k = n; k <= name.size(); ++k)
                if (matchFrom(name, k, pattern, p + 1))
                    return true;
            return false;
        }
        if (n >= name.size())
            return false;
        if (c != '?' && c != name[n])
            return false;
        ++n;
        ++p;
    }
    return n == name.size();
}

std::uint32_t attributesOf(const std::string& name, const struct statx& st)
{
    std::uint32_t bits = 0;
    const mode_t mode = st.stx_mode;
    if (S_ISDIR(mode))
        bits |= ATTR_DIRECTORY;
    if (S_ISREG(mode))
        bits |= ATTR_ARCHIVE;
    if (S_ISLNK(mode))
        bits |= ATTR_REPARSE;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        bits |= ATTR_DEVICE;
    if (!name.empty() && name[0] == '.' && name != "." && name != "..")
        bits |= ATTR_HIDDEN;
    if (!(mode & S_IWUSR))
        bits |= ATTR_READONLY;
    // Allocation is counted in whole 4 KiB blocks: a small file kept inside its inode (no blocks
    // at all) is not taken for a sparse one.
    if (S_ISREG(mode)) {
        const std::uint64_t allocated = st.stx_blocks * 512ULL;
        if (allocated < (st.stx_size / 4096) * 4096)
            bits |= ATTR_SPARSE;
    }
    return bits;
}

FileStamp stampOf(const struct statx_timestamp& ts) { return UTC2DATETIME(ts.tv_sec, ts.tv_nsec); }

}  // namespace

std::uint32_t attributeMaskFromLetters(const std::string& letters)
{
    std::uint32_t mask = 0;
    for (char c : letters)
        for (const auto& lb : kMaskLetters)
            if (lb.letter == c)
                mask |= lb.bit;
    return mask;
}

std::string DWATTRIBUTE2STRING(std::uint32_t attributes)
{
    std::string letters;
    for (const auto& lb : kEntryLetters)
        if (attributes & lb.bit)
            letters += lb.letter;
    return letters;
}

bool FILEATTRIBUTEOK(std::uint32_t attributes, std::uint32_t mask)
{
    return (attributes & kExaminedBits & ~mask) == 0;
}

FileStamp UTC2DATETIME(std::int64_t seconds, std::uint32_t nanoseconds)
{
    if (nanoseconds > 500'000'000U)
        ++seconds;
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local {};
    ::localtime_r(&t, &local);
    char date[16];
    char time[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return {date, time};
}

bool matchesFilePattern(const std::string& name, const std::string& pattern)
{
    if (pattern == "*.*" || pattern == "*")
        return true;
    return matchFrom(toLower(name), 0, toLower(pattern), 0);
}

std::vector<DirectoryEntry> EXTENDEDDIRECTORY(const std::string& pattern, std::uint32_t mask)
{
    std::vector<DirectoryEntry> result;
    std::size_t slash = pattern.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : pattern.substr(0, slash + 1);
    const std::string namePattern = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (namePattern.empty())
        return result;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return result;
    const int dirFd = ::dirfd(dir);
    while (struct dirent* ent = ::readdir(dir)) {
        const std::string name = ent->d_name;
        if (!matchesFilePattern(name, namePattern))
            continue;
        struct statx st {};
        if (::statx(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
            continue;
        DirectoryEntry entry;
        entry.name = name;
        entry.shortName = name;
        entry.attributes = attributesOf(name, st);
        entry.size = S_ISDIR(st.stx_mode) ? 0 : st.stx_size;
        entry.written = stampOf(st.stx_mtime);
        entry.accessed = stampOf(st.stx_atime);
        entry.created = stampOf((st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_ctime);
        entry.letters = DWATTRIBUTE2STRING(entry.attributes);
        if (FILEATTRIBUTEOK(entry.attributes, mask))
            result.push_back(std::move(entry));
    }
    ::closedir(dir);
    return result;
}

std::vector<DirectoryEntry> EXTENDEDDIRECTORY(const std::string& pattern, const std::string& maskLetters)
{
    return EXTENDEDDIRECTORY(pattern, attributeMaskFromLetters(maskLetters));
}

}  // namespace derode::core
