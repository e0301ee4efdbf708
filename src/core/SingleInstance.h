#pragma once
// Single running copy per user: an exclusive, non-blocking lock on a file, held until the process
// ends (the descriptor is never closed, and the system drops the lock when the process dies, so a
// crash never leaves a stale lock behind).

#include <string>

namespace derode::core {

// "$XDG_RUNTIME_DIR/<name>.lock", or without a runtime folder "<temp folder>/<name>-<uid>.lock".
std::string singleInstanceLockPath(const std::string& name, const std::string& runtimeDir,
                                   const std::string& tempDir, unsigned uid);

// True when another holder has the lock of `name` (another copy runs); false when this process
// now holds it, or when the lock file cannot be made at all (starting is then never prevented).
bool ALREADYRUNNING(const std::string& name);
bool ALREADYRUNNING(const std::string& name, const std::string& lockPath);

}  // namespace derode::core
