// derode-dbf from the command line: a table built, loaded, indexed, damaged and repaired.

#include "EngineTestSupport.h"

#include <filesystem>
#include <fstream>

using namespace derode;

TEST(DbfTool, BuildsLoadsIndexesChecksAndRepairsATable)
{
    test::TempDir dir;
    const std::string t = dir.str() + "t.dbf";
    ASSERT_EQ(test::runTool({"create", t, "NOM,C,20,0", "PTS,N,4,0", "FEMME,L,1", "QUAND,D,8,0"}).exitCode, 0);
    ASSERT_EQ(test::runTool({"index", t, "NOMS", "UPPER(NOM)"}).exitCode, 0);
    ASSERT_EQ(test::runTool({"index", t, "UNIQ", "NOM", "unique"}).exitCode, 0);
    ASSERT_EQ(test::runTool({"index", t, "QUAND", "QUAND"}).exitCode, 0);
    std::ofstream(dir.str() + "in.tsv") << "NOM\tPTS\tFEMME\tQUAND\n"
                                           "zoé\t13\tT\t2025-10-01\n"
                                           "Adam\t7\tF\t20240229\n"
                                           "zoé\t-5\tF\t\n";
    ASSERT_EQ(test::runTool({"load", t, dir.str() + "in.tsv"}).exitCode, 0);
    EXPECT_EQ(test::runTool({"dump", t}).out,
              "1\t \tzoé\t13\tT\t20251001\n2\t \tAdam\t7\tF\t20240229\n3\t \tzoé\t-5\tF\t\n");
    EXPECT_EQ(test::runTool({"info", t}).out,
              "version\t0x03\ncodepage\t0x03\tcp1252\nrecords\t3\nNOM\tC\t20\t0\nPTS\tN\t4\t0\nFEMME\tL\t1\t0\n"
              "QUAND\tD\t8\t0\ntag\tNOMS\tUPPER(NOM)\tall\ntag\tUNIQ\tNOM\tunique\ntag\tQUAND\tQUAND\tall\n");
    EXPECT_EQ(test::runTool({"keys", t, "NOMS"}).out, "2\tADAM\n1\tZOÉ\n3\tZOÉ\n");
    EXPECT_EQ(test::runTool({"keys", t, "uniq"}).out, "2\tAdam\n1\tzoé\n");
    EXPECT_EQ(test::runTool({"keys", t, "QUAND"}).out, "3\t        \n2\t20240229\n1\t20251001\n");
    EXPECT_EQ(test::runTool({"seek", t, "NOMS", "ZO"}).out, "found\t1\n");
    EXPECT_EQ(test::runTool({"seek", t, "NOMS", "B"}).out, "notfound\n");
    EXPECT_EQ(test::runTool({"seek", t, "QUAND", "20240229"}).out, "found\t2\n");
    EXPECT_EQ(test::runTool({"check", t}).out, "ok\n");

    // The index made stale behind the engine's back: check says so, reindex mends it.
    const std::string saved = dir.str() + "saved.cdx";
    std::filesystem::copy_file(dir.str() + "t.cdx", saved);
    std::ofstream(dir.str() + "more.tsv") << "NOM\nBÉA\n";
    ASSERT_EQ(test::runTool({"load", t, dir.str() + "more.tsv"}).exitCode, 0);
    std::filesystem::copy_file(saved, dir.str() + "t.cdx", std::filesystem::copy_options::overwrite_existing);
    const auto stale = test::runTool({"check", t});
    EXPECT_NE(stale.exitCode, 0);
    EXPECT_NE(stale.out.find("NOMS"), std::string::npos) << stale.out;
    ASSERT_EQ(test::runTool({"reindex", t}).exitCode, 0);
    EXPECT_EQ(test::runTool({"check", t}).out, "ok\n");
    EXPECT_EQ(test::runTool({"keys", t, "NOMS"}).out, "2\tADAM\n4\tBÉA\n1\tZOÉ\n3\tZOÉ\n");

    // Pack drops the deleted record and renumbers the keys.
    {
        engine::CDBSERVEREX table(t, {}, false);
        ASSERT_TRUE(table.goTo(1));
        ASSERT_TRUE(table.deleteRecord());
    }
    EXPECT_EQ(test::runTool({"dump", t}).out.substr(0, 4), "1\t*\t");
    ASSERT_EQ(test::runTool({"pack", t}).exitCode, 0);
    EXPECT_EQ(test::runTool({"keys", t, "NOMS"}).out, "1\tADAM\n3\tBÉA\n2\tZOÉ\n");
    EXPECT_EQ(test::runTool({"keys", t, "UNIQ"}).out, "1\tAdam\n3\tBÉA\n2\tzoé\n");
}

TEST(DbfTool, ErrorsAreOneLineOnStderrWithANonZeroExit)
{
    test::TempDir dir;
    const std::string t = dir.str() + "t.dbf";
    ASSERT_EQ(test::runTool({"create", t, "NOM,C,5"}).exitCode, 0);
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate", t},
        {"dump", dir.str() + "absent.dbf"},
        {"create", t, "NOM,C,5"},
        {"create", dir.str() + "u.dbf", "NOM,C"},
        {"create", dir.str() + "u.dbf", "NOM,X,5"},
        {"keys", t, "NOPE"},
        {"index", t, "BAD", "NOM+"},
        {"load", t, dir.str() + "absent.tsv"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.empty() ? "" : args[0]);
        const auto r = test::runTool(args, true);
        EXPECT_NE(r.exitCode, 0);
        ASSERT_FALSE(r.out.empty());
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << r.out;
    }
}
