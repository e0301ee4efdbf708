// The templates of CommonData rendered to PDF with known tables, read back with pdftotext.
#include "guisupport/GuiTestSupport.h"

#include "gui/reports/ReportPainter.h"
#include "engine/DbServer.h"
#include "engine/Templates.h"
#include "reports/Report.h"

#include <QRegularExpression>
#include <QTest>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using namespace derode;
using test::pdfText;

namespace {

const fs::path kTemplates = fs::path(DERODE_FIXTURES) / ".." / ".." / "resources" / "CommonData";

// Record numbers of a tag, in index order, from the fixture's expected keys.
std::vector<int> tagOrder(const std::string& tag)
{
    std::vector<int> order;
    bool inside = false;
    for (const auto& row : test::readTsv(test::fixture("xbase/members-25/expected-keys.txt"))) {
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
        gui::PdfReportOutput output(pdf);
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
        const QString text = pdfText(pdf);
        if (qEnvironmentVariableIsSet("DERODE_KEEP_PDF_TEXT"))
            qDebug().noquote() << text;
        return text;
    }

private slots:
    void init()
    {
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
        const QString flat = text.simplified();  // pdftotext does not keep runs of blanks
        for (const char* expected :
             {"Pétanque du mardi", "Ligue : Essai", "Date : 2025-10-01", "Allée 1", "Allée 2", "Allée 3",
              "DUPONT JEAN (cap.)", "GARCIA JOSÉ (cap.)", "ROUX MARIE (cap.)", "MARTIN PAUL", "NOËL FRANÇOIS",
              "PETIT LOUIS", "ÇOLAK ZOÉ", "BONNET THÉO (cap.)", "DUPUIS BRUNO", "Partie 1", "Partie 2", "Page 1 / 1"})
            QVERIFY2(flat.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!flat.contains(QStringLiteral("Allée 4")));
        // Lane 3 has no second team: no captain mark without a captain.
        QCOMPARE(flat.count(QStringLiteral("(cap.)")), 5);
        // Captains come first in their team, the fourth member last.
        QVERIFY(flat.indexOf(QStringLiteral("DUPONT JEAN")) < flat.indexOf(QStringLiteral("MARTIN PAUL")));
        QVERIFY(flat.indexOf(QStringLiteral("BÉRANGER ÉLODIE")) < flat.indexOf(QStringLiteral("NOËL FRANÇOIS")));
    }

    void drawSheetsOnSeveralPages()
    {
        const std::string folder = locations_->get().leagueFolder(league_);
        {
            QVERIFY(engine::createFromLayout(folder + "partie1-2.dbf", engine::drawTableLayout()));
            engine::CDBSERVEREX draw(folder + "partie1-2.dbf", {}, false);
            QVERIFY(draw.used());
            for (int lane = 1; lane <= 9; ++lane) {
                QVERIFY(draw.append());
                draw.fieldPut(1, std::string("CAPITAINE") + std::to_string(lane));
                draw.fieldPut(5, std::string("ADVERSAIRE") + std::to_string(lane));
            }
            draw.close();
        }
        const QString text = render("Partie1-3.RPT", folder, {{"Ligue", "Essai"}, {"_date", "2025-10-01"}, {"Entete", "Pétanque"}});
        // Four lanes per page: lanes 1-4, 5-8, 9, each page with its heading and number.
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY2(pages.size() >= 3, qPrintable(text));
        QVERIFY(pages[0].contains(QStringLiteral("Page 1 / 3")) && pages[0].contains(QStringLiteral("CAPITAINE4")));
        QVERIFY(pages[1].contains(QStringLiteral("Page 2 / 3")) && pages[1].contains(QStringLiteral("ADVERSAIRE5")));
        QVERIFY(pages[2].contains(QStringLiteral("Page 3 / 3")) && pages[2].contains(QStringLiteral("Allée 9")));
        QVERIFY(pages[2].contains(QStringLiteral("Ligue : Essai")));
        QVERIFY(!pages[0].contains(QStringLiteral("Allée 5")));
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
        QVERIFY(text.contains(QStringLiteral("051-138-3653")));  // the telephone as the grid shows it
        const int pages = text.count(QRegularExpression(QStringLiteral("Page \\d+ / \\d+")));
        QVERIFY(pages >= 1);
        QVERIFY(text.contains(QStringLiteral("Page %1 / %1").arg(pages)));

        // Each printed line is recognised by the member's mail address, or telephone without one.
        std::map<QString, int> byKey;
        std::map<int, bool> deleted;
        for (const auto& row : test::readTsv(test::fixture("xbase/members-25/expected-records.tsv"))) {
            const std::string& key = row.size() > 9 && !row[9].empty() ? row[9] : row[6];
            QVERIFY(!key.empty() || row[1] == "*");
            if (!key.empty())
                byKey[QString::fromStdString(key)] = std::stoi(row[0]);
            deleted[std::stoi(row[0])] = row[1] == "*";
        }
        std::vector<int> printed;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            for (QString word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                if (auto it = byKey.find(word.contains(QLatin1Char('@')) ? word : word.remove(QLatin1Char('-')));
                    it != byKey.end())
                    printed.push_back(it->second);
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
