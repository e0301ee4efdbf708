#include "reports/ReportLayout.h"

#include <gtest/gtest.h>

using namespace derode::reports;

namespace {

ReportTemplate parse(const std::string& text)
{
    ParseError error;
    auto model = parseTemplate(text, "Essai.RPT", &error);
    EXPECT_TRUE(model) << error.describe();
    return model ? *model : ReportTemplate{};
}

std::vector<std::string> texts(const Page& page)
{
    std::vector<std::string> out;
    for (const DrawOp& op : page.ops)
        if (const auto* t = std::get_if<TextOp>(&op))
            out.push_back(t->text);
    return out;
}

const TextOp* findText(const Page& page, const std::string& text)
{
    for (const DrawOp& op : page.ops)
        if (const auto* t = std::get_if<TextOp>(&op); t && t->text == text)
            return t;
    return nullptr;
}

std::vector<Row> rowsOf(int count)
{
    std::vector<Row> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({Cell{"N" + std::to_string(i) + "   ", true}});
    return rows;
}

// Page 297 mm, margins 10: body from 10 to 287; header 20, footer 7 -> 250 mm for details.
const char* kList = R"(margins 10 10 10 10
band reportheader height 30
  text 0 0 190 10 "{Titre}"
end
band pageheader height 20
  text 0 0 190 10 "Entête {PAGE}"
end
band detail height 25
  text 0 0 190 10 "{=X}"
end
band reportfooter height 40
  text 0 0 190 10 "Fin {RECORDS}"
end
band pagefooter height 7
  text 0 0 190 7 align right "Page {PAGE} / {PAGES}"
end
)";

}  // namespace

TEST(ReportLayout, BreaksPagesByBandHeightsAndNumbersThem)
{
    const ReportTemplate model = parse(kList);
    FixedWidthMeasurer measurer;
    Variables variables{{"titre", "Liste & co"}};
    // Page 1: report header 30 + page header 20 leave 220 -> 8 details (200), page 2: 250 -> 10.
    auto report = layOut(model, rowsOf(19), variables, measurer);
    ASSERT_EQ(report.pages.size(), 3u);
    auto p1 = texts(report.pages[0]);
    EXPECT_EQ(p1.front(), "Liste & co");
    EXPECT_EQ(p1[1], "Entête 1");
    EXPECT_EQ(std::count_if(p1.begin(), p1.end(), [](auto& s) { return s[0] == 'N'; }), 8);
    EXPECT_EQ(p1.back(), "Page 1 / 3");
    auto p2 = texts(report.pages[1]);
    EXPECT_EQ(p2.front(), "Entête 2");  // no report header again
    EXPECT_EQ(p2[1], "N9");             // values are trimmed on the right
    EXPECT_EQ(std::count_if(p2.begin(), p2.end(), [](auto& s) { return s[0] == 'N'; }), 10);
    auto p3 = texts(report.pages[2]);
    // The last detail (N19) fits on page 3 and the report footer follows it.
    EXPECT_EQ(p3, (std::vector<std::string>{"Entête 3", "N19", "Fin 19", "Page 3 / 3"}));
    // Positions: the page footer sits at the bottom margin minus its height.
    EXPECT_DOUBLE_EQ(findText(report.pages[2], "Page 3 / 3")->rect.y, 297 - 10 - 7);
    EXPECT_DOUBLE_EQ(findText(report.pages[2], "N19")->rect.y, 10 + 20);
    EXPECT_DOUBLE_EQ(findText(report.pages[2], "Fin 19")->rect.y, 10 + 20 + 25);
}

TEST(ReportLayout, ReportFooterThatDoesNotFitGoesToANewPage)
{
    const ReportTemplate model = parse(kList);
    FixedWidthMeasurer measurer;
    // 8 details fill page 1 to 250 of 280: the 40 mm footer moves to page 2.
    auto report = layOut(model, rowsOf(8), {}, measurer);
    ASSERT_EQ(report.pages.size(), 2u);
    EXPECT_EQ(texts(report.pages[1]), (std::vector<std::string>{"Entête 2", "Fin 8", "Page 2 / 2"}));
}

TEST(ReportLayout, EmptyDataGivesOnePageAndLandscapeTurnsThePaper)
{
    ReportTemplate model = parse(kList);
    model.orientation = Orientation::Landscape;
    FixedWidthMeasurer measurer;
    auto report = layOut(model, {}, {}, measurer);
    ASSERT_EQ(report.pages.size(), 1u);
    EXPECT_DOUBLE_EQ(report.pageWidth, 297);
    EXPECT_EQ(texts(report.pages[0]).back(), "Page 1 / 1");
    EXPECT_DOUBLE_EQ(findText(report.pages[0], "Page 1 / 1")->rect.y, 210 - 10 - 7);
}

TEST(ReportLayout, ConditionsWrapFitAndGrowingBands)
{
    const ReportTemplate model = parse(R"(margins 0 0 0 0
band detail height 10
  text 0 0 40 5 wrap "{=X}"
  text 50 0 40 5 fit "{=X}"
  text 80 0 20 5 if "Y" "quatre"
  box 0 0 100 10 width 0.4
end
)");
    FixedWidthMeasurer measurer;  // 2 mm per character at 10 points, lines 5 mm
    std::vector<Row> rows{
        // one cell per expression: X (wrap), X (fit), Y (condition); 29 characters wrap on 40 mm
        {Cell{"un deux trois quatre cinq six", true}, Cell{"un deux trois quatre cinq six", true}, Cell{"", false}},
        {Cell{"court", true}, Cell{"court", true}, Cell{"x", true}},
    };
    auto report = layOut(model, rows, {}, measurer);
    ASSERT_EQ(report.pages.size(), 1u);
    const Page& page = report.pages[0];
    // 20 characters per line: "un deux trois quatre" / "cinq six", so the band grows to 10 mm
    // and the second record starts at 10; a band of 3 lines would push it further.
    const TextOp* second = findText(page, "cinq six");
    ASSERT_TRUE(second);
    EXPECT_DOUBLE_EQ(second->rect.y, 5);
    EXPECT_DOUBLE_EQ(findText(page, "court")->rect.y, 10);
    // fit shrinks 29 characters into 40 mm (58 mm at 10 points).
    double fitted = 0;
    for (const DrawOp& op : page.ops)
        if (const auto* t = std::get_if<TextOp>(&op); t && t->rect.x == 50 && t->text.size() > 10)
            fitted = t->font.size;
    EXPECT_GT(fitted, 0);
    EXPECT_LE(measurer.width("un deux trois quatre cinq six", FontSpec{"", fitted}), 40 + 1e-9);
    EXPECT_GT(fitted, 6);
    // "quatre" only on the record whose condition is true.
    auto all = texts(page);
    EXPECT_EQ(std::count(all.begin(), all.end(), "quatre"), 1);
    EXPECT_DOUBLE_EQ(findText(page, "quatre")->rect.y, 10);
}

TEST(ReportLayout, RichTextEscapesSubstitutedValues)
{
    const ReportTemplate model = parse("band detail height 5\n  richtext 0 0 10 5 \"<b>{=X}</b> {V}\"\nend\n");
    FixedWidthMeasurer measurer;
    auto report = layOut(model, {{Cell{"A<B & C", true}}}, {{"v", "\"q\""}}, measurer);
    const auto* rich = std::get_if<RichTextOp>(&report.pages[0].ops[0]);
    ASSERT_TRUE(rich);
    EXPECT_EQ(rich->html, "<b>A&lt;B &amp; C</b> &quot;q&quot;");
}
