#include "engine/Expression.h"

#include <gtest/gtest.h>

#include <map>

using namespace derode::engine;

namespace {

class Fields : public RecordSource {
public:
    bool fieldValue(const std::string& name, Value& out) const override
    {
        static const std::map<std::string, Value> values = {
            {"NOM", Value(std::string("DUPONT              "))},
            {"PRENOM", Value(std::string("Hélène              "))},
            {"NO_JETON", Value(12.0)},
            {"FEMME", Value(true)},
            {"DATE", Value(Date{2025, 10, 1})},
            {"VIDE", Value(Date{})},
        };
        auto it = values.find(name);
        if (it == values.end())
            return false;
        out = it->second;
        return true;
    }
    std::uint32_t recNo() const override { return 7; }
    bool deleted() const override { return false; }
};

std::string show(const Value& v)
{
    switch (v.index()) {
    case 0: return "\"" + std::get<std::string>(v) + "\"";
    case 1: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", std::get<double>(v));
        return buf;
    }
    case 2: return std::get<bool>(v) ? ".T." : ".F.";
    default: return "date:" + std::get<Date>(v).dtos();
    }
}

}  // namespace

TEST(Expression, EvaluatesTheXbaseForms)
{
    const std::pair<const char*, const char*> cases[] = {
        {"NOM+PRENOM", "\"DUPONT              Hélène              \""},
        {"nom - prenom", "\"DUPONTHélène                            \""},
        {"TRIM(NOM)+'  '+ALLTRIM(PRENOM)", "\"DUPONT  Hélène\""},
        {"UPPER(PRENOM)", "\"HÉLÈNE              \""},
        {"LOWER(LEFT(NOM, 3))", "\"dup\""},
        {"LTRIM('  a ')", "\"a \""},
        {"RTRIM(' a  ')", "\" a\""},
        {"SUBSTR(PRENOM, 2, 4)", "\"élèn\""},
        {"SUBSTR(PRENOM, 19)", "\"  \""},
        {"RIGHT(TRIM(PRENOM), 3)", "\"ène\""},
        {"STR(NO_JETON)", "\"        12\""},
        {"STR(NO_JETON, 3)", "\" 12\""},
        {"STR(3.14159, 6, 2)", "\"  3.14\""},
        {"STR(1234, 3)", "\"***\""},
        {"VAL(' 42.5abc') + 1", "43.5"},
        {"VAL('abc')", "0"},
        {"NO_JETON * 2 - 4 / 2", "22"},
        {"-NO_JETON + 2", "-10"},
        {"DTOS(DATE)", "\"20251001\""},
        {"DTOC(DATE)", "\"2025-10-01\""},
        {"DTOS(VIDE)", "\"        \""},
        {"DATE + 31", "date:20251101"},
        {"DATE - CTOD('2025-09-30')", "1"},
        {"RECNO()", "7"},
        {"DELETED()", ".F."},
        {"FEMME = .t.", ".T."},
        {"Femme = .F.", ".F."},
        {"NOM = 'DUP'", ".T."},    // SET EXACT OFF: prefix
        {"'DUP' = NOM", ".F."},
        {"NOM = ''", ".T."},
        {"NOM == 'DUP'", ".F."},
        {"NOM <> 'MARTIN'", ".T."},
        {"NOM # 'DUPONT'", ".F."},
        {"NOM != 'DUPONT'", ".F."},
        {"NO_JETON >= 12 .AND. NO_JETON < 13", ".T."},
        {"NO_JETON > 12 .OR. !FEMME", ".F."},
        {".NOT. (NO_JETON <= 11)", ".T."},
        {"DATE > CTOD('2025-01-01')", ".T."},
        {"'a' < 'b'", ".T."},
        {"IIF(FEMME, 'F', 'H')", "\"F\""},
        {"LEN(TRIM(PRENOM))", "6"},
        {"customer->NO_JETON", "12"},
    };
    const Fields fields;
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        std::string error;
        auto e = Expression::parse(text, &error);
        ASSERT_TRUE(e) << error;
        EXPECT_EQ(e->text(), text);
        auto v = e->evaluate(fields, &error);
        ASSERT_TRUE(v) << error;
        EXPECT_EQ(show(*v), expected);
    }
}

TEST(Expression, ReportsSyntaxAndTypeErrorsWithoutThrowing)
{
    for (const char* text : {"", "NOM+", "(NOM", "'abc", "NOM PRENOM", "FOO(NOM)", "SUBSTR(NOM)", ".X.", "NOM @ 2"}) {
        SCOPED_TRACE(text);
        std::string error;
        EXPECT_FALSE(Expression::parse(text, &error));
        EXPECT_FALSE(error.empty());
    }
    const Fields fields;
    for (const char* text : {"NOM + 1", "INCONNU", "NO_JETON = 'a'", "UPPER(NO_JETON)", "1 / 0", ".NOT. NOM",
                             "FEMME .AND. 1"}) {
        SCOPED_TRACE(text);
        auto e = Expression::parse(text);
        ASSERT_TRUE(e);
        std::string error;
        EXPECT_FALSE(e->evaluate(fields, &error));
        EXPECT_FALSE(error.empty());
    }
    // Deep nesting is refused, not a stack overflow.
    std::string deep(100000, '(');
    EXPECT_FALSE(Expression::parse(deep + "1"));
    EXPECT_FALSE(Expression::parse(std::string(100000, '-') + "1"));
}
