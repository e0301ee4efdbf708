#include "EngineTestSupport.h"

#include "engine/DbServer.h"
#include "engine/cdx/CdxIndex.h"

#include <filesystem>
#include <fstream>

using namespace derode;
using namespace derode::engine;
using test::addMember;
using test::Member;
using test::padded;
using test::walk;

namespace {

const std::vector<Member> kMembers = {
    {"LATRIMOUILLE", "Alfred", 12}, {"DUPONT", "Jean", 3},     {"LATRIMOUILLE", "Albert", 7},
    {"ÉTIENNE", "René", 44},        {"DUPONT", "Jeanne", 5, true}, {"BERNARD", "Zoé", 1, true},
};

std::string filled(const test::TempDir& dir)
{
    const std::string path = test::makeMemberTable(dir);
    CDBSERVEREX t(path, {}, false);
    EXPECT_TRUE(t.used()) << t.lastError();
    for (const auto& m : kMembers)
        addMember(t, m);
    EXPECT_TRUE(t.commit());
    return path;
}

}  // namespace

TEST(DbServer, FieldsReadBackByNameAndPositionAfterReopen)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    CDBSERVEREX t(path);
    ASSERT_TRUE(t.used()) << t.lastError();
    EXPECT_EQ(t.RDDNAME(), "DBFCDX");
    EXPECT_FALSE(t.alias().empty());
    EXPECT_EQ(t.fieldCount(), 9);
    EXPECT_EQ(t.fieldName(6), "NO_JETON");
    EXPECT_EQ(t.fieldPos("prenom"), 2);
    EXPECT_EQ(t.fieldPos("ABSENT"), 0);
    EXPECT_EQ(t.recCount(), 6u);
    ASSERT_TRUE(t.goTo(4));
    EXPECT_EQ(t.getText("NOM"), padded("ÉTIENNE", 20));
    EXPECT_EQ(t.getText(2), padded("René", 20));
    EXPECT_EQ(t.getNumber("no_jeton"), 44);
    ASSERT_TRUE(t.goTo(5));
    EXPECT_TRUE(t.getLogical(3));
    EXPECT_EQ(std::get<double>(t.fieldGet(9)), 0);  // blank number reads 0
    EXPECT_FALSE(t.getLogical("CAPT_OCC"));         // blank logical reads false
    EXPECT_FALSE(t.goTo(7));
    EXPECT_TRUE(t.eof());
}

TEST(DbServer, WritesThatDoNotFitFailWithoutChangingTheRecord)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    CDBSERVEREX t(path, {}, false);
    ASSERT_TRUE(t.goTo(1));
    EXPECT_FALSE(t.fieldPut("NO_JETON", 1000.0));  // N 3
    EXPECT_FALSE(t.fieldPut("NO_JETON", std::string("12")));
    EXPECT_FALSE(t.fieldPut("FEMME", 1.0));
    EXPECT_FALSE(t.fieldPut("NOPE", std::string("x")));
    EXPECT_FALSE(t.fieldPut(10, std::string("x")));
    EXPECT_EQ(t.getNumber("NO_JETON"), 12);
    // Text longer than the field is cut to its width.
    ASSERT_TRUE(t.fieldPut("TELEPHONE", std::string("514-555-1234-999")));
    EXPECT_EQ(t.getText("TELEPHONE"), "514-555-1234");
    Date d{2025, 10, 1};
    EXPECT_FALSE(t.fieldPut("NOM", d));
}

TEST(DbServer, DeletedRecordsAreHiddenFromNavigationCountsAndSeeks)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    CDBSERVEREX t(path, {}, false);
    ASSERT_TRUE(t.goTo(1));
    ASSERT_TRUE(t.deleteRecord());
    EXPECT_TRUE(t.isDeleted());
    ASSERT_TRUE(t.goTo(6));
    ASSERT_TRUE(t.deleteRecord());
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{2, 3, 4, 5}));
    EXPECT_EQ(t.recCount(), 6u);
    EXPECT_EQ(t.visibleCount(), 4u);
    ASSERT_TRUE(t.goBottom());
    EXPECT_EQ(t.recNo(), 5u);
    EXPECT_FALSE(t.skip(1));
    EXPECT_TRUE(t.eof());
    ASSERT_TRUE(t.setOrder("NOM-PRENON"));
    EXPECT_FALSE(t.seek(std::string(padded("LATRIMOUILLE", 20) + "Alf"), false));
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.seek(std::string("LATRIMOUILLE")));
    EXPECT_EQ(t.recNo(), 3u);
    ASSERT_TRUE(t.setOrder("NO_JETON"));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{2, 5, 3, 4}));
    // Hidden for every later open too, until a pack.
    t.close();
    CDBSERVEREX again(path);
    EXPECT_EQ(walk(again), (std::vector<std::uint32_t>{2, 3, 4, 5}));
}

TEST(DbServer, NavigationFollowsTheSelectedTagBothWays)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    CDBSERVEREX t(path);
    EXPECT_EQ(t.tagNames(), (std::vector<std::string>{"NOM-PRENON", "NO_JETON"}));
    EXPECT_FALSE(t.setOrder("ABSENT"));
    ASSERT_TRUE(t.setOrder("nom-prenon"));
    EXPECT_EQ(t.order(), "NOM-PRENON");
    // Byte order of the code page: É (0xC9) sorts after every capital.
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{6, 2, 5, 3, 1, 4}));
    ASSERT_TRUE(t.goBottom());
    std::vector<std::uint32_t> back;
    do
        back.push_back(t.recNo());
    while (t.skip(-1));
    EXPECT_EQ(back, (std::vector<std::uint32_t>{4, 1, 3, 5, 2, 6}));
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recNo(), 6u);
    ASSERT_TRUE(t.goTop());
    ASSERT_TRUE(t.skip(3));
    EXPECT_EQ(t.recNo(), 3u);
    ASSERT_TRUE(t.setOrder(""));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(DbServer, SeekOnNamesIsAPrefixMatchWithSoftSeek)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    CDBSERVEREX t(path);
    ASSERT_TRUE(t.setOrder("NOM-PRENON"));
    struct Case {
        std::string key;
        bool found;
        std::uint32_t recno;  // 0: end of table
    } cases[] = {
        {padded("LATRIMOUILLE", 20) + "Alf", true, 1},
        {padded("LATRIMOUILLE", 20) + "Al", true, 3},  // Albert sorts before Alfred
        {"LATRIMOUILLE", true, 3},
        {padded("DUPONT", 20) + "Jeanne", true, 5},
        {padded("DUPONT", 20) + "Jean", true, 2},
        {padded("ÉTIENNE", 20) + "René", true, 4},
        {"", true, 6},
        {"CARON", false, 2},  // soft seek: on the next greater key
        {"ZZZ", false, 4},  // É (0xC9) sorts after Z
        {"ÿ", false, 0},
        {padded("LATRIMOUILLE", 20) + "Alfreda", false, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(t.seek(c.key), c.found);
        EXPECT_EQ(t.found(), c.found);
        if (c.recno == 0)
            EXPECT_TRUE(t.eof());
        else
            EXPECT_EQ(t.recNo(), c.recno);
    }
    EXPECT_FALSE(t.seek(std::string("CARON"), false));
    EXPECT_TRUE(t.eof());
    ASSERT_TRUE(t.setOrder("NO_JETON"));
    EXPECT_TRUE(t.seek(44.0));
    EXPECT_EQ(t.recNo(), 4u);
    EXPECT_FALSE(t.seek(6.0));
    EXPECT_EQ(t.recNo(), 3u);  // 7 is the next token
    EXPECT_FALSE(t.seek(std::string("12")));  // a text key on a numeric tag
}

TEST(DbServer, EveryWriteKeepsTheTagsCurrent)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    {
        CDBSERVEREX t(path, {}, false);
        ASSERT_TRUE(t.setOrder("NO_JETON"));
        ASSERT_TRUE(t.seek(12.0));
        ASSERT_TRUE(t.fieldPut("NO_JETON", 2.0));
        ASSERT_TRUE(t.fieldPut("NOM", std::string("AARON")));
        // The record keeps its place in the order by its new key.
        ASSERT_TRUE(t.skip());
        EXPECT_EQ(t.recNo(), 2u);
        ASSERT_TRUE(t.setOrder("NOM-PRENON"));
        EXPECT_TRUE(t.seek(std::string("AARON")));
        EXPECT_EQ(t.recNo(), 1u);
        EXPECT_FALSE(t.seek(padded("LATRIMOUILLE", 20) + "Alf"));
    }
    const auto check = test::runTool({"check", path});
    EXPECT_EQ(check.exitCode, 0) << check.out;
}

TEST(DbServer, PackAndZapRemoveRecordsAndKeepTheIndexRight)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    {
        CDBSERVEREX shared(path);
        EXPECT_FALSE(shared.pack());  // needs exclusive use
        EXPECT_FALSE(shared.zap());
    }
    CDBSERVEREX t(path, {}, false);
    ASSERT_TRUE(t.goTo(2));
    ASSERT_TRUE(t.deleteRecord());
    ASSERT_TRUE(t.goTo(3));
    ASSERT_TRUE(t.deleteRecord());
    ASSERT_TRUE(t.pack()) << t.lastError();
    EXPECT_EQ(t.recCount(), 4u);
    ASSERT_TRUE(t.goTo(2));
    EXPECT_EQ(t.getText("NOM"), padded("ÉTIENNE", 20));
    ASSERT_TRUE(t.setOrder("NOM-PRENON"));
    EXPECT_TRUE(t.seek(padded("LATRIMOUILLE", 20) + "Alf"));
    EXPECT_EQ(t.recNo(), 1u);
    EXPECT_TRUE(t.seek(padded("DUPONT", 20) + "Jeanne"));
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{4, 3, 1, 2}));
    ASSERT_TRUE(t.zap());
    EXPECT_EQ(t.recCount(), 0u);
    EXPECT_TRUE(t.eof());
    EXPECT_FALSE(t.seek(std::string("")));
    addMember(t, {"NOUVEAU", "Né", 9});
    ASSERT_TRUE(t.commit());
    EXPECT_TRUE(t.seek(std::string("NOUVEAU")));
    EXPECT_EQ(t.recNo(), 1u);
    t.close();
    EXPECT_EQ(std::filesystem::file_size(path), 321u + 102 + 1);
    EXPECT_EQ(test::runTool({"check", path}).out, "ok\n");
}

TEST(DbServer, UniqueTagsKeepTheFirstRecordOfEachKey)
{
    test::TempDir dir;
    const std::string path = dir.str() + "rapport.dbf";
    ASSERT_TRUE(createFromLayout(path, rapportTableLayout()));
    CDBSERVEREX t(path, {}, false);
    ASSERT_TRUE(t.used()) << t.lastError();
    for (const char* name : {"MARTIN  Paul", "DUPONT  Jean", "MARTIN  Paul", "ZOLA  Émile", "DUPONT  Jean"}) {
        ASSERT_TRUE(t.append());
        ASSERT_TRUE(t.fieldPut("NOM", std::string(name)));
        ASSERT_TRUE(t.fieldPut("DATE", Date{2025, 10, 1}));
    }
    ASSERT_TRUE(t.setOrder("NOMUNIQ"));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{2, 1, 4}));
    ASSERT_TRUE(t.setOrder("NOM"));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{2, 5, 1, 3, 4}));
    // The holder of a key changes its name: the next record with that key takes its place.
    ASSERT_TRUE(t.goTo(1));
    ASSERT_TRUE(t.fieldPut("NOM", std::string("ABEL  Luc")));
    ASSERT_TRUE(t.setOrder("NOMUNIQ"));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{1, 2, 3, 4}));
    // An earlier record taking a key displaces the later holder.
    ASSERT_TRUE(t.goTo(1));
    ASSERT_TRUE(t.fieldPut("NOM", std::string("ZOLA  Émile")));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{2, 3, 1}));
    ASSERT_TRUE(t.seek(std::string("ZOLA")));
    EXPECT_EQ(t.recNo(), 1u);
    t.close();
    EXPECT_EQ(test::runTool({"check", path}).out, "ok\n");
}

TEST(DbServer, ForExpressionsFilterKeys)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    CDBSERVEREX t(path, {}, false);
    ASSERT_TRUE(t.createTag("FEMMES", "UPPER(NOM)+PRENOM", false, "FEMME")) << t.lastError();
    ASSERT_TRUE(t.setOrder("FEMMES"));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{6, 5}));
    ASSERT_TRUE(t.goTo(1));
    ASSERT_TRUE(t.fieldPut("FEMME", true));
    ASSERT_TRUE(t.goTo(6));
    ASSERT_TRUE(t.fieldPut("FEMME", false));
    EXPECT_EQ(walk(t), (std::vector<std::uint32_t>{5, 1}));
    EXPECT_FALSE(t.createTag("FEMMES", "NOM"));                // exists
    EXPECT_FALSE(t.createTag("MAUVAIS", "NOM+"));              // syntax
    EXPECT_FALSE(t.createTag("MAUVAIS", "NOM", false, "NOM"));  // FOR not logical
    EXPECT_FALSE(t.createTag("MAUVAIS", "INCONNU"));           // unknown field
    t.close();
    CDBSERVEREX again(path);
    ASSERT_TRUE(again.setOrder("FEMMES"));
    EXPECT_EQ(walk(again), (std::vector<std::uint32_t>{5, 1}));
}

TEST(DbServer, AppendFromMatchesFieldsByNameAndSkipsDeletedRecords)
{
    test::TempDir dir;
    // An older layout: eight fields, no NO_CONJOIN, other order, one deleted record.
    const std::string old = dir.str() + "old.dbf";
    ASSERT_TRUE(createTable(old, {{"PRENOM", 'C', 15, 0}, {"NOM", 'C', 20, 0}, {"NO_JETON", 'N', 3, 0},
                                  {"FEMME", 'L', 1, 0}, {"EXTRA", 'C', 5, 0}}));
    {
        CDBSERVEREX s(old, {}, false);
        for (int i = 1; i <= 3; ++i) {
            ASSERT_TRUE(s.append());
            ASSERT_TRUE(s.fieldPut("NOM", "NOM" + std::to_string(i)));
            ASSERT_TRUE(s.fieldPut("PRENOM", std::string("Prénom")));
            ASSERT_TRUE(s.fieldPut("NO_JETON", static_cast<double>(i)));
            ASSERT_TRUE(s.fieldPut("FEMME", i == 3));
        }
        ASSERT_TRUE(s.goTo(2));
        ASSERT_TRUE(s.deleteRecord());
    }
    const std::string path = test::makeMemberTable(dir, "BACKTEMP.dbf");
    CDBSERVEREX t(path, {}, false);
    std::string error;
    ASSERT_TRUE(appendFrom(t, old, &error)) << error;
    ASSERT_EQ(t.recCount(), 2u);
    ASSERT_TRUE(t.goTo(2));
    EXPECT_EQ(t.getText("NOM"), padded("NOM3", 20));
    EXPECT_EQ(t.getText("PRENOM"), padded("Prénom", 20));
    EXPECT_TRUE(t.getLogical("FEMME"));
    EXPECT_EQ(t.getNumber("NO_CONJOIN"), 0);
    EXPECT_EQ(t.getText("MAIL"), padded("", 40));
    ASSERT_TRUE(t.setOrder("NO_JETON"));
    EXPECT_TRUE(t.seek(3.0));
    EXPECT_FALSE(appendFrom(t, dir.str() + "absent.dbf", &error));
    EXPECT_FALSE(error.empty());
}

TEST(DbServer, CreateTableRefusesBadLayoutsAndExistingFiles)
{
    test::TempDir dir;
    const std::string path = dir.str() + "t.dbf";
    const std::vector<std::vector<FieldDef>> bad = {
        {},
        {{"NOM", 'X', 5, 0}},
        {{"NOM", 'C', 0, 0}},
        {{"NOM", 'C', 255, 0}},
        {{"D", 'D', 6, 0}},
        {{"L", 'L', 2, 0}},
        {{"N", 'N', 3, 3}},
        {{"TROPLONGNOM", 'C', 1, 0}},
        {{"1NOM", 'C', 1, 0}},
        {{"NOM", 'C', 1, 0}, {"nom", 'C', 1, 0}},
    };
    for (const auto& fields : bad) {
        std::string error;
        EXPECT_FALSE(createTable(path, fields, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    ASSERT_TRUE(createTable(path, {{"nom", 'c', 10, 0}, {"MONTANT", 'N', 8, 2}, {"QUAND", 'D', 8, 0}}));
    EXPECT_FALSE(createTable(path, {{"AUTRE", 'C', 1, 0}}));
    CDBSERVEREX t(path, {}, false);
    EXPECT_EQ(t.fieldName(1), "NOM");
    ASSERT_TRUE(t.append());
    ASSERT_TRUE(t.fieldPut(2, 1234.5));
    ASSERT_TRUE(t.fieldPut(3, Date{2024, 2, 29}));
    ASSERT_TRUE(t.commit());
    ASSERT_TRUE(t.goTop());
    EXPECT_DOUBLE_EQ(t.getNumber(2), 1234.5);
    EXPECT_EQ(t.getDate(3), (Date{2024, 2, 29}));
    t.close();
    EXPECT_EQ(test::runTool({"dump", path}).out, "1\t \t\t1234.50\t20240229\n");
}

TEST(DbServer, CloseAllClosesEveryOpenTable)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    CDBSERVEREX a(path);
    CDBSERVEREX b(path);
    ASSERT_TRUE(a.used() && b.used());
    EXPECT_NE(a.alias(), b.alias());
    closeAll();
    EXPECT_FALSE(a.used());
    EXPECT_FALSE(b.used());
    CDBSERVEREX c(path, "MEMBRES", false);
    EXPECT_TRUE(c.used()) << c.lastError();
    EXPECT_EQ(c.alias(), "MEMBRES");
}

TEST(DbServer, AccentedNamesGoThroughTheTablesCodePage)
{
    test::TempDir dir;
    // A table written in code page 850 (language driver 0x02) by another program.
    const std::string path = dir.str() + "cp850.dbf";
    ASSERT_TRUE(createTable(path, {{"NOM", 'C', 10, 0}}));
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(29);
        f.put('\x02');
    }
    {
        CDBSERVEREX t(path, {}, false);
        ASSERT_TRUE(t.append());
        ASSERT_TRUE(t.fieldPut("NOM", std::string("Hélène Ç€")));
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // cp850: é 0x82, è 0x8A, Ç 0x80; no euro sign.
    EXPECT_EQ(bytes.substr(32 + 32 + 1 + 1, 10), "H\x82l\x8Ane \x80? ");
    CDBSERVEREX t(path);
    ASSERT_TRUE(t.goTop());
    EXPECT_EQ(t.getText("NOM"), "Hélène Ç? ");
    // A new table is Windows-1252.
    const std::string other = dir.str() + "new.dbf";
    ASSERT_TRUE(createTable(other, {{"NOM", 'C', 10, 0}}));
    EXPECT_EQ(test::runTool({"info", other}).out.substr(0, 44), "version\t0x03\ncodepage\t0x03\tcp1252\nrecords\t0\n");
}

TEST(DbServer, ATagWeCannotEvaluateKeepsTheTableReadOnlyAndSaysSo)
{
    test::TempDir dir;
    const std::string path = filled(dir);
    {
        std::string error;
        auto index = CdxIndex::open(dir.str() + "membres-2.cdx", false, error);
        ASSERT_TRUE(index) << error;
        CdxTagInfo tag;
        tag.name = "PHONIE";
        tag.keyExpression = "SOUNDEX(NOM)";
        tag.keyLength = 4;
        ASSERT_TRUE(index->addTag(tag, {{"D153", 2}}, error)) << error;
        ASSERT_TRUE(index->flush(error)) << error;
    }
    CDBSERVEREX t(path, {}, true, false);
    ASSERT_TRUE(t.used()) << t.lastError();
    EXPECT_TRUE(t.isReadOnly());
    EXPECT_NE(t.lastError().find("PHONIE"), std::string::npos) << t.lastError();
    ASSERT_TRUE(t.goTop());
    EXPECT_FALSE(t.fieldPut("NOM", std::string("X")));
    ASSERT_TRUE(t.setOrder("NO_JETON"));
    EXPECT_TRUE(t.seek(44.0));
    EXPECT_EQ(t.recNo(), 4u);
}
