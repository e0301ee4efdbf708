#pragma once
// The report engine as its callers use it: one report object per print, in calling order
// data folder, template, "loaded?", variables, settings, table properties, print, "printed?".
// Template names are relative to the program folder ("CommonData/Partie1-3.RPT").
//
// Engine settings and table properties keep the numbers the callers have always passed:
//   11002  copies (a whole number, at least 1; the print preview starts with it)
//   11037  accepted and kept; no effect in this engine (the print preview is always shown)
//   10005  accepted and kept; no effect in this engine
//   1002   table property: filter expression, replaces the template's "filter"
//   1004   table property: index order (tag name), replaces the template's "order"
//
// Painting and the print dialog are not here: they belong to the installed ReportOutput.

#include "reports/ReportLayout.h"
#include "reports/ReportTemplate.h"

#include <map>
#include <optional>
#include <string>

namespace derode::reports {

namespace setting {
constexpr int Copies = 11002;
constexpr int PrintMode = 11037;
constexpr int Flag10005 = 10005;
}  // namespace setting
namespace property {
constexpr int Filter = 1002;
constexpr int Order = 1004;
}  // namespace property

// Where laid-out pages go: the Qt layer shows the print preview (or writes a PDF); tests record.
class ReportOutput {
public:
    virtual ~ReportOutput() = default;
    virtual const TextMeasurer& measurer() const = 0;
    virtual PaperSize paper() const { return {}; }
    // Shows or prints the pages; true only when the user confirmed and every page was painted.
    virtual bool print(const LaidOutReport& report, int copies, const std::string& title) = 0;
};

// The run's output (not owned); without one nothing can be printed.
void setReportOutput(ReportOutput* output);
ReportOutput* reportOutput();

class Report {
public:
    explicit Report(ReportOutput* output = reportOutput());

    void setDataFolder(const std::string& folder);  // a trailing "/" is added when missing
    // Loads programFolder + `relativeName`. A template that does not parse is reported with
    // its file and line through the message seam; a missing one silently.
    bool loadTemplate(const std::string& programFolder, const std::string& relativeName);
    bool loaded() const { return model_.has_value(); }

    void setVariable(const std::string& name, const std::string& value);
    void setSetting(int number, const std::string& value);
    std::string setting(int number) const;
    // Property of the template's table named by `alias` (without regard to case).
    void setTableProperty(const std::string& alias, int property, const std::string& value);

    // Binds, lays out and hands the pages to the output. A data error is shown and the report is
    // not printed.
    bool print();
    bool printed() const { return printed_; }
    int copies() const;

    const std::string& lastError() const { return error_; }
    const Variables& variables() const { return variables_; }
    const ReportTemplate* model() const { return model_ ? &*model_ : nullptr; }
    // The laid-out pages of the last print(), for tests and previews.
    const LaidOutReport& pages() const { return pages_; }

private:
    ReportOutput* output_;
    std::string dataFolder_;
    std::optional<ReportTemplate> model_;
    Variables variables_;
    std::map<int, std::string> settings_;
    struct TableProperty {
        std::string alias;
        int property;
        std::string value;
    };
    std::vector<TableProperty> properties_;
    bool printed_ = false;
    std::string error_;
    LaidOutReport pages_;
};

}  // namespace derode::reports
