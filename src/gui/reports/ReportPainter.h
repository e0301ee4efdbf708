#pragma once
// Painting laid-out report pages with QPainter, and the report outputs built on it: the print
// preview of the program (the user prints to a printer or a PDF file) and a direct PDF file.
// Both paint through paintReport(), so what is previewed is what is printed.

#include "reports/Report.h"

#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QPrinter;

namespace derode::gui {

// Measures with the fonts of a paint device (a printer), in millimetres.
class QtTextMeasurer : public derode::reports::TextMeasurer {
public:
    explicit QtTextMeasurer(QPaintDevice* device) : device_(device) {}
    double width(const std::string& text, const derode::reports::FontSpec& font) const override;
    double lineHeight(const derode::reports::FontSpec& font) const override;

private:
    QPaintDevice* device_;
};

// Paints every page onto the printer (full-page coordinates). False when the printer could not be
// opened or a page could not be started.
bool paintReport(const derode::reports::LaidOutReport& report, QPrinter& printer);

// The production output: Qt's print preview with the copies preset. Printed only when the user
// printed from it and every page was painted; closing it is "not printed".
class PreviewReportOutput : public derode::reports::ReportOutput {
public:
    PreviewReportOutput();
    ~PreviewReportOutput() override;
    const derode::reports::TextMeasurer& measurer() const override { return *measurer_; }
    derode::reports::PaperSize paper() const override;
    bool print(const derode::reports::LaidOutReport& report, int copies, const std::string& title) override;

private:
    std::unique_ptr<QPrinter> reference_;  // the default printer, for fonts and paper
    std::unique_ptr<QtTextMeasurer> measurer_;
};

// Writes the pages to a PDF file (the "save as PDF" path and the tests). Every print replaces the file.
class PdfReportOutput : public derode::reports::ReportOutput {
public:
    explicit PdfReportOutput(QString path);
    ~PdfReportOutput() override;
    const derode::reports::TextMeasurer& measurer() const override { return *measurer_; }
    derode::reports::PaperSize paper() const override;
    bool print(const derode::reports::LaidOutReport& report, int copies, const std::string& title) override;

    int printCount() const { return prints_; }
    int lastCopies() const { return lastCopies_; }
    const QString& path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QPrinter> reference_;
    std::unique_ptr<QtTextMeasurer> measurer_;
    int prints_ = 0;
    int lastCopies_ = 0;
};

// Installs the preview output as the run's report output (done once by the entry point).
void installPreviewReportOutput();

}  // namespace derode::gui
