#include "reports/ReportLayout.h"

#include "core/Encoding.h"
#include "core/Text.h"
#include "reports/RtfText.h"

#include <algorithm>

namespace derode::reports {

bool VariableLess::operator()(const std::string& a, const std::string& b) const
{
    return core::toUpper(a) < core::toUpper(b);
}

double FixedWidthMeasurer::width(const std::string& text, const FontSpec& font) const
{
    return static_cast<double>(core::length(text)) * charWidth_ * font.size / 10.0;
}

namespace {

std::string escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else if (c != '\r') {
            current += c;
        }
    }
    lines.push_back(current);
    return lines;
}

bool shown(const Element& e, const Row* row)
{
    if (e.condition < 0)
        return true;
    return row && static_cast<std::size_t>(e.condition) < row->size() && (*row)[e.condition].truth;
}

// The lines an element's text occupies and the font it is drawn with.
struct TextLines {
    std::vector<std::string> lines;
    FontSpec font;
};

TextLines textLines(const Element& e, const std::string& text, const TextMeasurer& measurer)
{
    TextLines out;
    out.font = e.font;
    for (const std::string& raw : splitLines(text)) {
        std::string line = core::rtrim(raw);
        if (e.wrap) {
            auto wrapped = wrapText(line, e.width, out.font, measurer);
            out.lines.insert(out.lines.end(), wrapped.begin(), wrapped.end());
        } else {
            out.lines.push_back(line);
        }
    }
    if (e.fit && !e.wrap) {
        auto widest = [&] {
            double w = 0;
            for (const auto& l : out.lines)
                w = std::max(w, measurer.width(l, out.font));
            return w;
        };
        while (out.font.size > 6 && widest() > e.width)
            out.font.size = std::max(6.0, out.font.size - 0.5);
    }
    return out;
}

double bandHeight(const Band& band, const Row* row, const Variables& variables, const TextMeasurer& measurer)
{
    double height = band.height;
    for (const Element& e : band.elements) {
        if (e.kind != Element::Kind::Text || !e.wrap || !shown(e, row))
            continue;
        TextLines t = textLines(e, substitute(e.content, row, variables, 1, 1), measurer);
        height = std::max(height, e.y + static_cast<double>(t.lines.size()) * measurer.lineHeight(t.font));
    }
    return height;
}

struct Placement {
    const Band* band;
    const Row* row;
    double y;
};

void render(const Placement& p, double left, const Variables& variables, const TextMeasurer& measurer, int page,
            int pages, Page& out)
{
    for (const Element& e : p.band->elements) {
        if (!shown(e, p.row))
            continue;
        const double x = left + e.x;
        const double y = p.y + e.y;
        switch (e.kind) {
        case Element::Kind::Line:
            out.ops.push_back(LineOp{x, y, left + e.x2, p.y + e.y2, e.penWidth});
            break;
        case Element::Kind::Box:
            out.ops.push_back(BoxOp{{x, y, e.width, e.height}, e.penWidth, e.fillGray});
            break;
        case Element::Kind::RichText:
            out.ops.push_back(
                RichTextOp{{x, y, e.width, e.height}, substitute(e.content, p.row, variables, page, pages, true), e.font});
            break;
        case Element::Kind::Text: {
            TextLines t = textLines(e, substitute(e.content, p.row, variables, page, pages), measurer);
            const double lh = measurer.lineHeight(t.font);
            const double total = lh * static_cast<double>(t.lines.size());
            double top = y;
            if (e.valign == VAlign::Middle)
                top = y + (e.height - total) / 2;
            else if (e.valign == VAlign::Bottom)
                top = y + e.height - total;
            for (std::size_t i = 0; i < t.lines.size(); ++i) {
                if (t.lines[i].empty())
                    continue;
                out.ops.push_back(TextOp{{x, top + lh * static_cast<double>(i), e.width, lh}, t.lines[i], t.font, e.align});
            }
            break;
        }
        }
    }
}

}  // namespace

std::string substitute(const std::vector<Segment>& content, const Row* row, const Variables& variables, int page,
                       int pages, bool escapeHtml)
{
    std::string out;
    for (const Segment& s : content) {
        switch (s.kind) {
        case Segment::Kind::Literal:
            out += s.text;
            break;
        case Segment::Kind::Variable: {
            std::string value;
            if (core::equalsIgnoreCase(s.text, "PAGE"))
                value = std::to_string(page);
            else if (core::equalsIgnoreCase(s.text, "PAGES"))
                value = std::to_string(pages);
            else if (auto it = variables.find(s.text); it != variables.end())
                value = it->second;
            if (escapeHtml && isRtf(value))
                out += rtfToHtml(value);  // an RTF variable in a rich-text element keeps its layout
            else
                out += escapeHtml ? escape(value) : value;
            break;
        }
        case Segment::Kind::Expression:
            if (row && s.expression >= 0 && static_cast<std::size_t>(s.expression) < row->size()) {
                const std::string value = core::rtrim((*row)[s.expression].text);
                out += escapeHtml ? escape(value) : value;
            }
            break;
        }
    }
    return out;
}

std::vector<std::string> wrapText(const std::string& text, double width, const FontSpec& font,
                                  const TextMeasurer& measurer)
{
    std::vector<std::string> lines;
    std::string current;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        std::size_t end = text.find(' ', i);
        if (end == std::string::npos)
            end = text.size();
        if (end == i)
            break;
        std::string word = text.substr(i, end - i);
        i = end;
        std::string candidate = current.empty() ? word : current + " " + word;
        if (current.empty() || measurer.width(candidate, font) <= width) {
            current = candidate;
        } else {
            lines.push_back(current);
            current = word;
        }
    }
    if (!current.empty() || lines.empty())
        lines.push_back(current);
    return lines;
}

LaidOutReport layOut(const ReportTemplate& model, const std::vector<Row>& rows, const Variables& given,
                     const TextMeasurer& measurer, PaperSize paper)
{
    Variables variables = given;
    variables.emplace("RECORDS", std::to_string(rows.size()));  // unless the caller set one
    LaidOutReport report;
    report.pageWidth = paper.width;
    report.pageHeight = paper.height;
    if (model.orientation == Orientation::Landscape)
        std::swap(report.pageWidth, report.pageHeight);

    const Band* reportHeader = model.band(BandKind::ReportHeader);
    const Band* pageHeader = model.band(BandKind::PageHeader);
    const Band* detail = model.band(BandKind::Detail);
    const Band* reportFooter = model.band(BandKind::ReportFooter);
    const Band* pageFooter = model.band(BandKind::PageFooter);

    const double top = model.marginTop;
    const double bottom = report.pageHeight - model.marginBottom;
    const double footerHeight = pageFooter ? pageFooter->height : 0;
    const double limit = bottom - footerHeight;

    std::vector<std::vector<Placement>> pages;
    double y = top;
    double bodyTop = top;  // where the first band after the headers of the current page stands
    const Row* lastRow = nullptr;
    auto headerRow = [&](std::size_t next) -> const Row* {
        return next < rows.size() ? &rows[next] : lastRow;
    };
    auto newPage = [&](std::size_t next) {
        pages.emplace_back();
        y = top;
        if (pages.size() == 1 && reportHeader) {
            pages.back().push_back({reportHeader, headerRow(next), y});
            y += bandHeight(*reportHeader, headerRow(next), variables, measurer);
        }
        if (pageHeader) {
            pages.back().push_back({pageHeader, headerRow(next), y});
            y += bandHeight(*pageHeader, headerRow(next), variables, measurer);
        }
        bodyTop = y;
    };

    newPage(0);
    if (detail) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const double h = bandHeight(*detail, &rows[i], variables, measurer);
            // A band taller than a whole page still goes on a page of its own rather than looping.
            if (y + h > limit + 1e-9 && y > bodyTop + 1e-9)
                newPage(i);
            pages.back().push_back({detail, &rows[i], y});
            y += h;
            lastRow = &rows[i];
        }
    }
    if (!lastRow && !rows.empty())
        lastRow = &rows.back();
    if (reportFooter) {
        const double h = bandHeight(*reportFooter, lastRow, variables, measurer);
        if (y + h > limit + 1e-9 && y > bodyTop + 1e-9)
            newPage(rows.size());
        pages.back().push_back({reportFooter, lastRow, y});
    }

    const int count = static_cast<int>(pages.size());
    report.pages.resize(pages.size());
    for (int p = 0; p < count; ++p) {
        const Row* pageLast = nullptr;
        for (const Placement& placement : pages[p]) {
            render(placement, model.marginLeft, variables, measurer, p + 1, count, report.pages[p]);
            if (placement.row)
                pageLast = placement.row;
        }
        if (pageFooter)
            render({pageFooter, pageLast, limit}, model.marginLeft, variables, measurer, p + 1, count, report.pages[p]);
    }
    return report;
}

}  // namespace derode::reports
