// The templates of CommonData rendered to PDF with known tables, read back with pdftotext.
#include "guisupport/GuiTestSupport.h"

#include "gui/reports/ReportPainter.h"
#include "reports/Report.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using namespace derode;

namespace {

const fs::path kTemplates = fs::path(DERODE_FIXTURES) / ".." / ".." / "resources" / "CommonData";

QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

std::vector<std::vector<std::string>> readTsv(const fs::path& path)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream s(line);
        std::string cell;
        while (std::getline(s, cell, '\t'))
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

// Record numbers of a tag, in index order, from the fixture's expected keys.
std::vector<int> tagOrder(const std::string& tag)
{
    std::vector<int> order;
    bool inside = false;
    for (const auto& row : readTsv(test::fixture("xbase/members-25/expected-keys.txt"))) {
        if (row.size() >= 2 && row[0] == "tag")
            inside = row[1] == tag;
        else if (inside && !row.empty() && !row[0].empty() && std::isdigit(static_cast<unsigned char>(row[0][0])))
            order.push_back(std::stoi(row[0]));
    }
    return order;
}

}  // namespace

class ReportTemplatesPdf : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestLocations> locations_;
    std::unique_ptr<test::ScriptedAnswerer> answers_;
    std::string league_;

    QString render(const std::string& templateName, const std::string& dataFolder,
                   const std::map<std::string, std::string>& variables, const std::string& order = {})
    {
        const QString pdf = QString::fromStdString(locations_->dir().str() + "out.pdf");
        gui::reports::PdfReportOutput output(pdf);
        reports::Report report(&output);
        report.setDataFolder(dataFolder);
        if (!report.loadTemplate(locations_->get().programFolder, "CommonData\\" + templateName))
            return {};
        for (const auto& [name, value] : variables)
            report.setVariable(name, value);
        if (!order.empty())
            report.setTableProperty("membres", reports::property::Order, order);
        report.setSetting(reports::setting::Copies, "2");
        if (!report.print())
            return QStringLiteral("NOT PRINTED: ") + QString::fromStdString(report.lastError());
        return pdfText(pdf);
    }

private slots:
    void init()
    {
#if !__has_include("engine/Expression.h")
        QSKIP("the table engine's expression evaluator is not in this build yet");
#endif
        locations_ = std::make_unique<test::TestLocations>();
        answers_ = std::make_unique<test::ScriptedAnswerer>();
        league_ = "Essai";
        fs::create_directories(locations_->get().leagueFolder(league_));
        fs::copy(kTemplates, fs::path(locations_->get().commonData()),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    void cleanup()
    {
        answers_.reset();
        locations_.reset();
    }

    void drawSheets()
    {
        const std::string folder = locations_->get().leagueFolder(league_);
        test::copyFixture("xbase/draw/partie1-2.dbf", folder);
        const QString text = render("Partie1-3.RPT", folder, {{"Ligue", "Essai"}, {"_date", "2025-10-01"}, {"Entete", "Pétanque du mardi"}});
        QVERIFY2(!text.startsWith(QStringLiteral("NOT PRINTED")) && !text.isEmpty(), qPrintable(text));
        for (const char* expected :
             {"Pétanque du mardi", "Ligue : Essai", "Date : 2025-10-01", "Allée 1", "Allée 2", "Allée 3",
              "DUPONT JEAN  (cap.)", "GARCIA JOSÉ  (cap.)", "ROUX MARIE  (cap.)", "MARTIN PAUL", "NOËL FRANÇOIS",
              "PETIT LOUIS", "ÇOLAK ZOÉ", "BONNET THÉO  (cap.)", "DUPUIS BRUNO", "Partie 1", "Partie 2", "Page 1 / 1"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!text.contains(QStringLiteral("Allée 4")));
        // Captains come first in their team: lane 1's captain stands above its players.
        QVERIFY(text.indexOf(QStringLiteral("DUPONT JEAN")) < text.indexOf(QStringLiteral("MARTIN PAUL")));
        QVERIFY(text.indexOf(QStringLiteral("MARTIN PAUL")) < text.indexOf(QStringLiteral("NOËL FRANÇOIS")));
    }

    void blankSheet()
    {
        const std::string common = locations_->get().commonData();
        fs::remove(fs::path(common) / "blank.dbf");
        // Any table of three records serves: the sheet only numbers its lanes.
        fs::copy_file(test::fixture("xbase/draw/partie1-2.dbf"), fs::path(common) / "blank.dbf");
        const QString text = render("Blank-2.RPT", common,
                                    {{"_date", "Date:__________"}, {"Entete", "Ligue:________________________________"}});
        QVERIFY2(text.contains(QStringLiteral("Date:__________")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Ligue:________________________________")));
        QVERIFY(text.contains(QStringLiteral("Allée 3")));
        QVERIFY(!text.contains(QStringLiteral("Allée 4")));
        QVERIFY(!text.contains(QStringLiteral("DUPONT")));
    }

    void memberList_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::newRow("by name") << QStringLiteral("NOM-PRENON");
        QTest::newRow("by number") << QStringLiteral("NO_JETON");
    }

    void memberList()
    {
        QFETCH(QString, tag);
        const std::string folder = locations_->get().leagueFolder(league_);
        test::copyFixture("xbase/members-25/membres-2.dbf", folder);
        test::copyFixture("xbase/members-25/membres-2.cdx", folder);
        const QString text = render("ListeMembres.RPT", folder, {{"_entete", "Club de l'Anse"}, {"Ligue", "Essai"}},
                                    tag.toStdString());
        QVERIFY2(text.contains(QStringLiteral("Club de l'Anse")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Ligue : Essai")));
        QVERIFY(text.contains(QStringLiteral("23 membres")));
        QVERIFY(text.contains(QStringLiteral("PRÉNOM")));
        const int pages = text.count(QRegularExpression(QStringLiteral("Page \\d+ / \\d+")));
        QVERIFY(pages >= 1);
        QVERIFY(text.contains(QStringLiteral("Page %1 / %1").arg(pages)));

        // Each printed line is recognised by the member's telephone number.
        std::map<std::string, int> byPhone;
        std::map<int, bool> deleted;
        for (const auto& row : readTsv(test::fixture("xbase/members-25/expected-records.tsv"))) {
            byPhone[row[6]] = std::stoi(row[0]);
            deleted[std::stoi(row[0])] = row[1] == "*";
        }
        std::vector<int> printed;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            for (const auto& [phone, recno] : byPhone)
                if (line.contains(QString::fromStdString(phone)))
                    printed.push_back(recno);
        }
        std::vector<int> expected;
        for (int recno : tagOrder(tag.toStdString()))
            if (!deleted[recno])
                expected.push_back(recno);
        QCOMPARE(printed, expected);
    }
};

QTEST_MAIN(ReportTemplatesPdf)
#include "ReportTemplatesPdf.moc"
