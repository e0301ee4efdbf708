// The report object: loading with its messages, binding a real table (order, filter, sort,
// variables), settings and the printed answer.
#include "reports/Report.h"

#include "core/AtomicFile.h"
#include "reports/RecordingOutput.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace derode;

namespace {

struct Member {
    int recno;
    bool deleted;
    std::string nom, prenom;
    bool femme;
    int jeton;
};

std::vector<Member> fixtureMembers()
{
    std::vector<Member> members;
    for (const auto& c : test::readTsv(test::fixture("xbase/members-25/expected-records.tsv")))
        members.push_back({std::stoi(c[0]), c[1] == "*", c[2], c[3], c[4] == "1", std::stoi(c[7])});
    return members;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(locations.get().leagueFolder("Essai"));
        folder = locations.get().leagueFolder("Essai");
        test::copyFixture("xbase/members-25/membres-2.dbf", folder);
        test::copyFixture("xbase/members-25/membres-2.cdx", folder);
    }

    void writeTemplate(const std::string& text, const std::string& name = "Essai.RPT")
    {
        std::ofstream(locations.get().commonData() + name) << text;
    }

    // The first text of every detail line, as "jeton|name".
    std::vector<std::string> lines() const { return output.texts(); }

    test::TestLocations locations;
    test::ScriptedAnswerer answers;
    test::RecordingOutput output;
    std::string folder;
};

const char* kList = R"(table "membres-2.dbf" alias "membres"
order "NO_JETON"
band detail height 5
  text 0 0 180 5 "{=NO_JETON}|{=TRIM(NOM) + ' ' + PRENOM}|{=Ligue}"
end
)";

std::string lineOf(const Member& m) { return std::to_string(m.jeton) + "|" + m.nom + " " + m.prenom + "|Essai"; }

}  // namespace

TEST_F(ReportTest, BindsOrderFilterAndVariables)
{
    writeTemplate(kList);
    auto members = fixtureMembers();
    std::erase_if(members, [](const Member& m) { return m.deleted; });

    struct Case {
        const char* name;
        int property;  // 0: none
        const char* value;
        std::function<bool(const Member&, const Member&)> order;
        std::function<bool(const Member&)> keep;
    };
    auto byJeton = [](const Member& a, const Member& b) { return a.jeton < b.jeton; };
    auto byName = [](const Member& a, const Member& b) {
        // the tag's key is NOM then PRENOM, each padded to 20: byte order
        std::string ka = a.nom + std::string(20 - a.nom.size(), ' ') + a.prenom;
        std::string kb = b.nom + std::string(20 - b.nom.size(), ' ') + b.prenom;
        return ka < kb;
    };
    const std::vector<Case> cases = {
        {"template order", 0, "", byJeton, [](const Member&) { return true; }},
        {"order property", reports::property::Order, "NOM-PRENON", byName, [](const Member&) { return true; }},
        {"filter property", reports::property::Filter, "FEMME = .t.", byJeton, [](const Member& m) { return m.femme; }},
        {"filter on a variable", reports::property::Filter, "Ligue = 'Ess' .AND. NO_JETON < 300", byJeton,
         [](const Member& m) { return m.jeton < 300; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reports::Report report;
        report.setDataFolder(folder);
        ASSERT_TRUE(report.loadTemplate(locations.get().programFolder, "CommonData\\Essai.RPT"));
        report.setVariable("Ligue", "Essai");
        if (c.property)
            report.setTableProperty("MEMBRES", c.property, c.value);
        ASSERT_TRUE(report.print()) << report.lastError();
        std::vector<Member> expected;
        std::copy_if(members.begin(), members.end(), std::back_inserter(expected), c.keep);
        std::stable_sort(expected.begin(), expected.end(), c.order);
        std::vector<std::string> want;
        for (const Member& m : expected)
            want.push_back(lineOf(m));
        EXPECT_EQ(lines(), want);
    }
    EXPECT_TRUE(answers.shown().empty());
}

TEST_F(ReportTest, SortsInMemoryOnSeveralKeys)
{
    writeTemplate(R"(table "membres-2.dbf" alias "membres"
sort "FEMME" descending
sort "NO_JETON"
band detail height 5
  text 0 0 180 5 "{=NO_JETON}"
end
)");
    auto members = fixtureMembers();
    std::erase_if(members, [](const Member& m) { return m.deleted; });
    std::stable_sort(members.begin(), members.end(), [](const Member& a, const Member& b) {
        return a.femme != b.femme ? a.femme : a.jeton < b.jeton;
    });
    std::vector<std::string> want;
    for (const Member& m : members)
        want.push_back(std::to_string(m.jeton));
    reports::Report report;
    report.setDataFolder(folder);
    ASSERT_TRUE(report.loadTemplate(locations.get().programFolder, "CommonData/Essai.RPT"));
    ASSERT_TRUE(report.print()) << report.lastError();
    EXPECT_EQ(lines(), want);
}

TEST_F(ReportTest, LoadingFailuresPrintNothing)
{
    reports::Report missing;
    EXPECT_FALSE(missing.loadTemplate(locations.get().programFolder, "CommonData\\Absent.RPT"));
    EXPECT_FALSE(missing.loaded());
    EXPECT_TRUE(answers.shown().empty());  // a missing template is silent
    EXPECT_FALSE(missing.print());

    writeTemplate("table \"membres-2.dbf\"\nband detail heigth 5\nend\n", "Faux.RPT");
    reports::Report bad;
    EXPECT_FALSE(bad.loadTemplate(locations.get().programFolder, "CommonData/faux.rpt"));
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].kind, core::MessageKind::Error);
    EXPECT_NE(answers.shown()[0].text.find("Faux.RPT, ligne 2 : "), std::string::npos) << answers.shown()[0].text;
    EXPECT_EQ(output.calls, 0);
}

TEST_F(ReportTest, DataErrorsAreShownAndNothingPrinted)
{
    struct Case {
        const char* templateText;
        int property;
        const char* value;
        const char* fragment;
    };
    const Case cases[] = {
        {kList, reports::property::Filter, "FEMME = ", "filtre incorrect"},
        {kList, reports::property::Filter, "NO_JETON", "doit être une condition"},
        {kList, reports::property::Order, "PAS_DE_TAG", "PAS_DE_TAG"},
        {"table \"absent.dbf\"\nband detail height 5\nend\n", 0, "", "absent.dbf"},
        {"table \"membres-2.dbf\"\nband detail height 5\n  text 0 0 9 9 \"{=NOM +}\"\nend\n", 0, "", "ligne 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fragment);
        answers.clear();
        writeTemplate(c.templateText);
        reports::Report report;
        report.setDataFolder(folder);
        ASSERT_TRUE(report.loadTemplate(locations.get().programFolder, "CommonData/Essai.RPT"));
        if (c.property)
            report.setTableProperty("membres", c.property, c.value);
        EXPECT_FALSE(report.print());
        EXPECT_FALSE(report.printed());
        ASSERT_EQ(answers.shown().size(), 1u);
        EXPECT_NE(answers.shown()[0].text.find(c.fragment), std::string::npos) << answers.shown()[0].text;
    }
    // A property for a table the template does not have.
    answers.clear();
    writeTemplate(kList);
    reports::Report report;
    report.setDataFolder(folder);
    ASSERT_TRUE(report.loadTemplate(locations.get().programFolder, "CommonData/Essai.RPT"));
    report.setTableProperty("Rapportfinal", reports::property::Filter, "Femme = .f.");
    EXPECT_FALSE(report.print());
    EXPECT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(output.calls, 0);
}

TEST_F(ReportTest, CopiesSettingsAndThePrintedAnswer)
{
    writeTemplate(kList);
    const std::pair<const char*, int> copies[] = {{"3", 3}, {"0", 1}, {"deux", 1}, {"", 1}};
    for (const auto& [text, expected] : copies) {
        reports::Report report;
        report.setDataFolder(folder);
        ASSERT_TRUE(report.loadTemplate(locations.get().programFolder, "CommonData/Essai.RPT"));
        report.setVariable("Ligue", "Essai");
        report.setSetting(reports::setting::Copies, text);
        report.setSetting(reports::setting::PrintMode, "3");
        report.setSetting(reports::setting::Flag10005, "Y");
        EXPECT_TRUE(report.print());
        EXPECT_EQ(output.lastCopies, expected) << text;
        EXPECT_EQ(report.setting(11037), "3");
        EXPECT_EQ(report.setting(10005), "Y");
    }
    output.answer = false;
    reports::Report report;
    report.setDataFolder(folder);
    ASSERT_TRUE(report.loadTemplate(locations.get().programFolder, "CommonData/Essai.RPT"));
    report.setVariable("Ligue", "Essai");
    EXPECT_FALSE(report.print());
    EXPECT_EQ(output.calls, 5);
    EXPECT_FALSE(report.printed());
}

TEST_F(ReportTest, TheDocumentedExamplePrints)
{
    std::string doc;
    ASSERT_TRUE(core::readFile(std::string(DERODE_FIXTURES) + "/../../docs/report-templates.md", doc));
    const auto begin = doc.find("```\n", doc.find("## A complete example")) + 4;
    writeTemplate(doc.substr(begin, doc.find("```", begin) - begin));
    reports::Report report;
    report.setDataFolder(folder);
    ASSERT_TRUE(report.loadTemplate(locations.get().programFolder, "CommonData/Essai.RPT"));
    report.setVariable("_entete", "Club");
    report.setVariable("Ligue", "Essai");
    ASSERT_TRUE(report.print()) << report.lastError();
    // Women only, by token number from the highest.
    auto members = fixtureMembers();
    std::erase_if(members, [](const Member& m) { return m.deleted || !m.femme; });
    std::sort(members.begin(), members.end(), [](const Member& a, const Member& b) { return a.jeton > b.jeton; });
    ASSERT_FALSE(members.empty());
    EXPECT_TRUE(output.drew(members.front().nom + ", " + members.front().prenom));
    EXPECT_TRUE(output.drew(std::to_string(members.size()) + " membres"));
    const auto texts = output.texts();
    const auto first = std::find(texts.begin(), texts.end(), members.front().nom + ", " + members.front().prenom);
    const auto last = std::find(texts.begin(), texts.end(), members.back().nom + ", " + members.back().prenom);
    EXPECT_LT(first, last);
}
