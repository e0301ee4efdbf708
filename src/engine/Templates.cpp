#include "engine/Templates.h"

#include <filesystem>

namespace derode::engine {

namespace {

std::vector<FieldDef> drawColumns()
{
    std::vector<FieldDef> f;
    for (int i = 1; i <= 8; ++i)
        f.push_back({"JOUEUR" + std::to_string(i), 'C', 42, 0});
    for (int i = 1; i <= 8; ++i)
        f.push_back({"JETON" + std::to_string(i), 'C', 3, 0});
    for (int i = 1; i <= 4; ++i)
        f.push_back({"POINTS" + std::to_string(i), 'N', 2, 0});
    return f;
}

}  // namespace

TableLayout memberTableLayout()
{
    return {"membres-2.dbf",
            {{"NOM", 'C', 20, 0},
             {"PRENOM", 'C', 20, 0},
             {"FEMME", 'L', 1, 0},
             {"CAPITAINE", 'L', 1, 0},
             {"TELEPHONE", 'C', 12, 0},
             {"NO_JETON", 'N', 3, 0},
             {"CAPT_OCC", 'L', 1, 0},
             {"MAIL", 'C', 40, 0},
             {"NO_CONJOIN", 'N', 3, 0}},
            {{"NOM-PRENON", "NOM+PRENOM", false}, {"NO_JETON", "NO_JETON", false}}};
}

TableLayout drawTableLayout() { return {"partie1-2.dbf", drawColumns(), {}}; }

TableLayout rapportTableLayout()
{
    // One row per person and game: points of one game fit in 4 digits.
    return {"rapport.dbf",
            {{"DATE", 'D', 8, 0}, {"NOM", 'C', 42, 0}, {"FLAG", 'L', 1, 0}, {"PTSPOUR", 'N', 4, 0}, {"PTSCONTRE", 'N', 4, 0}},
            {{"NOM", "NOM", false}, {"NOMUNIQ", "NOM", true}}};
}

TableLayout rapportFinalTableLayout()
{
    // Sums over a season: up to a hundred dates of two games.
    return {"Rapportfinal.dbf",
            {{"NOM", 'C', 42, 0}, {"FEMME", 'L', 1, 0}, {"PTSPOUR", 'N', 6, 0}, {"PTSCONTRE", 'N', 6, 0},
             {"PRESENCES", 'N', 4, 0}},
            {}};
}

TableLayout blankTableLayout()
{
    std::vector<FieldDef> f{{"BLANC", 'C', 1, 0}};
    for (auto& c : drawColumns())
        f.push_back(c);
    return {"blank.dbf", f, {}};
}

std::vector<std::pair<std::string, TableLayout>> programTemplates()
{
    return {{"OwnerData", memberTableLayout()},
            {"OwnerData", drawTableLayout()},
            {"OwnerData", rapportTableLayout()},
            {"OwnerData", rapportFinalTableLayout()},
            {"CommonData", blankTableLayout()}};
}

bool createFromLayout(const std::string& path, const TableLayout& layout, std::string* error)
{
    if (!createTable(path, layout.fields, error))
        return false;
    if (layout.tags.empty())
        return true;
    CDBSERVEREX table(path, {}, false, false);
    if (!table.used()) {
        if (error)
            *error = table.lastError();
        return false;
    }
    for (const auto& tag : layout.tags)
        if (!table.createTag(tag.name, tag.keyExpression, tag.unique)) {
            if (error)
                *error = table.lastError();
            return false;
        }
    table.close();
    return true;
}

bool matchesLayout(const std::string& path, const TableLayout& layout)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return false;
    CDBSERVEREX table(path, {}, true, true);
    if (!table.used() || table.recCount() != 0 || table.fieldCount() != static_cast<int>(layout.fields.size()))
        return false;
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const auto& a = table.fields()[i];
        const auto& b = layout.fields[i];
        if (a.name != b.name || a.type != b.type || a.length != b.length || a.decimals != b.decimals)
            return false;
    }
    std::vector<std::string> wanted;
    for (const auto& t : layout.tags)
        wanted.push_back(t.name);
    return table.tagNames() == wanted;
}

}  // namespace derode::engine
