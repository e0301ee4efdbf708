#pragma once
// The layouts of the tables the program ships and creates: the member table with its two tags,
// the draw file, the standings work and result tables, and the blank-sheet table. The template
// generator writes them into the program folder; tests and the subsystems use the same layouts.

#include "engine/DbServer.h"

#include <string>
#include <vector>

namespace derode::engine {

struct TagDef {
    std::string name;
    std::string keyExpression;
    bool unique = false;
};

struct TableLayout {
    std::string fileName;  // as installed under OwnerData/ or CommonData/
    std::vector<FieldDef> fields;
    std::vector<TagDef> tags;  // empty: no index file
};

// "membres-2.dbf": NOM, PRENOM, FEMME, CAPITAINE, TELEPHONE, NO_JETON, CAPT_OCC, MAIL, NO_CONJOIN;
// tags "NOM-PRENON" (NOM+PRENOM) and "NO_JETON".
TableLayout memberTableLayout();
// "partie1-2.dbf": JOUEUR1..8 C 42, JETON1..8 C 3, POINTS1..4 N 2 0, addressed by position.
TableLayout drawTableLayout();
// "rapport.dbf": DATE, NOM, FLAG, PTSPOUR, PTSCONTRE; order 1 "NOM" (every row), order 2
// "NOMUNIQ" (each name once).
TableLayout rapportTableLayout();
// "Rapportfinal.dbf": NOM, FEMME, PTSPOUR, PTSCONTRE, PRESENCES.
TableLayout rapportFinalTableLayout();
// "blank.dbf": a first field C 1, then the columns of a draw sheet (all left blank).
TableLayout blankTableLayout();

// Every template of the program folder: folder ("OwnerData" or "CommonData") and layout.
std::vector<std::pair<std::string, TableLayout>> programTemplates();

// Creates the table (and its index) at `path` with the layout, replacing nothing.
bool createFromLayout(const std::string& path, const TableLayout& layout, std::string* error = nullptr);
// Whether the table at `path` has exactly this layout (fields and tags) and no record.
bool matchesLayout(const std::string& path, const TableLayout& layout);

}  // namespace derode::engine
