// The print commands end to end on the PDF output: draw sheets with today's dated copy, reprint,
// blank sheet and member list, as the windows call them.
#include "guisupport/GuiTestSupport.h"

#include "core/AtomicFile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "engine/Templates.h"
#include "gui/core/ShellWindow.h"
#include "gui/draw/PrintDraw.h"
#include "gui/members/PrintMembers.h"
#include "gui/reports/ReportPainter.h"

#include <QDate>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;
using namespace derode;

namespace {

const fs::path kTemplates = fs::path(DERODE_FIXTURES) / ".." / ".." / "resources" / "CommonData";

// The PDF's words, each run of white space made a single space.
QString pdfWords(const QString& pdf) { return test::pdfText(pdf).simplified(); }

}  // namespace

class PrintCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestLocations> locations_;
    std::unique_ptr<test::ScriptedAnswerer> answers_;
    std::unique_ptr<gui::PdfReportOutput> output_;
    std::string folder_;
    QString pdf_;

private slots:
    void init()
    {
        locations_ = std::make_unique<test::TestLocations>();
        answers_ = std::make_unique<test::ScriptedAnswerer>();
        core::session().currentLeague = "Essai";
        folder_ = locations_->get().leagueFolder("Essai");
        fs::create_directories(folder_);
        const std::string common = locations_->get().commonData();
        fs::copy(kTemplates, common, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        if (!fs::exists(common + "blank.dbf"))
            QVERIFY(engine::createFromLayout(common + "blank.dbf", engine::blankTableLayout()));
        test::copyFixture("xbase/draw/partie1-2.dbf", folder_);
        pdf_ = QString::fromStdString(locations_->dir().str() + "sortie.pdf");
        output_ = std::make_unique<gui::PdfReportOutput>(pdf_);
        reports::setReportOutput(output_.get());
    }

    void cleanup()
    {
        reports::setReportOutput(nullptr);
        output_.reset();
        answers_.reset();
        locations_.reset();
    }

    void drawSheetsThenReprint()
    {
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        const fs::path dated = fs::path(folder_) / "PartiesParDates" / (today.toStdString() + ".dbf");
        QVERIFY(gui::printDrawSheetsCommand());
        QCOMPARE(test::bytesOf(dated), test::bytesOf(fs::path(folder_) / "partie1-2.dbf"));
        QString text = pdfWords(pdf_);
        QVERIFY2(text.contains(QStringLiteral("Date : ") + today), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("DUPONT JEAN (cap.)")));
        QCOMPARE(output_->lastCopies(), 2);

        fs::remove(pdf_.toStdString());
        answers_->planAnswer(1);
        QCOMPARE(gui::MENU_REIMPRESSIONDERNIERTIRAGE(), draw::PrintOutcome::Saved);
        QVERIFY(pdfWords(pdf_).contains(QStringLiteral("ROUX MARIE (cap.)")));
        // The dated file had points from the fixture's draw: replacing it was asked first.
        QCOMPARE(answers_->shown().size(), std::size_t(2));
        QCOMPARE(answers_->shown()[1].kind, core::MessageKind::Question);
    }

    void blankSheetForSixLanes()
    {
        core::CINIFILE(locations_->get().leagueFolder("Essai") + "DezovuziOptions.ini").writeInt("NombreDeAlles", "Value", 6);
        QCOMPARE(gui::MENU_BLANKSHEET(), draw::BlankSheetOutcome::Printed);
        const QString text = pdfWords(pdf_);
        QVERIFY2(text.contains(QStringLiteral("Allée 6")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Allée 7")));
        QVERIFY(text.contains(QStringLiteral("Date:__________")));
    }

    void blankSheetFromTheMainMenu()
    {
        gui::CSHELLWINDOW window;
        gui::bindDrawPrintCommands(window);
        QVERIFY(window.isCommandEnabled(gui::Command::MENU_BLANKSHEET));
        QVERIFY(window.isCommandEnabled(gui::Command::MENU_REIMPRESSIONDERNIERTIRAGE));
        QVERIFY(window.runCommand(gui::Command::MENU_BLANKSHEET));
        QVERIFY(pdfWords(pdf_).contains(QStringLiteral("Allée 4")));  // the default number of lanes
    }

    void memberListByNumber()
    {
        test::copyFixture("xbase/members-25/membres-2.dbf", folder_);
        test::copyFixture("xbase/members-25/membres-2.cdx", folder_);
        answers_->planAnswer(0);  // "Non": by number
        QVERIFY(gui::printMemberListCommand());
        const QString text = pdfWords(pdf_);
        // Tokens 75, 88, 157 lead the list.
        const int a = text.indexOf(QStringLiteral("LALEMON")), b = text.indexOf(QStringLiteral("TAVIDUSO")),
                  c = text.indexOf(QStringLiteral("HÉLÈNE"));
        QVERIFY2(a >= 0 && a < b && b < c, qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Page 1 / 1")));
    }
};

QTEST_MAIN(PrintCommands)
#include "PrintCommands.moc"
