#include "core/ShellFileOperation.h"

#include "core/DirectoryListing.h"
#include "core/Locations.h"
#include "core/Messages.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace derode::core {

namespace {

bool hasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

std::string stripTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The paths a source names: itself, or the matches of the wildcards of its last element.
// nullopt-like: `ok` false when a plain source does not exist.
std::vector<fs::path> expand(const std::string& source, bool& ok)
{
    std::vector<fs::path> items;
    std::string path = stripTrailingSlash(source);
    std::size_t slash = path.rfind('/');
    std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!hasWildcard(last)) {
        std::error_code ec;
        ok = fs::exists(fs::symlink_status(path, ec));
        if (ok)
            items.emplace_back(path);
        return items;
    }
    ok = true;
    for (const DirectoryEntry& e : EXTENDEDDIRECTORY(path, 0xFFFFFFFFu)) {
        if (e.name == "." || e.name == "..")
            continue;
        items.emplace_back(path.substr(0, slash + 1) + e.name);
    }
    return items;
}

std::string percentEncode(const std::string& path)
{
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

// Moves across file systems too: a copy followed by removal of the original.
bool movePath(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec)
        return true;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) {
        fs::remove_all(to, ec);
        return false;
    }
    fs::remove_all(from, ec);
    return !ec;
}

bool confirmReplace(const fs::path& target)
{
    return askYesNo("\r\nLe fichier « " + target.string() + " » existe déjà.\r\n\r\nVoulez-vous le remplacer?");
}

// Copies a folder into `to`, merging with what is there. With `confirm`, each file that would be
// replaced is asked for first; "Non" keeps it, sets `declined` and goes on.
bool copyFolder(const fs::path& from, const fs::path& to, bool confirm, bool& declined)
{
    std::error_code ec;
    fs::create_directories(to, ec);
    if (!fs::is_directory(to, ec))
        return false;
    fs::directory_iterator it(from, ec);
    if (ec)
        return false;
    for (const fs::directory_entry& entry : it) {
        const fs::path target = to / entry.path().filename();
        if (entry.is_directory(ec) && !entry.is_symlink(ec)) {
            if (!copyFolder(entry.path(), target, confirm, declined))
                return false;
            continue;
        }
        if (confirm && fs::exists(fs::symlink_status(target, ec)) && !confirmReplace(target)) {
            declined = true;
            continue;
        }
        fs::copy(entry.path(), target, fs::copy_options::overwrite_existing | fs::copy_options::copy_symlinks, ec);
        if (ec)
            return false;
    }
    return true;
}

}  // namespace

bool moveToTrash(const std::string& rawPath, const std::string& trashFolder)
{
    std::error_code ec;
    fs::path path = fs::absolute(stripTrailingSlash(rawPath), ec);
    if (ec || !fs::exists(fs::symlink_status(path, ec)))
        return false;
    fs::path files = fs::path(trashFolder) / "files";
    fs::path info = fs::path(trashFolder) / "info";
    fs::create_directories(files, ec);
    fs::create_directories(info, ec);
    const std::string base = path.filename().string();
    std::string name = base;
    for (int n = 2; fs::exists(fs::symlink_status(files / name, ec)) || fs::exists(info / (name + ".trashinfo"), ec); ++n)
        name = base + "." + std::to_string(n);

    std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    const fs::path infoFile = info / (name + ".trashinfo");
    {
        std::ofstream out(infoFile, std::ios::binary);
        out << "[Trash Info]\nPath=" << percentEncode(path.string()) << "\nDeletionDate=" << stamp << "\n";
        if (!out)
            return false;
    }
    if (!movePath(path, files / name)) {
        fs::remove(infoFile, ec);
        return false;
    }
    return true;
}

void SHELLFILEOPERATION::EXECUTE()
{
    success_ = false;
    aborted_ = false;
    if (FILES.empty())
        return;
    if (operation_ != DeleteOperation && FOLDER.empty())
        return;

    bool allOk = true;
    std::vector<fs::path> items;
    for (const std::string& source : FILES) {
        bool ok = true;
        std::vector<fs::path> found = expand(source, ok);
        allOk = allOk && ok;
        items.insert(items.end(), found.begin(), found.end());
    }
    if (operation_ == RenameOperation && items.size() != 1)
        allOk = false;

    std::error_code ec;
    const fs::path destination = stripTrailingSlash(FOLDER);
    if ((operation_ == CopyOperation || operation_ == MoveOperation) && !items.empty()) {
        fs::create_directories(destination, ec);
        if (!fs::is_directory(destination, ec))
            allOk = false;
    }
    const std::string trash = trashFolder_.empty() ? UserFolders::fromEnvironment().dataHome() + "Trash" : trashFolder_;
    // The run's progress lives for this operation only: its dialog closes when the operation ends.
    Progress progress = progress_;
    if (!progress && !SILENT())
        if (OperationProgressPresenter* presenter = operationProgressPresenter())
            progress = presenter->start(CAPTION);

    for (std::size_t i = 0; i < items.size() && allOk; ++i) {
        const fs::path& item = items[i];
        if (progress && !progress(item.string(), i, items.size())) {
            aborted_ = true;
            return;
        }
        if (FILESONLY() && operation_ != RenameOperation && fs::is_directory(fs::symlink_status(item, ec)))
            continue;
        switch (operation_) {
        case RenameOperation:
            // Rename refuses an existing destination: a folder is never merged into another.
            if (fs::exists(fs::symlink_status(destination, ec))) {
                allOk = false;
                break;
            }
            fs::rename(item, destination, ec);
            allOk = !ec;
            break;
        case DeleteOperation:
            if (ALLOWUNDO()) {
                allOk = moveToTrash(item.string(), trash);
            } else {
                fs::remove_all(item, ec);
                allOk = !ec;
            }
            break;
        case CopyOperation:
        case MoveOperation: {
            const fs::path target = destination / item.filename();
            if (fs::equivalent(item, target, ec)) {
                allOk = false;
                break;
            }
            const bool isFolder = fs::is_directory(fs::symlink_status(item, ec));
            if (!isFolder && fs::exists(fs::symlink_status(target, ec)) && !NOCONFIRMATION() && !confirmReplace(target))
                break;
            if (operation_ == MoveOperation && !fs::exists(fs::symlink_status(target, ec))) {
                allOk = movePath(item, target);
                break;
            }
            if (isFolder) {
                // A folder that keeps a file the user chose not to replace is not moved away.
                bool declined = false;
                allOk = copyFolder(item, target, !NOCONFIRMATION(), declined);
                if (declined)
                    break;
            } else {
                fs::copy(item, target, fs::copy_options::overwrite_existing | fs::copy_options::copy_symlinks, ec);
                allOk = !ec;
            }
            if (allOk && operation_ == MoveOperation) {
                fs::remove_all(item, ec);
                allOk = !ec;
            }
            break;
        }
        default:
            allOk = false;
        }
    }
    if (progress && allOk)
        progress({}, items.size(), items.size());
    success_ = allOk;
}

}  // namespace derode::core
