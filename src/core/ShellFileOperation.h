#pragma once
// Copying, moving, renaming and deleting files and whole folders, the way the program's league,
// dated-file and backup commands use them. Copy and move take "*" and "?" in the last element of
// a source path and copy folders with everything in them; rename fails when the destination
// exists; delete is permanent, or with ALLOWUNDO goes to the user's freedesktop.org Trash.
// SUCCESS is true only when every item succeeded. Progress goes to a callback: the one set on
// the operation, else the run's presenter (core/OperationProgress.h, the Qt layer's progress
// dialog) unless SILENT; the callback returning false aborts the rest (ABORTED).

#include "core/OperationProgress.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace derode::core {

class SHELLFILEOPERATION {
public:
    enum Operation : std::uint16_t { MoveOperation = 1, CopyOperation = 2, DeleteOperation = 3, RenameOperation = 4 };
    enum Flag : std::uint16_t {
        FOF_SILENT = 0x0004,
        FOF_RENAMEONCOLLISION = 0x0008,
        FOF_NOCONFIRMATION = 0x0010,
        FOF_WANTMAPPINGHANDLE = 0x0020,
        FOF_ALLOWUNDO = 0x0040,
        FOF_FILESONLY = 0x0080,
        FOF_SIMPLEPROGRESS = 0x0100,
        FOF_NOCONFIRMMKDIR = 0x0200,
    };

    using Progress = OperationProgress;

    SHELLFILEOPERATION() = default;

    std::vector<std::string> FILES;  // source paths; the last element may hold wildcards
    std::string FOLDER;              // destination folder (the new path for a rename; unused by delete)
    std::string CAPTION;             // progress title (the run's progress dialog)

    bool SILENT() const { return flag(FOF_SILENT); }
    void SILENT(bool on) { setFlag(FOF_SILENT, on); }
    bool RENAMEONCOLLISION() const { return flag(FOF_RENAMEONCOLLISION); }
    void RENAMEONCOLLISION(bool on) { setFlag(FOF_RENAMEONCOLLISION, on); }
    bool NOCONFIRMATION() const { return flag(FOF_NOCONFIRMATION); }
    void NOCONFIRMATION(bool on) { setFlag(FOF_NOCONFIRMATION, on); }
    void ALLOWFILEMAPPING(bool on) { setFlag(FOF_WANTMAPPINGHANDLE, on); }
    bool ALLOWUNDO() const { return flag(FOF_ALLOWUNDO); }
    void ALLOWUNDO(bool on) { setFlag(FOF_ALLOWUNDO, on); }
    bool FILESONLY() const { return flag(FOF_FILESONLY); }
    void FILESONLY(bool on) { setFlag(FOF_FILESONLY, on); }
    bool SIMPLEPROGRESS() const { return flag(FOF_SIMPLEPROGRESS); }
    void SIMPLEPROGRESS(bool on) { setFlag(FOF_SIMPLEPROGRESS, on); }
    bool NOCONFIRMMKDIR() const { return flag(FOF_NOCONFIRMMKDIR); }
    void NOCONFIRMMKDIR(bool on) { setFlag(FOF_NOCONFIRMMKDIR, on); }

    std::uint16_t operation() const { return operation_; }
    std::uint16_t flags() const { return flags_; }

    bool SUCCESS() const { return success_; }
    bool ABORTED() const { return aborted_; }

    void setProgress(Progress progress) { progress_ = std::move(progress); }
    // The Trash folder (holding files/ and info/); default: the user's data home + "Trash/".
    void setTrashFolder(std::string folder) { trashFolder_ = std::move(folder); }

    void COPY() { operation_ = CopyOperation; EXECUTE(); }
    void MOVE() { operation_ = MoveOperation; EXECUTE(); }
    void DELETE() { operation_ = DeleteOperation; EXECUTE(); }
    void RENAME() { operation_ = RenameOperation; EXECUTE(); }
    // Runs the operation set last. Empty FILES, or an empty FOLDER for anything but a delete,
    // reports no success and touches nothing. Without NOCONFIRMATION, replacing an existing file
    // asks first (core::askYesNo); "Non" leaves it and goes on.
    void EXECUTE();

private:
    bool flag(Flag f) const { return (flags_ & f) != 0; }
    void setFlag(Flag f, bool on) { flags_ = on ? (flags_ | f) : (flags_ & ~f); }

    std::uint16_t operation_ = CopyOperation;
    std::uint16_t flags_ = 0;
    bool aborted_ = false;
    bool success_ = false;
    Progress progress_;
    std::string trashFolder_;
};

// Sends a file or folder to the freedesktop.org Trash under `trashFolder` (files/ and info/ with
// its .trashinfo). False when it could not be moved there.
bool moveToTrash(const std::string& path, const std::string& trashFolder);

}  // namespace derode::core
