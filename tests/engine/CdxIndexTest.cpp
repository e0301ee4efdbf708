// The compound index against files written by another xBase engine, against a std::multiset model
// under random edits, and against malformed files.

#include "core/Encoding.h"
#include "engine/cdx/CdxIndex.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using derode::engine::CdxEntry;
using derode::engine::CdxIndex;
using derode::engine::CdxTagInfo;

namespace {

struct ExpectedTag {
    std::string name, expr, filter;
    bool unique = false;
    std::vector<std::pair<std::uint32_t, std::string>> keys;  // recno, key as written (UTF-8 or number)
};

std::vector<std::string> readLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<ExpectedTag> readExpectedKeys(const fs::path& path) {
    std::vector<ExpectedTag> tags;
    auto lines = readLines(path);
    auto value = [](const std::string& line) { return line.substr(line.find('\t') + 1); };
    for (std::size_t i = 0; i + 4 < lines.size();) {
        ExpectedTag t;
        t.name = value(lines[i]);
        t.expr = value(lines[i + 1]);
        t.filter = value(lines[i + 2]);
        t.unique = value(lines[i + 3]) == "T";
        std::size_t count = std::stoul(value(lines[i + 4]));
        i += 5;
        for (std::size_t k = 0; k < count; ++k, ++i) {
            auto tab = lines[i].find('\t');
            t.keys.emplace_back(std::uint32_t(std::stoul(lines[i].substr(0, tab))), lines[i].substr(tab + 1));
        }
        tags.push_back(t);
    }
    return tags;
}

std::string padded(std::string s, int length) {
    s.resize(std::size_t(length), ' ');
    return s;
}

std::vector<unsigned char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void writeBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
std::uint32_t le32At(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
void putLe32At(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (unsigned char)(v >> (8 * i));
}

}  // namespace

// Every tag of every fixture: expressions, unique flag, keys in index order, navigation, soundness.
TEST(CdxIndex, ReadsTagsWrittenByAnotherEngine) {
    for (const char* folder : {"xbase/members-25/membres-2", "xbase/members-3000/membres-2", "xbase/draw/rapport"}) {
        SCOPED_TRACE(folder);
        std::string base = folder;
        fs::path expectedPath = derode::test::fixture(
            base.find("rapport") != std::string::npos ? "xbase/draw/expected-rapport-keys.txt"
                                                      : fs::path(base).parent_path().string() + "/expected-keys.txt");
        auto expected = readExpectedKeys(expectedPath);
        std::string error;
        auto index = CdxIndex::open(derode::test::fixture(base + ".cdx").string(), true, error);
        ASSERT_TRUE(index) << error;
        ASSERT_EQ(index->tags().size(), expected.size());
        for (std::size_t t = 0; t < expected.size(); ++t) {
            const ExpectedTag& want = expected[t];
            SCOPED_TRACE(want.name);
            const CdxTagInfo& info = index->tags()[t];
            EXPECT_EQ(info.name, want.name);
            EXPECT_EQ(index->tagIndex(want.name), int(t));
            EXPECT_EQ(info.keyExpression, want.expr);
            EXPECT_EQ(info.forExpression, want.filter);
            EXPECT_EQ(info.unique, want.unique);
            bool numeric = want.name == "NO_JETON";
            EXPECT_EQ(info.keyType, numeric ? 'N' : 'C');
            auto entries = index->entries(int(t));
            ASSERT_EQ(entries.size(), want.keys.size());
            for (std::size_t k = 0; k < entries.size(); ++k) {
                ASSERT_EQ(entries[k].recno, want.keys[k].first) << "position " << k;
                ASSERT_EQ(int(entries[k].key.size()), info.keyLength);
                if (numeric)
                    ASSERT_EQ(derode::engine::cdxNumberFromKey(entries[k].key), std::stod(want.keys[k].second));
                else
                    ASSERT_EQ(entries[k].key, derode::core::utf8ToCp1252(want.keys[k].second)) << "position " << k;
            }
            EXPECT_TRUE(index->check(int(t)).empty());
            // Stepping forwards and backwards visits the same entries.
            std::vector<CdxEntry> forward, backward;
            CdxEntry e;
            for (bool ok = index->first(int(t), e); ok; ok = index->next(int(t), e, e)) forward.push_back(e);
            for (bool ok = index->last(int(t), e); ok; ok = index->prev(int(t), e, e)) backward.push_back(e);
            std::reverse(backward.begin(), backward.end());
            ASSERT_EQ(forward.size(), entries.size());
            ASSERT_EQ(backward.size(), entries.size());
            for (std::size_t k = 0; k < entries.size(); ++k) {
                EXPECT_EQ(forward[k].recno, entries[k].recno);
                EXPECT_EQ(backward[k].recno, entries[k].recno);
            }
        }
    }
}

// Prefix seeks recorded with the other engine: found when the first key at or after the prefix starts with it.
TEST(CdxIndex, SeeksPrefixesLikeTheOtherEngine) {
    std::string error;
    auto index = CdxIndex::open(derode::test::fixture("xbase/members-3000/membres-2.cdx").string(), true, error);
    ASSERT_TRUE(index) << error;
    int tag = index->tagIndex("nom-prenon");
    ASSERT_GE(tag, 0);
    auto prefixes = readLines(derode::test::fixture("xbase/members-3000/seek-keys.txt"));
    auto results = readLines(derode::test::fixture("xbase/members-3000/expected-seeks.txt"));
    ASSERT_FALSE(results.empty());
    ASSERT_GE(prefixes.size(), results.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
        SCOPED_TRACE(derode::core::cp1252ToUtf8(prefixes[i]));
        CdxEntry found;
        bool ok = index->seek(tag, prefixes[i], found) && found.key.compare(0, prefixes[i].size(), prefixes[i]) == 0;
        if (results[i] == "notfound") {
            EXPECT_FALSE(ok);
        } else {
            ASSERT_TRUE(ok);
            EXPECT_EQ("found\t" + std::to_string(found.recno), results[i]);
        }
    }
    // Past the last key there is nothing.
    CdxEntry e;
    EXPECT_FALSE(index->seek(tag, std::string(3, '\xFF'), e));
}

TEST(CdxIndex, NumberKeysKeepTheOrderOfNumbers) {
    std::vector<double> values{-1e9, -66.5, -1, -0.25, 0, 0.25, 1, 3, 66, 999, 2451545, 1e12};
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string key = derode::engine::cdxNumberKey(values[i]);
        ASSERT_EQ(key.size(), 8u);
        EXPECT_EQ(derode::engine::cdxNumberFromKey(key), values[i]);
        if (i > 0) EXPECT_LT(derode::engine::cdxNumberKey(values[i - 1]), key) << values[i];
    }
    EXPECT_EQ(derode::engine::cdxNumberKey(-0.0), derode::engine::cdxNumberKey(0.0));
}

namespace {

CdxTagInfo textTag(const std::string& name, int length, bool unique = false) {
    CdxTagInfo t;
    t.name = name;
    t.keyExpression = "NOM+PRENOM";
    t.keyLength = length;
    t.unique = unique;
    return t;
}
CdxTagInfo numberTag(const std::string& name) {
    CdxTagInfo t;
    t.name = name;
    t.keyExpression = "NO_JETON";
    t.forExpression = "NO_JETON > 0";
    t.keyLength = 8;
    t.keyType = 'N';
    return t;
}

std::string randomName(std::mt19937& rng, int length) {
    static const char* syllables[] = {"MAR", "TIN", "DU", "PONT", "LE", "BRUN", "É", "RIC", "A", "ZOLA", " "};
    std::string s;
    int parts = 1 + int(rng() % 6);
    for (int i = 0; i < parts; ++i) s += derode::core::utf8ToCp1252(syllables[rng() % 11]);
    return padded(s, length);
}

using Model = std::set<std::pair<std::string, std::uint32_t>>;

void expectSame(const CdxIndex& index, int tag, const Model& model) {
    auto entries = index.entries(tag);
    ASSERT_EQ(entries.size(), model.size());
    std::size_t k = 0;
    for (const auto& [key, recno] : model) {
        ASSERT_EQ(entries[k].key, key) << "position " << k;
        ASSERT_EQ(entries[k].recno, recno) << "position " << k;
        ++k;
    }
    auto problems = index.check(tag);
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front());
}

}  // namespace

TEST(CdxIndex, CreatedTagsReopenWithTheSameEntries) {
    derode::test::TempDir dir;
    std::string path = (dir.path() / "t.cdx").string();
    std::string error;
    std::mt19937 rng(7);
    Model names, numbers;
    std::vector<CdxEntry> nameEntries, numberEntries;
    for (std::uint32_t r = 1; r <= 3000; ++r) {
        CdxEntry e{randomName(rng, 40), r};
        nameEntries.push_back(e);
        names.insert({e.key, r});
        CdxEntry n{derode::engine::cdxNumberKey(double(rng() % 999 + 1)), r};
        numberEntries.push_back(n);
        numbers.insert({n.key, r});
    }
    {
        auto index = CdxIndex::create(path, error);
        ASSERT_TRUE(index) << error;
        EXPECT_TRUE(index->tags().empty());
        ASSERT_TRUE(index->addTag(textTag("NOM-PRENON", 40), nameEntries, error)) << error;
        ASSERT_TRUE(index->addTag(numberTag("NO_JETON"), numberEntries, error)) << error;
        EXPECT_FALSE(index->addTag(numberTag("no_jeton"), {}, error));  // names are unique, whatever the case
        ASSERT_TRUE(index->addTag(textTag("VIDE", 10), {}, error)) << error;
    }
    auto index = CdxIndex::open(path, false, error);
    ASSERT_TRUE(index) << error;
    ASSERT_EQ(index->tags().size(), 3u);
    const auto& number = index->tags()[1];
    EXPECT_EQ(number.name, "NO_JETON");
    EXPECT_EQ(number.keyExpression, "NO_JETON");
    EXPECT_EQ(number.forExpression, "NO_JETON > 0");
    EXPECT_EQ(number.keyType, 'N');
    EXPECT_EQ(number.keyLength, 8);
    EXPECT_EQ(index->tags()[0].keyLength, 40);
    expectSame(*index, 0, names);
    expectSame(*index, 1, numbers);
    expectSame(*index, 2, {});
    CdxEntry e;
    EXPECT_FALSE(index->first(2, e));
    ASSERT_TRUE(index->insert(2, {"A", 5}));  // short keys are padded
    ASSERT_TRUE(index->first(2, e));
    EXPECT_EQ(e.key, padded("A", 10));
}

// Random edits through splits, merges of emptied pages and a tiny cache that writes pages out and
// reads them back, compared with an ordered set.
TEST(CdxIndex, RandomInsertsAndRemovesFollowAModel) {
    derode::test::TempDir dir;
    std::string path = (dir.path() / "r.cdx").string();
    std::string error;
    std::mt19937 rng(42);
    derode::engine::setCdxCacheBudget(64 * 1024);
    Model names, uniques;
    std::map<std::string, std::uint32_t> firstOf;
    {
        auto index = CdxIndex::create(path, error);
        ASSERT_TRUE(index) << error;
        ASSERT_TRUE(index->addTag(textTag("NOM", 40), {}, error)) << error;
        ASSERT_TRUE(index->addTag(textTag("UNIQ", 12, true), {}, error)) << error;
        std::vector<std::pair<std::string, std::uint32_t>> live;
        for (int step = 0; step < 30000; ++step) {
            bool add = live.empty() || rng() % 100 < (step < 15000 ? 75 : 30);
            if (add) {
                CdxEntry e{randomName(rng, 40), std::uint32_t(rng() % 200000 + 1)};
                if (names.count({e.key, e.recno})) continue;
                ASSERT_TRUE(index->insert(0, e));
                names.insert({e.key, e.recno});
                live.emplace_back(e.key, e.recno);
                CdxEntry u{e.key.substr(0, 12), e.recno};
                ASSERT_TRUE(index->insert(1, u));
                if (!firstOf.count(u.key)) firstOf[u.key] = u.recno;  // a later record never replaces the first
            } else {
                std::size_t at = rng() % live.size();
                auto [key, recno] = live[at];
                live[at] = live.back();
                live.pop_back();
                ASSERT_TRUE(index->remove(0, {key, recno}));
                names.erase({key, recno});
                EXPECT_FALSE(index->remove(0, {key, recno}));
            }
            if (step % 10000 == 9999) expectSame(*index, 0, names);
        }
        for (auto& [key, recno] : firstOf) uniques.insert({key, recno});
        expectSame(*index, 1, uniques);
        // Neighbours of absent and present entries agree with the model.
        for (int probe = 0; probe < 500; ++probe) {
            std::string key = randomName(rng, 40);
            std::uint32_t recno = rng() % 200000;
            CdxEntry out;
            auto after = names.upper_bound({key, recno});
            ASSERT_EQ(index->next(0, {key, recno}, out), after != names.end());
            if (after != names.end()) EXPECT_EQ(std::make_pair(out.key, out.recno), *after);
            auto before = names.lower_bound({key, recno});
            ASSERT_EQ(index->prev(0, {key, recno}, out), before != names.begin());
            if (before != names.begin()) EXPECT_EQ(std::make_pair(out.key, out.recno), *std::prev(before));
            std::string prefix = key.substr(0, 1 + rng() % 6);
            auto seek = names.lower_bound({prefix, 0});
            ASSERT_EQ(index->seek(0, prefix, out), seek != names.end());
            if (seek != names.end()) EXPECT_EQ(out.recno, seek->second);
        }
        ASSERT_TRUE(index->flush(error)) << error;
    }
    auto index = CdxIndex::open(path, false, error);
    ASSERT_TRUE(index) << error;
    expectSame(*index, 0, names);
    expectSame(*index, 1, uniques);
    // Removing everything leaves a sound, empty tag whose freed pages are used again.
    auto size = fs::file_size(path);
    for (const auto& [key, recno] : names) ASSERT_TRUE(index->remove(0, {key, recno}));
    expectSame(*index, 0, {});
    for (const auto& [key, recno] : names) ASSERT_TRUE(index->insert(0, {key, recno}));
    ASSERT_TRUE(index->flush(error));
    EXPECT_LE(fs::file_size(path), size + 4096);
    expectSame(*index, 0, names);
    derode::engine::setCdxCacheBudget(16u << 20);
}

TEST(CdxIndex, UniqueTagKeepsTheFirstRecordOfEachKey) {
    derode::test::TempDir dir;
    std::string path = (dir.path() / "u.cdx").string();
    std::string error;
    auto index = CdxIndex::create(path, error);
    ASSERT_TRUE(index) << error;
    std::vector<CdxEntry> entries{{"MARTIN", 5}, {"DUPONT", 3}, {"MARTIN", 2}, {"DUPONT", 1}, {"ZOLA", 4}};
    ASSERT_TRUE(index->addTag(textTag("NOMUNIQ", 10, true), entries, error)) << error;
    ASSERT_TRUE(index->insert(0, {"ZOLA", 9}));  // already present: the first record stays
    ASSERT_TRUE(index->insert(0, {"ALBERT", 7}));
    Model want{{padded("ALBERT", 10), 7}, {padded("DUPONT", 10), 1}, {padded("MARTIN", 10), 2}, {padded("ZOLA", 10), 4}};
    expectSame(*index, 0, want);
    EXPECT_TRUE(index->tags()[0].unique);
    EXPECT_FALSE(index->remove(0, {"ZOLA", 9}));
}

TEST(CdxIndex, RebuildAllReplacesTheFileWithTheSameTags) {
    derode::test::TempDir dir;
    fs::path path = derode::test::copyFixture("xbase/members-25/membres-2.cdx", dir.path());
    std::string error;
    auto index = CdxIndex::open(path.string(), false, error);
    ASSERT_TRUE(index) << error;
    auto before = index->tags();
    std::vector<std::vector<CdxEntry>> fresh(2);
    Model names, numbers;
    for (std::uint32_t r = 1; r <= 500; ++r) {
        std::string name = padded("NOM" + std::to_string(r % 37), 40);
        fresh[0].push_back({name, r});
        names.insert({name, r});
        std::string number = derode::engine::cdxNumberKey(double(r % 50));
        fresh[1].push_back({number, r});
        numbers.insert({number, r});
    }
    ASSERT_TRUE(index->rebuildAll(fresh, error)) << error;
    ASSERT_EQ(index->tags().size(), before.size());
    for (std::size_t t = 0; t < before.size(); ++t) {
        EXPECT_EQ(index->tags()[t].name, before[t].name);
        EXPECT_EQ(index->tags()[t].keyExpression, before[t].keyExpression);
        EXPECT_EQ(index->tags()[t].keyType, before[t].keyType);
    }
    expectSame(*index, 0, names);
    expectSame(*index, 1, numbers);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);  // no temporary left
    index.reset();
    index = CdxIndex::open(path.string(), true, error);
    ASSERT_TRUE(index) << error;
    expectSame(*index, 0, names);
    expectSame(*index, 1, numbers);
    EXPECT_FALSE(index->rebuildAll({}, error));  // read-only
}

// Damaged files fail to open with a reason; damage that leaves the pages reachable is found by check().
TEST(CdxIndex, MalformedFilesAreRejectedOrReported) {
    derode::test::TempDir dir;
    fs::path source = derode::test::fixture("xbase/members-3000/membres-2.cdx");
    const auto original = readBytes(source);
    const std::uint32_t nomHeader = 0x600, nomRoot = le32At(original, nomHeader);
    struct Case {
        const char* name;
        std::function<void(std::vector<unsigned char>&)> damage;
    };
    std::vector<Case> refused{
        {"empty", [](auto& b) { b.clear(); }},
        {"truncated header", [](auto& b) { b.resize(700); }},
        {"truncated pages", [](auto& b) { b.resize(b.size() / 2); }},
        {"root outside the file", [&](auto& b) { putLe32At(b, nomHeader, std::uint32_t(b.size() + 4096)); }},
        {"root not on a page", [&](auto& b) { putLe32At(b, nomHeader, nomRoot + 3); }},
        {"child loops to its parent", [&](auto& b) {
             // Interior entries: key, record number and child page, both big-endian.
             for (int i = 0; i < 4; ++i) b[nomRoot + 12 + 44 + i] = (unsigned char)(nomRoot >> (24 - 8 * i));
         }},
        {"key length over the page", [&](auto& b) { b[nomHeader + 12] = 0x58; b[nomHeader + 13] = 0x02; }},
        {"tag header outside the file", [](auto& b) { b[0x400 + 24] = 0xFF; b[0x400 + 25] = 0xFF; }},
        {"leaf count over the page", [&](auto& b) { std::uint32_t leaf = 0xa00; b[leaf + 2] = 0xFF; b[leaf + 3] = 0x00; }},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        auto bytes = original;
        c.damage(bytes);
        fs::path path = dir.path() / "bad.cdx";
        writeBytes(path, bytes);
        std::string error;
        auto index = CdxIndex::open(path.string(), false, error);
        EXPECT_FALSE(index);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(readBytes(path), bytes);  // a refused file is left as it was
    }
    std::vector<Case> reported{
        {"children swapped", [&](auto& b) {
             for (int i = 0; i < 4; ++i) std::swap(b[nomRoot + 12 + 44 + i], b[nomRoot + 12 + 48 + 44 + i]);
         }},
        {"sibling chain broken", [&](auto& b) { putLe32At(b, 0xa00 + 8, 0xFFFFFFFFu); }},
    };
    for (const auto& c : reported) {
        SCOPED_TRACE(c.name);
        auto bytes = original;
        c.damage(bytes);
        fs::path path = dir.path() / "odd.cdx";
        writeBytes(path, bytes);
        std::string error;
        auto index = CdxIndex::open(path.string(), true, error);
        ASSERT_TRUE(index) << error;
        EXPECT_FALSE(index->check(index->tagIndex("NOM-PRENON")).empty());
        EXPECT_TRUE(index->check(index->tagIndex("NO_JETON")).empty());
    }
}

// The file as a killed process leaves it (some pages written by the cache, the rest lost) still
// opens, holds no key that was never inserted, and shows the loss through check() or its key count.
TEST(CdxIndex, FileLeftByAKilledProcessOpensAndShowsTheLoss) {
    derode::test::TempDir dir;
    fs::path path = dir.path() / "k.cdx";
    std::string error;
    std::mt19937 rng(11);
    derode::engine::setCdxCacheBudget(32 * 1024);
    Model model;
    auto index = CdxIndex::create(path.string(), error);
    ASSERT_TRUE(index) << error;
    ASSERT_TRUE(index->addTag(textTag("NOM", 40), {}, error)) << error;
    int lossesSeen = 0;
    for (int snapshot = 0; snapshot < 6; ++snapshot) {
        for (int i = 0; i < 1500; ++i) {
            CdxEntry e{randomName(rng, 40), std::uint32_t(model.size() + 1)};
            ASSERT_TRUE(index->insert(0, e));
            model.insert({e.key, e.recno});
        }
        fs::path copy = dir.path() / "killed.cdx";
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
        auto killed = CdxIndex::open(copy.string(), true, error);
        ASSERT_TRUE(killed) << error;
        auto entries = killed->entries(0);
        for (const auto& e : entries) ASSERT_TRUE(model.count({e.key, e.recno}));
        if (!killed->check(0).empty() || entries.size() != model.size()) ++lossesSeen;
    }
    EXPECT_GT(lossesSeen, 0);
    ASSERT_TRUE(index->flush(error)) << error;
    index.reset();
    index = CdxIndex::open(path.string(), true, error);
    ASSERT_TRUE(index) << error;
    expectSame(*index, 0, model);
    derode::engine::setCdxCacheBudget(16u << 20);
}

// An independent reader (Perl's XBase, when installed) lists a tag we wrote in our order.
TEST(CdxIndex, IndependentReaderReadsOurTags) {
    if (std::system("command -v index_dump >/dev/null 2>&1") != 0) GTEST_SKIP() << "index_dump (libdbd-xbase-perl) absent";
    derode::test::TempDir dir;
    std::string path = (dir.path() / "membres-2.cdx").string();
    std::string error;
    std::mt19937 rng(3);
    Model names, numbers;
    std::vector<CdxEntry> nameEntries, numberEntries;
    for (std::uint32_t r = 1; r <= 2000; ++r) {
        CdxEntry e{randomName(rng, 40), r};
        nameEntries.push_back(e);
        names.insert({e.key, r});
        CdxEntry n{derode::engine::cdxNumberKey(double(rng() % 999 + 1)), r};
        numberEntries.push_back(n);
    }
    {
        auto index = CdxIndex::create(path, error);
        ASSERT_TRUE(index) << error;
        ASSERT_TRUE(index->addTag(textTag("NOM-PRENON", 40), {}, error)) << error;
        ASSERT_TRUE(index->addTag(numberTag("NO_JETON"), numberEntries, error)) << error;
        for (const auto& e : nameEntries) ASSERT_TRUE(index->insert(0, e));  // maintained, not built
    }
    auto dump = [&](const std::string& type, const std::string& tag) {
        std::string out = (dir.path() / "dump.txt").string();
        std::string command = "index_dump -type=" + type + " '" + path + "' " + tag + " > '" + out + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return readLines(out);
    };
    auto lines = dump("char", "NOM-PRENON");
    ASSERT_EQ(lines.size(), names.size());
    std::size_t k = 0;
    for (const auto& [key, recno] : names) {
        std::string trimmed = key.substr(0, key.find_last_not_of(' ') + 1);
        ASSERT_EQ(lines[k], trimmed + " " + std::to_string(recno)) << "position " << k;
        ++k;
    }
    std::sort(numberEntries.begin(), numberEntries.end(),
              [](const CdxEntry& a, const CdxEntry& b) { return std::tie(a.key, a.recno) < std::tie(b.key, b.recno); });
    lines = dump("num", "NO_JETON");
    ASSERT_EQ(lines.size(), numberEntries.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::ostringstream want;
        want << derode::engine::cdxNumberFromKey(numberEntries[i].key) << " " << numberEntries[i].recno;
        ASSERT_EQ(lines[i], want.str()) << "position " << i;
    }
}
