#pragma once
// Binding a template to its data: opens the template's table in the data folder, applies the
// index order and the filter, reads the chosen records in that order, sorts them when the template
// asks, and evaluates every expression of the template on each of them with the table engine's
// xBase evaluator. Report variables are visible to expressions under their names.

#include "reports/ReportLayout.h"
#include "reports/ReportTemplate.h"

#include <string>
#include <vector>

namespace derode::reports {

struct BindOptions {
    std::string dataFolder;  // with a trailing "/"
    std::string order;       // replaces the template's order when set (table property 1004)
    bool orderSet = false;
    std::string filter;      // replaces the template's filter when set (table property 1002)
    bool filterSet = false;
};

// Fills `rows`; false with a French `error` naming the template's file and line when a table,
// an order or an expression fails. A template without a table gives one row.
bool bindRows(const ReportTemplate& model, const BindOptions& options, const Variables& variables,
              std::vector<Row>& rows, std::string* error = nullptr);

// Finds `name` in `folder` without regard to case, as file names compare in the program; the
// path as given when nothing matches.
std::string findFileIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace derode::reports
