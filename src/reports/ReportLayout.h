#pragma once
// Pagination: places the template's bands on pages, the report header once at the top, the page
// header on every page, one detail band per record, the report footer after the last record and
// the page footer at the foot of every page; a detail band that does not fit starts a new page.
// The result is a list of pages of drawing operations in millimetres from the paper's corner,
// which the Qt layer paints as they are.

#include "reports/ReportTemplate.h"
#include "reports/TextMeasurer.h"

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace derode::reports {

// The value of one template expression on one record: its text and whether it counts as true.
struct Cell {
    std::string text;
    bool truth = false;
};
// One chosen record: a cell per template expression (ReportTemplate::expressions order).
using Row = std::vector<Cell>;

// Variable names compare without regard to case.
struct VariableLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
using Variables = std::map<std::string, std::string, VariableLess>;

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
};

struct TextOp {
    Rect rect;  // one line of text, aligned inside the rectangle
    std::string text;
    FontSpec font;
    HAlign align = HAlign::Left;
};
struct RichTextOp {
    Rect rect;
    std::string html;  // Qt's rich-text subset; substituted values are escaped
    FontSpec font;
};
struct LineOp {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, penWidth = 0.3;
};
struct BoxOp {
    Rect rect;
    double penWidth = 0.3;
    double fillGray = -1;
};
using DrawOp = std::variant<TextOp, RichTextOp, LineOp, BoxOp>;

struct Page {
    std::vector<DrawOp> ops;
};

struct PaperSize {
    double width = 210, height = 297;  // millimetres, portrait
};

struct LaidOutReport {
    double pageWidth = 210, pageHeight = 297;  // after the template's orientation
    std::vector<Page> pages;
};

// Lays the rows out; the variable RECORDS holds the number of rows. `paper` is the printer's paper in portrait; the template's orientation turns it.
LaidOutReport layOut(const ReportTemplate& model, const std::vector<Row>& rows, const Variables& variables,
                     const TextMeasurer& measurer, PaperSize paper = {});

// The text of a content for one record (PAGE and PAGES as given). `escapeHtml` escapes the
// substituted values of a rich-text element.
std::string substitute(const std::vector<Segment>& content, const Row* row, const Variables& variables, int page,
                       int pages, bool escapeHtml = false);

// Breaks a text into lines no wider than `width` at blanks (a word wider than the line stands alone).
std::vector<std::string> wrapText(const std::string& text, double width, const FontSpec& font,
                                  const TextMeasurer& measurer);

}  // namespace derode::reports
