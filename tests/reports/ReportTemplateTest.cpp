#include "reports/ReportTemplate.h"

#include "core/AtomicFile.h"

#include <gtest/gtest.h>

using namespace derode::reports;

namespace {

const char* kGood = R"(# a list
report "Liste"
page landscape
margins 10 12 10 8
font "Liberation Serif" 11
table "membres-2.dbf" alias "membres"
order "NOM-PRENON"
filter "Femme = .f."
sort "NO_JETON" descending
band pageheader height 20
  text 0 0 100 8 size 16 bold align center "{_entete} - {Ligue}"
  line 0 19 190 19 width 0.5
end
band detail height 7
  text 0 0 60 7 fit if "CAPITAINE" "{=TRIM(NOM)}  {{{=NO_JETON}}}"
  box 0 0 190 7 fill 0.9
  richtext 60 0 50 7 "<b>x</b> " "y"
end
band pagefooter height 6
  text 0 0 190 6 align right "Page {PAGE} / {PAGES}"
end
)";

}  // namespace

TEST(ReportTemplate, ParsesEveryPart)
{
    ParseError error;
    auto model = parseTemplate(kGood, "Liste.RPT", &error);
    ASSERT_TRUE(model) << error.describe();
    EXPECT_EQ(model->title, "Liste");
    EXPECT_EQ(model->orientation, Orientation::Landscape);
    EXPECT_DOUBLE_EQ(model->marginTop, 12);
    EXPECT_DOUBLE_EQ(model->marginBottom, 8);
    EXPECT_EQ(model->table, "membres-2.dbf");
    EXPECT_EQ(model->alias, "membres");
    EXPECT_EQ(model->order, "NOM-PRENON");
    EXPECT_EQ(model->filter, "Femme = .f.");
    ASSERT_EQ(model->sort.size(), 1u);
    EXPECT_TRUE(model->sort[0].descending);
    EXPECT_EQ(model->expressions[model->sort[0].expression].text, "NO_JETON");
    ASSERT_EQ(model->bands.size(), 3u);

    const Band* detail = model->band(BandKind::Detail);
    ASSERT_TRUE(detail);
    ASSERT_EQ(detail->elements.size(), 3u);
    const Element& name = detail->elements[0];
    EXPECT_TRUE(name.fit);
    EXPECT_EQ(name.font.family, "Liberation Serif");
    EXPECT_EQ(model->expressions[name.condition].text, "CAPITAINE");
    // "{=TRIM(NOM)}  {{{=NO_JETON}}}": expression, literal "  {", expression, literal "}"
    ASSERT_EQ(name.content.size(), 4u);
    EXPECT_EQ(name.content[0].kind, Segment::Kind::Expression);
    EXPECT_EQ(model->expressions[name.content[0].expression].text, "TRIM(NOM)");
    EXPECT_EQ(model->expressions[name.content[0].expression].line, 15);
    EXPECT_EQ(name.content[1].text, "  {");
    EXPECT_EQ(name.content[3].text, "}");
    EXPECT_DOUBLE_EQ(detail->elements[1].fillGray, 0.9);
    EXPECT_EQ(detail->elements[2].content[0].text, "<b>x</b> y");

    const Band* header = model->band(BandKind::PageHeader);
    EXPECT_TRUE(header->elements[0].font.bold);
    EXPECT_DOUBLE_EQ(header->elements[0].font.size, 16);
    EXPECT_EQ(header->elements[0].align, HAlign::Center);
    EXPECT_EQ(header->elements[0].content[0].kind, Segment::Kind::Variable);
    EXPECT_EQ(header->elements[0].content[0].text, "_entete");
    EXPECT_DOUBLE_EQ(header->elements[1].penWidth, 0.5);
}

TEST(ReportTemplate, ErrorsNameFileAndLine)
{
    struct Case {
        const char* text;
        int line;
        const char* fragment;
    };
    const Case cases[] = {
        {"page portrait\nmargins 1 2 3\n", 2, "nombre de valeurs"},
        {"band detail height 5\n  text 0 0 10 5 \"{=NOM\"\nend\n", 2, "accolade"},
        {"band detail height 5\n  text 0 0 10 5 \"a } b\"\nend\n", 2, "accolade fermante"},
        {"band detail height 5\n  circle 0 0 10 5\nend\n", 2, "élément inconnu"},
        {"\n\nband detail height 5\n  text 0 0 10 5 bold \"x\"\n", 3, "sans \"end\""},
        {"band detail height 5\n  text 0 0 10 5 \"x\"\nend\n\nend\n", 5, "sans bande"},
        {"band detail height 5\nend\nband detail height 6\nend\n", 3, "déjà définie"},
        {"band middle height 5\nend\n", 1, "type de bande"},
        {"table \"a.dbf\" alias\n", 1, "forme attendue"},
        {"report \"unterminated\n", 1, "guillemet"},
        {"band detail height 5\n  text 0 0 10 5 align middle \"x\"\nend\n", 2, "alignement"},
        {"band detail height 5\n  text 0 0 ten 5 \"x\"\nend\n", 2, "nombre attendu"},
        {"band detail height 5\n  text 0 0 10 5\nend\n", 2, "texte entre guillemets manquant"},
        {"band detail height 5\n  line 0 0 10 0 \"x\"\nend\n", 2, "n'a pas de texte"},
        {"filter \"Femme = .t.\"\n", 1, "demandent une table"},
        {"colour red\n", 1, "mot-clé inconnu"},
    };
    for (const Case& c : cases) {
        ParseError error;
        EXPECT_FALSE(parseTemplate(c.text, "Essai.RPT", &error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.fragment), std::string::npos) << c.text << " -> " << error.message;
        EXPECT_EQ(error.describe().rfind("Essai.RPT, ligne " + std::to_string(c.line) + " : ", 0), 0u)
            << error.describe();
    }
}

TEST(ReportTemplate, MissingFileIsAnErrorWithoutLine)
{
    ParseError error;
    EXPECT_FALSE(loadTemplate("/nonexistent/Nothing.RPT", &error));
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(error.file, "/nonexistent/Nothing.RPT");
}

TEST(ReportTemplate, TheDocumentedExampleIsValid)
{
    std::string doc;
    ASSERT_TRUE(derode::core::readFile(std::string(DERODE_FIXTURES) + "/../../docs/report-templates.md", doc));
    const auto section = doc.find("## A complete example");
    ASSERT_NE(section, std::string::npos);
    const auto begin = doc.find("```\n", section) + 4;
    const auto end = doc.find("```", begin);
    ParseError error;
    auto model = parseTemplate(doc.substr(begin, end - begin), "exemple", &error);
    ASSERT_TRUE(model) << error.describe();
    EXPECT_EQ(model->bands.size(), 5u);
    EXPECT_EQ(model->alias, "membres");
}
