// Tables and indexes written by another xBase engine, replayed: every record, every key of every
// tag in index order, and the prefix seeks that engine answered.

#include "EngineTestSupport.h"

#include "engine/TableFile.h"
#include "engine/TagSet.h"

#include <cmath>
#include <cstdio>

using namespace derode;
using namespace derode::engine;

namespace {

std::string fixturePath(const std::string& relative) { return test::fixture("xbase/" + relative).string(); }

// Our dump in the fixtures' form: logicals 1/0.
std::vector<std::string> dumpAsExpected(const std::string& path)
{
    CDBSERVEREX table(path, {}, true, true);
    EXPECT_TRUE(table.used()) << table.lastError();
    const auto out = test::runTool({"dump", path});
    EXPECT_EQ(out.exitCode, 0);
    std::vector<std::string> lines;
    for (const auto& line : test::splitLines(out.out)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        std::string rebuilt = cells[0] + "\t" + cells[1];
        for (std::size_t i = 2; i < cells.size(); ++i) {
            std::string cell = cells[i];
            if (table.fields()[i - 2].type == 'L')
                cell = cell == "T" ? "1" : "0";
            rebuilt += "\t" + cell;
        }
        lines.push_back(rebuilt);
    }
    return lines;
}

// Every tag in the fixtures' form: header lines, then recno and key (padded text, plain numbers).
std::vector<std::string> keysAsExpected(const std::string& path)
{
    std::string error, note;
    auto file = TableFile::acquire(path, true, true, error);
    EXPECT_TRUE(file) << error;
    if (!file)
        return {};
    auto tags = TagSet::open(*file, false, error, note);
    EXPECT_TRUE(tags) << error;
    EXPECT_TRUE(note.empty()) << note;
    std::vector<std::string> lines;
    for (int i = 0; tags && i < tags->count(); ++i) {
        const Tag& t = tags->tag(i);
        const auto entries = tags->index().entries(i);
        lines.push_back("tag\t" + t.info.name);
        lines.push_back("expr\t" + t.info.keyExpression);
        lines.push_back("for\t" + t.info.forExpression);
        lines.push_back(std::string("unique\t") + (t.info.unique ? "T" : "F"));
        lines.push_back("keys\t" + std::to_string(entries.size()));
        for (const auto& e : entries) {
            std::string key;
            if (t.valueType == 'C') {
                key = codePageToUtf8(file->codePage(), e.key);
            } else {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%g", cdxNumberFromKey(e.key));
                key = buf;
            }
            lines.push_back(std::to_string(e.recno) + "\t" + key);
        }
    }
    return lines;
}

}  // namespace

TEST(FixtureReplay, RecordsReadAsTheOtherEngineWroteThem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"members-25/membres-2.dbf", "members-25/expected-records.tsv"},
        {"members-3000/membres-2.dbf", "members-3000/expected-records.tsv"},
        {"draw/partie1-2.dbf", "draw/expected-partie1-2-records.tsv"},
        {"draw/rapport.dbf", "draw/expected-rapport-records.tsv"},
    };
    for (const auto& [table, expected] : cases) {
        SCOPED_TRACE(table);
        EXPECT_EQ(dumpAsExpected(fixturePath(table)), test::readLines(fixturePath(expected)));
    }
}

TEST(FixtureReplay, EveryTagHoldsTheSameKeysInTheSameOrder)
{
    const std::pair<const char*, const char*> cases[] = {
        {"members-25/membres-2.dbf", "members-25/expected-keys.txt"},
        {"members-3000/membres-2.dbf", "members-3000/expected-keys.txt"},
        {"draw/rapport.dbf", "draw/expected-rapport-keys.txt"},
    };
    for (const auto& [table, expected] : cases) {
        SCOPED_TRACE(table);
        EXPECT_EQ(keysAsExpected(fixturePath(table)), test::readLines(fixturePath(expected)));
        EXPECT_EQ(test::runTool({"check", fixturePath(table)}).out, "ok\n");
    }
}

TEST(FixtureReplay, PrefixSeeksFindWhatTheOtherEngineFound)
{
    const auto keys = test::readLines(fixturePath("members-3000/seek-keys.utf8.txt"));
    const auto expected = test::readLines(fixturePath("members-3000/expected-seeks.txt"));
    ASSERT_EQ(keys.size(), expected.size());
    CDBSERVEREX table(fixturePath("members-3000/membres-2.dbf"), {}, true, true);
    ASSERT_TRUE(table.used()) << table.lastError();
    ASSERT_TRUE(table.setOrder("NOM-PRENON"));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(keys[i]);
        const bool found = table.seek(keys[i]);
        EXPECT_EQ(found ? "found\t" + std::to_string(table.recNo()) : std::string("notfound"), expected[i]);
    }
    // The tool answers the same.
    EXPECT_EQ(test::runTool({"seek", fixturePath("members-3000/membres-2.dbf"), "NOM-PRENON", keys[0]}).out,
              expected[0] + "\n");
}

TEST(FixtureReplay, WritingIntoTheOtherEnginesFilesKeepsThemConsistent)
{
    test::TempDir dir;
    const std::string path = test::copyFixture("xbase/members-25/membres-2.dbf", dir.path()).string();
    test::copyFixture("xbase/members-25/membres-2.cdx", dir.path());
    {
        CDBSERVEREX t(path, {}, false);
        ASSERT_TRUE(t.used()) << t.lastError();
        test::addMember(t, {"AAA", "Premier", 999});
        ASSERT_TRUE(t.goTo(3));
        ASSERT_TRUE(t.fieldPut("NOM", std::string("ZZZ")));
        ASSERT_TRUE(t.setOrder("NOM-PRENON"));
        ASSERT_TRUE(t.goTop());
        EXPECT_EQ(t.recNo(), 26u);
        ASSERT_TRUE(t.pack());
    }
    EXPECT_EQ(test::runTool({"check", path}).out, "ok\n");
    const auto keys = test::splitLines(test::runTool({"keys", path, "NO_JETON"}).out);
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back(), std::to_string(keys.size()) + "\t999");
}
