#pragma once
// A run on temporary folders: fresh locations, a fresh session and a scripted answerer.

#include "core/Session.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace derode::test {

class LeagueTest : public ::testing::Test {
protected:
    LeagueTest() { core::session() = core::Session{}; }
    ~LeagueTest() override { core::session() = core::Session{}; }

    std::filesystem::path root() const { return where.get().dataRoot; }
    std::filesystem::path owner() const { return where.get().ownerData(); }

    static void write(const std::filesystem::path& path, const std::string& bytes)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    TestLocations where;
    ScriptedAnswerer answerer;
};

}  // namespace derode::test
