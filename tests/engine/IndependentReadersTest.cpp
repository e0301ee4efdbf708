// Our tables read by independent readers packaged by Debian: python3-dbf reads the fields, the
// Perl module XBase walks the .cdx tags. Skipped when they are not installed.

#include "EngineTestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace derode;
using namespace derode::engine;

namespace {

std::string run(const std::string& command)
{
    std::string out;
    if (std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buf[4096];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            out.append(buf, n);
        ::pclose(pipe);
    }
    return out;
}

bool available(const std::string& check) { return std::system((check + " >/dev/null 2>&1").c_str()) == 0; }

std::string sampleTable(const test::TempDir& dir)
{
    const std::string path = test::makeMemberTable(dir);
    CDBSERVEREX t(path, {}, false);
    const test::Member members[] = {{"ÉTIENNE", "René", 44, false}, {"DUPONT", "Jeanne", 5, true},
                                    {"ÇOLAK", "Zoé", 17, true},    {"BERNARD", "Luc", 9, false},
                                    {"DUPONT", "Jean", 3, false}};
    for (const auto& m : members)
        test::addMember(t, m);
    EXPECT_TRUE(t.goTo(2));
    EXPECT_TRUE(t.fieldPut("MAIL", std::string("jeanne@example.fr")));
    EXPECT_TRUE(t.fieldPut("NO_CONJOIN", 3.0));
    return path;
}

}  // namespace

TEST(IndependentReaders, Python3DbfReadsEveryField)
{
    if (!available("/usr/bin/python3 -c 'import dbf'"))
        GTEST_SKIP() << "python3-dbf absent";
    test::TempDir dir;
    const std::string path = sampleTable(dir);
    const std::string script = dir.str() + "read.py";
    std::ofstream(script) << "import dbf, sys\n"
                             "t = dbf.Table(sys.argv[1]); t.open()\n"
                             "print('\\t'.join(t.field_names))\n"
                             "for r in t:\n"
                             "    print('\\t'.join(x.rstrip() if isinstance(x, str) else str(x) for x in r))\n";
    const auto lines = test::splitLines(run("/usr/bin/python3 " + script + " " + path));
    const std::vector<std::string> expected = {
        "nom\tprenom\tfemme\tcapitaine\ttelephone\tno_jeton\tcapt_occ\tmail\tno_conjoin",
        // Fields never written are blank, which the reader shows as None.
        "ÉTIENNE\tRené\tFalse\tNone\t\t44\tNone\t\tNone",
        "DUPONT\tJeanne\tTrue\tNone\t\t5\tNone\tjeanne@example.fr\t3",
        "ÇOLAK\tZoé\tTrue\tNone\t\t17\tNone\t\tNone",
        "BERNARD\tLuc\tFalse\tNone\t\t9\tNone\t\tNone",
        "DUPONT\tJean\tFalse\tNone\t\t3\tNone\t\tNone",
    };
    EXPECT_EQ(lines, expected);
}

TEST(IndependentReaders, PerlXBaseWalksOurTagsInOrder)
{
    if (!available("perl -MXBase::Index -e 1"))
        GTEST_SKIP() << "libdbd-xbase-perl absent";
    test::TempDir dir;
    const std::string path = sampleTable(dir);
    const std::string cdx = dir.str() + "membres-2.cdx";
    const std::string templates = "perl -MXBase::Index -e 'my $i = XBase::Index->new(\"" + cdx
        + "\", \"tag\" => $ARGV[0], \"type\" => $ARGV[1]) or die; $i->prepare_select; "
          "while (my ($k, $v) = $i->fetch) { print \"$v\\n\" }' ";
    EXPECT_EQ(run(templates + "NOM-PRENON C"), "4\n5\n2\n3\n1\n");  // Ç (0xC7) and É (0xC9) after Z
    EXPECT_EQ(run(templates + "NO_JETON N"), "5\n2\n4\n3\n1\n");
}
