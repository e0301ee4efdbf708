// Painting laid-out pages: the PDF path, and the print preview's "not printed" answers.
#include "guisupport/GuiTestSupport.h"

#include "gui/reports/ReportPainter.h"
#include "reports/ReportLayout.h"

#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

using namespace derode;
using test::pdfText;

namespace {

const char* kTemplate = R"(report "Essai"
margins 10 10 10 10
band pageheader height 20
  text 0 0 190 10 size 16 bold align center "Bonjour {Ligue}"
  line 0 12 190 12 width 0.5
end
band detail height 40
  box 0 0 190 30 width 0.4 fill 0.9
  text 2 2 100 8 size 14 "Ligne {=N}"
  richtext 2 12 150 15 "<b>Gras</b> et <i>{=N}</i>"
end
band pagefooter height 6
  text 0 0 190 6 align right "Page {PAGE} / {PAGES}"
end
)";

reports::LaidOutReport laidOut(const reports::TextMeasurer& measurer, int rows)
{
    auto model = reports::parseTemplate(kTemplate, "Essai.RPT");
    std::vector<reports::Row> data;
    for (int i = 1; i <= rows; ++i)
        data.push_back({reports::Cell{"n°" + std::to_string(i), true}, reports::Cell{"<" + std::to_string(i) + ">", true}});
    return reports::layOut(*model, data, {{"Ligue", "Essai & Cie"}}, measurer);
}

}  // namespace

class ReportPreview : public QObject {
    Q_OBJECT

private slots:
    void paintsEveryPageToPdf()
    {
        test::TempDir dir;
        const QString pdf = QString::fromStdString(dir.str() + "essai.pdf");
        gui::PdfReportOutput output(pdf);
        const auto report = laidOut(output.measurer(), 12);  // 40 mm each: 6 per page
        QCOMPARE(report.pages.size(), std::size_t(2));
        QVERIFY(output.print(report, 3, "Essai"));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("Bonjour Essai & Cie")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Ligne n°1")));
        QVERIFY(text.contains(QStringLiteral("Ligne n°12")));
        QVERIFY(text.contains(QStringLiteral("Gras et <12>")));  // rich text, its value escaped and shown as is
        QVERIFY(text.contains(QStringLiteral("Page 1 / 2")));
        QVERIFY(text.contains(QStringLiteral("Page 2 / 2")));
        QVERIFY(text.indexOf(QStringLiteral("Ligne n°6")) < text.indexOf(QStringLiteral("Page 1 / 2")));
        QVERIFY(text.indexOf(QStringLiteral("Page 1 / 2")) < text.indexOf(QStringLiteral("Ligne n°7")));
        QCOMPARE(output.lastCopies(), 3);
    }

    void copiesAskedOfAPdfAreAllInTheFile()
    {
        // A PDF file cannot print copies itself: the copies chosen in the print dialog are painted.
        test::TempDir dir;
        const QString pdf = QString::fromStdString(dir.str() + "copies.pdf");
        gui::PdfReportOutput output(pdf);
        const auto report = laidOut(output.measurer(), 12);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setCopyCount(2);
        printer.setCollateCopies(true);
        QVERIFY(gui::paintReport(report, printer));
        const QString text = pdfText(pdf);
        QCOMPARE(text.count(QStringLiteral("Page 1 / 2")), 2);
        QCOMPARE(text.count(QStringLiteral("Page 2 / 2")), 2);
        QVERIFY(text.indexOf(QStringLiteral("Page 2 / 2")) < text.lastIndexOf(QStringLiteral("Page 1 / 2")));
    }

    void unwritablePdfIsNotPrinted()
    {
        gui::PdfReportOutput output(QStringLiteral("/nonexistent-folder/x/essai.pdf"));
        QVERIFY(!output.print(laidOut(output.measurer(), 1), 1, "Essai"));
    }

    void closingThePreviewIsNotPrinted()
    {
        gui::PreviewReportOutput output;
        int copiesShown = -1;
        bool sawPreview = false;
        QTimer::singleShot(200, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (dialog) {
                sawPreview = true;
                copiesShown = dialog->printer()->copyCount();
                dialog->reject();
            }
        });
        QVERIFY(!output.print(laidOut(output.measurer(), 3), 4, "Essai"));
        QVERIFY(sawPreview);
        QCOMPARE(copiesShown, 4);
    }

    void printingFromThePreviewIsPrinted()
    {
        test::TempDir dir;
        const QString pdf = QString::fromStdString(dir.str() + "apercu.pdf");
        gui::PreviewReportOutput output;
        bool triggered = false;
        QTimer::singleShot(200, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            // Without a printer the preview prints to a PDF file: give it the file name it would ask for.
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(pdf);
            // Accept whatever the print action asks next (print dialog or file chooser).
            auto* helper = new QTimer(dialog);
            QObject::connect(helper, &QTimer::timeout, [dialog, pdf] {
                QWidget* modal = QApplication::activeModalWidget();
                if (!modal || modal == dialog)
                    return;
                if (auto* chooser = qobject_cast<QFileDialog*>(modal))
                    chooser->selectFile(pdf);
                if (auto* asked = qobject_cast<QDialog*>(modal))
                    QMetaObject::invokeMethod(asked, "accept", Qt::QueuedConnection);
            });
            helper->start(100);
            for (QAction* action : dialog->findChildren<QAction*>()) {
                if (action->text().contains(QStringLiteral("Print"), Qt::CaseInsensitive) &&
                    !action->text().contains(QStringLiteral("Setup"), Qt::CaseInsensitive)) {
                    triggered = true;
                    action->trigger();
                    break;
                }
            }
        });
        QVERIFY(output.print(laidOut(output.measurer(), 3), 1, "Essai"));
        QVERIFY(triggered);
        QVERIFY(pdfText(pdf).contains(QStringLiteral("Ligne n°3")));
    }
};

QTEST_MAIN(ReportPreview)
#include "ReportPreview.moc"
