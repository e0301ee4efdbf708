#include "gui/reports/ReportPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace derode::gui {

namespace rp = derode::reports;

namespace {

QFont qtFont(const rp::FontSpec& spec)
{
    QFont font(QString::fromStdString(spec.family));
    font.setPointSizeF(spec.size);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    return font;
}

Qt::Alignment alignment(rp::HAlign align)
{
    switch (align) {
    case rp::HAlign::Center: return Qt::AlignHCenter;
    case rp::HAlign::Right: return Qt::AlignRight;
    case rp::HAlign::Left: break;
    }
    return Qt::AlignLeft;
}

rp::PaperSize paperOf(const QPrinter& printer)
{
    QSizeF size = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    if (size.width() > size.height())
        size.transpose();
    if (size.isEmpty())
        return {};
    return {size.width(), size.height()};
}

void preparePrinter(QPrinter& printer, const rp::LaidOutReport& report)
{
    printer.setFullPage(true);
    printer.setPageOrientation(report.pageWidth > report.pageHeight ? QPageLayout::Landscape : QPageLayout::Portrait);
}

}  // namespace

double QtTextMeasurer::width(const std::string& text, const rp::FontSpec& font) const
{
    QFontMetricsF metrics(qtFont(font), device_);
    return metrics.horizontalAdvance(QString::fromStdString(text)) * 25.4 / device_->logicalDpiX();
}

double QtTextMeasurer::lineHeight(const rp::FontSpec& font) const
{
    QFontMetricsF metrics(qtFont(font), device_);
    return metrics.height() * 25.4 / device_->logicalDpiY();
}

bool paintReport(const rp::LaidOutReport& report, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double sx = printer.logicalDpiX() / 25.4;
    const double sy = printer.logicalDpiY() / 25.4;
    auto rect = [&](const rp::Rect& r) { return QRectF(r.x * sx, r.y * sy, r.width * sx, r.height * sy); };
    auto pen = [&](double width) {
        QPen p(Qt::black);
        p.setWidthF(std::max(1.0, width * sx));
        return p;
    };

    // A PDF file (or a printer without copy support) gets one document: the copies asked for
    // are then painted by us, whole documents when collated, else each page repeated.
    const int wanted = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const int documentCopies = printer.collateCopies() ? wanted : 1;
    const int pageCopies = printer.collateCopies() ? 1 : wanted;
    std::vector<std::size_t> sequence;
    for (int d = 0; d < documentCopies; ++d)
        for (std::size_t i = 0; i < report.pages.size(); ++i)
            for (int p = 0; p < pageCopies; ++p)
                sequence.push_back(i);

    for (std::size_t n = 0; n < sequence.size(); ++n) {
        if (n > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        for (const rp::DrawOp& op : report.pages[sequence[n]].ops) {
            if (const auto* text = std::get_if<rp::TextOp>(&op)) {
                painter.setPen(Qt::black);
                painter.setFont(qtFont(text->font));
                painter.drawText(rect(text->rect),
                                 alignment(text->align) | Qt::AlignVCenter | Qt::TextDontClip | Qt::TextSingleLine,
                                 QString::fromStdString(text->text));
            } else if (const auto* rich = std::get_if<rp::RichTextOp>(&op)) {
                QTextDocument document;
                document.documentLayout()->setPaintDevice(&printer);
                document.setDefaultFont(qtFont(rich->font));
                document.setDocumentMargin(0);
                document.setHtml(QString::fromStdString(rich->html));
                const QRectF area = rect(rich->rect);
                document.setTextWidth(area.width());
                painter.save();
                painter.translate(area.topLeft());
                document.drawContents(&painter, QRectF(QPointF(0, 0), area.size()));
                painter.restore();
            } else if (const auto* line = std::get_if<rp::LineOp>(&op)) {
                painter.setPen(pen(line->penWidth));
                painter.drawLine(QPointF(line->x1 * sx, line->y1 * sy), QPointF(line->x2 * sx, line->y2 * sy));
            } else if (const auto* box = std::get_if<rp::BoxOp>(&op)) {
                const QRectF area = rect(box->rect);
                if (box->fillGray >= 0) {
                    const int level = static_cast<int>(box->fillGray * 255);
                    painter.fillRect(area, QColor(level, level, level));
                }
                if (box->penWidth > 0) {
                    painter.setPen(pen(box->penWidth));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(area);
                }
            }
        }
    }
    return painter.end();
}

PreviewReportOutput::PreviewReportOutput()
    : reference_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      measurer_(std::make_unique<QtTextMeasurer>(reference_.get()))
{
}

PreviewReportOutput::~PreviewReportOutput() = default;

rp::PaperSize PreviewReportOutput::paper() const { return paperOf(*reference_); }

bool PreviewReportOutput::print(const rp::LaidOutReport& report, int copies, const std::string& title)
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report);
    printer.setDocName(QString::fromStdString(title));
    printer.setCopyCount(copies);
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("reportPreview"));
    dialog.setWindowTitle(QStringLiteral("Aperçu avant impression - ") + QString::fromStdString(title));
    bool lastPaintOk = false;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* target) { lastPaintOk = paintReport(report, *target); });
    dialog.resize(900, 700);
    // The dialog accepts only after the user printed; the last paint was then the real one.
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return accepted && lastPaintOk;
}

PdfReportOutput::PdfReportOutput(QString path)
    : path_(std::move(path)),
      reference_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      measurer_(std::make_unique<QtTextMeasurer>(reference_.get()))
{
    reference_->setOutputFormat(QPrinter::PdfFormat);
}

PdfReportOutput::~PdfReportOutput() = default;

rp::PaperSize PdfReportOutput::paper() const { return paperOf(*reference_); }

bool PdfReportOutput::print(const rp::LaidOutReport& report, int copies, const std::string& title)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path_);
    preparePrinter(printer, report);
    printer.setDocName(QString::fromStdString(title));
    ++prints_;
    lastCopies_ = copies;
    return paintReport(report, printer);
}

void installPreviewReportOutput()
{
    static PreviewReportOutput output;
    rp::setReportOutput(&output);
}

}  // namespace derode::gui
