#include "support/TestSupport.h"

#include "core/AtomicFile.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace derode::test {

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path()
            / ("derode-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
               + std::to_string(rd() % 100000));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

fs::path fixture(const std::string& relative) { return fs::path(DERODE_FIXTURES) / relative; }

fs::path copyFixture(const std::string& relative, const fs::path& destinationFolder)
{
    fs::path source = fixture(relative);
    fs::path target = destinationFolder / source.filename();
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    return target;
}

std::string bytesOf(const fs::path& path)
{
    std::string bytes;
    core::readFile(path.string(), bytes);
    return bytes;
}

std::vector<std::vector<std::string>> readTsv(const fs::path& path)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream s(line);
        std::string cell;
        while (std::getline(s, cell, '\t'))
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

TestLocations::TestLocations() : previous_(core::locations())
{
    locations_.programFolder = dir_.str() + "program/";
    locations_.dataRoot = dir_.str() + "Derode_data/";
    locations_.registryFile = dir_.str() + "Derode.reg";
    fs::create_directories(locations_.programFolder);
    fs::create_directories(locations_.dataRoot);
    for (const char* installed : {"OwnerData", "CommonData"}) {
        fs::path built = fs::path(DERODE_PROGRAM_DIR) / installed;
        std::error_code ec;
        if (fs::exists(built, ec))
            fs::copy(built, fs::path(locations_.programFolder) / installed, fs::copy_options::recursive, ec);
        else
            fs::create_directories(fs::path(locations_.programFolder) / installed, ec);
    }
    core::setLocations(locations_);
}

TestLocations::~TestLocations() { core::setLocations(previous_); }

ScriptedAnswerer::ScriptedAnswerer() : previous_(core::messagePresenter())
{
    core::setMessagePresenter(this);
}

ScriptedAnswerer::~ScriptedAnswerer() { core::setMessagePresenter(previous_); }

int ScriptedAnswerer::present(const core::Message& message)
{
    shown_.push_back(message);
    if (answers_.empty())
        return 1;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedAnswerer::texts() const
{
    std::vector<std::string> result;
    for (const auto& m : shown_)
        result.push_back(m.text);
    return result;
}

}  // namespace derode::test
