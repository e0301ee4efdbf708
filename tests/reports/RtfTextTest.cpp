#include "reports/ReportLayout.h"
#include "reports/RtfText.h"

#include <gtest/gtest.h>

using namespace derode::reports;

TEST(RtfText, FooterOfTheStandingsBecomesRichText)
{
    const std::string footer =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial Unicode MS;}}\r\n"
        "\\viewkind4\\uc1\\pard\\b\\f0\\fs18 R\\'e9sum\\'e9 des pr\\'e9sences\\par\r\n\\par\r\n"
        "2025-05-06  = 24\\par\r\nMoyenne par jour = 25 <&> \\{x\\}\\b0\\par\r\n}";
    ASSERT_TRUE(isRtf(footer));
    EXPECT_FALSE(isRtf("Résumé"));
    const std::string html = rtfToHtml(footer);
    EXPECT_EQ(html,
              "<b><span style=\"font-size:9pt\">Résumé des présences<br><br>2025-05-06  = 24<br>"
              "Moyenne par jour = 25 &lt;&amp;&gt; {x}<br></span></b>");
}

TEST(RtfText, RtfVariablesInRichTextKeepTheirLayoutElsewhereTheyStayText)
{
    auto model = parseTemplate("band detail height 5\n  richtext 0 0 10 5 \"{Pied}\"\n  text 0 0 10 5 \"{Pied}\"\nend\n",
                               "Essai.RPT");
    ASSERT_TRUE(model);
    FixedWidthMeasurer measurer;
    const Variables variables{{"Pied", "{\\rtf1 \\b Gras\\b0  et <fin>}"}};
    auto report = layOut(*model, {Row{}}, variables, measurer);
    const auto* rich = std::get_if<RichTextOp>(&report.pages[0].ops[0]);
    ASSERT_TRUE(rich);
    EXPECT_EQ(rich->html, "<b>Gras</b> et &lt;fin&gt;");
    const auto* plain = std::get_if<TextOp>(&report.pages[0].ops[1]);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->text, "{\\rtf1 \\b Gras\\b0  et <fin>}");
}
