#pragma once
// Helpers of the engine tests: member tables filled from a list, the command-line tool, files.

#include "engine/DbServer.h"
#include "engine/Templates.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace derode::test {

struct Member {
    std::string nom;
    std::string prenom;
    int jeton = 0;
    bool femme = false;
};

// Creates an empty member table with its two tags at `folder`/membres-2.dbf and returns its path.
inline std::string makeMemberTable(const TempDir& dir, const std::string& name = "membres-2.dbf")
{
    const std::string path = dir.str() + name;
    engine::TableLayout layout = engine::memberTableLayout();
    std::string error;
    EXPECT_TRUE(engine::createFromLayout(path, layout, &error)) << error;
    return path;
}

inline void addMember(engine::CDBSERVEREX& t, const Member& m)
{
    ASSERT_TRUE(t.append()) << t.lastError();
    ASSERT_TRUE(t.fieldPut("NOM", m.nom)) << t.lastError();
    ASSERT_TRUE(t.fieldPut("PRENOM", m.prenom)) << t.lastError();
    ASSERT_TRUE(t.fieldPut("NO_JETON", static_cast<double>(m.jeton))) << t.lastError();
    ASSERT_TRUE(t.fieldPut("FEMME", m.femme)) << t.lastError();
}

// Record numbers met from the top to the end in the current order.
inline std::vector<std::uint32_t> walk(engine::CDBSERVEREX& t)
{
    std::vector<std::uint32_t> out;
    for (t.goTop(); !t.eof(); t.skip())
        out.push_back(t.recNo());
    return out;
}

// The text padded with blanks to `width` characters (UTF-8 aware).
inline std::string padded(const std::string& text, std::size_t width)
{
    std::size_t chars = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++chars;
    return chars >= width ? text : text + std::string(width - chars, ' ');
}

struct ToolResult {
    int exitCode = -1;
    std::string out;
};

// Runs derode-dbf with the arguments (each single-quoted for the shell); stderr is dropped.
ToolResult runTool(const std::vector<std::string>& args, bool keepStderr = false);

std::vector<std::string> readLines(const std::string& path);
std::vector<std::string> splitLines(const std::string& text);

}  // namespace derode::test
