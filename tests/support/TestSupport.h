#pragma once
// Shared test helpers: a temporary folder removed at the end of the test, fixture paths,
// and the scripted answerer that stands in for every message box.

#include "core/Locations.h"
#include "core/Messages.h"

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace derode::test {

// A fresh folder under the system's temporary folder, removed with its content on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as text with a trailing "/", the form the program's paths use.
    std::string str() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

// Path of a file under tests/fixtures/.
std::filesystem::path fixture(const std::string& relative);
// Copies a fixture file or folder into a destination folder and returns the copy's path.
std::filesystem::path copyFixture(const std::string& relative, const std::filesystem::path& destinationFolder);
// The raw bytes of a file (empty when it cannot be read), to compare a file before and after.
std::string bytesOf(const std::filesystem::path& path);
// The lines of a tab-separated fixture, each split into its cells.
std::vector<std::vector<std::string>> readTsv(const std::filesystem::path& path);

// Locations on a temporary folder: program folder "<tmp>/program/" (OwnerData and CommonData
// copied from the built program folder when they exist), data root "<tmp>/Derode_data/",
// registry store "<tmp>/Derode.reg". Installed as the run's locations while alive.
class TestLocations {
public:
    TestLocations();
    ~TestLocations();
    const core::Locations& get() const { return locations_; }
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    core::Locations previous_;
    core::Locations locations_;
};

// Records every message shown and answers from a queue of planned answers
// (1 for "OK"/"Oui" when the queue is empty). Installed as the presenter while alive.
class ScriptedAnswerer : public core::MessagePresenter {
public:
    ScriptedAnswerer();
    ~ScriptedAnswerer() override;

    void planAnswer(int answer) { answers_.push_back(answer); }
    int present(const core::Message& message) override;

    const std::vector<core::Message>& shown() const { return shown_; }
    // The texts shown, in order.
    std::vector<std::string> texts() const;
    void clear() { shown_.clear(); }

private:
    core::MessagePresenter* previous_;
    std::deque<int> answers_;
    std::vector<core::Message> shown_;
};

}  // namespace derode::test
