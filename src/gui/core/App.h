#pragma once
// The run from start to end: single copy, run-wide settings, the per-user key, the league list,
// the login, then the main window and its message loop.

#include <functional>
#include <string>
#include <vector>

namespace derode::gui {

class CSHELLWINDOW;

class CAPP {
public:
    // The subsystems that bind their commands on the main window register here; each runs once
    // the window exists, before its last creation steps (update check, member table upgrade).
    void onMainWindow(std::function<void(CSHELLWINDOW&)> setup) { setups_.push_back(std::move(setup)); }

    // Runs the whole program and returns the process's exit code.
    int START();

    // The lock file that keeps a second copy out; empty: the user's runtime folder (tests use
    // their own).
    void setSingleInstanceLock(std::string path) { lockPath_ = std::move(path); }

private:
    std::string lockPath_;
    std::vector<std::function<void(CSHELLWINDOW&)>> setups_;
};

}  // namespace derode::gui
