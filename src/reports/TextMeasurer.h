#pragma once
// Text measurement for the layout, supplied by whoever paints: the Qt layer measures with the
// printer's fonts; tests use the fixed-width measurer so that line breaks are predictable.

#include "reports/ReportTemplate.h"

#include <string>

namespace derode::reports {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Width of one line of text, in millimetres.
    virtual double width(const std::string& text, const FontSpec& font) const = 0;
    // Height of one line, in millimetres.
    virtual double lineHeight(const FontSpec& font) const = 0;
};

// Every character (code point) as wide as `charWidth` millimetres at 10 points, scaled with the
// size; a line is 0.5 mm per point high.
class FixedWidthMeasurer : public TextMeasurer {
public:
    explicit FixedWidthMeasurer(double charWidth = 2.0) : charWidth_(charWidth) {}
    double width(const std::string& text, const FontSpec& font) const override;
    double lineHeight(const FontSpec& font) const override { return font.size * 0.5; }

private:
    double charWidth_;
};

}  // namespace derode::reports
