#pragma once
// The report engine's template: a hand-editable text file (the ".RPT" files of CommonData) that
// names a table, how its records are chosen and ordered, and bands of positioned elements.
// The format is described, with a complete example, in docs/report-templates.md.
// This file holds the parsed model and the parser; nothing here opens a table or paints.

#include <optional>
#include <string>
#include <vector>

namespace derode::reports {

enum class Orientation { Portrait, Landscape };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };
enum class BandKind { ReportHeader, PageHeader, Detail, ReportFooter, PageFooter };

struct FontSpec {
    std::string family = "Liberation Sans";
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// One piece of an element's content: literal text, a variable ("{Ligue}", with the built-in
// PAGE and PAGES) or an expression evaluated on the current record ("{=TRIM(NOM)}").
struct Segment {
    enum class Kind { Literal, Variable, Expression } kind = Kind::Literal;
    std::string text;     // the literal, the variable name, or the expression text
    int expression = -1;  // index into ReportTemplate::expressions for Kind::Expression
};

struct Element {
    enum class Kind { Text, RichText, Line, Box } kind = Kind::Text;
    int line = 0;  // line of the template file, for messages
    // Millimetres from the band's top-left corner (lines: x, y to x2, y2).
    double x = 0, y = 0, width = 0, height = 0;
    double x2 = 0, y2 = 0;
    double penWidth = 0.3;  // lines and boxes, millimetres
    double fillGray = -1;   // boxes: 0 (black) to 1 (white); < 0 not filled
    FontSpec font;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Top;
    bool wrap = false;  // text: break into lines at blanks; the band grows to hold them
    bool fit = false;   // text: shrink the font until the text fits the width
    std::vector<Segment> content;
    int condition = -1;  // expression index: drawn only when it is true
};

struct Band {
    BandKind kind = BandKind::Detail;
    int line = 0;
    double height = 0;  // millimetres
    std::vector<Element> elements;
};

struct SortKey {
    int expression = -1;
    bool descending = false;
};

// An expression used by the template, with the line it stands on.
struct ExpressionRef {
    std::string text;
    int line = 0;
};

struct ReportTemplate {
    std::string fileName;  // as loaded, for messages
    std::string title;
    Orientation orientation = Orientation::Portrait;
    double marginLeft = 15, marginTop = 15, marginRight = 15, marginBottom = 15;  // millimetres
    FontSpec font;  // the default font of text elements
    std::string table;      // file name in the data folder; empty: no table (one empty record)
    std::string alias;
    std::string order;      // index tag; empty: record order
    std::string filter;     // expression text; empty: every record
    int filterLine = 0;
    std::vector<SortKey> sort;
    std::vector<ExpressionRef> expressions;
    std::vector<Band> bands;

    const Band* band(BandKind kind) const;
};

struct ParseError {
    std::string file;
    int line = 0;
    std::string message;  // French
    // "<file>, ligne <n> : <message>"
    std::string describe() const;
};

// Parses a template's text; `fileName` only names it in errors.
std::optional<ReportTemplate> parseTemplate(const std::string& text, const std::string& fileName,
                                            ParseError* error = nullptr);
// Reads and parses a template file (UTF-8). A missing file gives a ParseError with line 0.
std::optional<ReportTemplate> loadTemplate(const std::string& path, ParseError* error = nullptr);

}  // namespace derode::reports
