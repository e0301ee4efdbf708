// The options dialog: the dialog's defaults, the two-digit fields, saving and cancelling.
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "gui/league/OptionDialog.h"
#include "gui/ui/MaskedEdit.h"
#include "guisupport/GuiTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace derode;
using derode::test::control;

namespace {
std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void enterLeague(const test::TestLocations& where, const std::string& league)
{
    std::filesystem::create_directories(where.get().leagueFolder(league));
    core::session().currentLeague = league;
}
}  // namespace

class OptionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheDialogsDefaultsForAMissingFile()
    {
        test::TestLocations where;
        enterLeague(where, "Lundi");
        gui::OPTIONDLG dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(control<QLabel>(&dialog, "id100")->text(), QStringLiteral("Lundi"));
        QCOMPARE(control<QLineEdit>(&dialog, "id110")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLineEdit>(&dialog, "id109")->text(), QStringLiteral("2"));
        QCOMPARE(control<QLineEdit>(&dialog, "id111")->text(), QStringLiteral("12"));
        QCOMPARE(control<QLineEdit>(&dialog, "id102")->text(), QString());
        QCOMPARE(control<QLineEdit>(&dialog, "id112")->text(), QStringLiteral("13"));
        QCOMPARE(control<QPushButton>(&dialog, "CCANCELBUT")->text(), QStringLiteral("Annuller"));
    }

    void twoDigitFieldsTakeOnlyTwoDigits()
    {
        test::TestLocations where;
        enterLeague(where, "Lundi");
        gui::OPTIONDLG dialog(nullptr);
        auto* lanes = control<gui::MaskedEdit>(&dialog, "id111");
        lanes->clear();
        QTest::keyClicks(lanes, "7a-895");
        QCOMPARE(lanes->text(), QStringLiteral("78"));
    }

    void saveWritesTheFiveKeysAndLeavesTheOthers()
    {
        test::TestLocations where;
        enterLeague(where, "Lundi");
        core::CINIFILE ini(core::leagueOptionsFile("Lundi"));
        ini.writeInt("RapportsTirages", "Tirage2Copies", 3);
        ini.writeInt("MaxPointsParPartie", "Max", 11);
        gui::OPTIONDLG dialog(nullptr);
        QCOMPARE(control<QLineEdit>(&dialog, "id112")->text(), QStringLiteral("11"));
        control<QLineEdit>(&dialog, "id111")->clear();
        control<QLineEdit>(&dialog, "id102")->setText(QStringLiteral("Pétanque du Jeudi soir"));
        control<QLineEdit>(&dialog, "id109")->setText(QStringLiteral("0"));
        control<QPushButton>(&dialog, "CSAVEBUT")->click();
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(ini.readInt("NombreDeAlles", "Value", -1), 0);
        QCOMPARE(ini.readInt("RapportsTirages", "Tirage1Copies", -1), 0);
        QCOMPARE(ini.readInt("RapportListMembres", "ListeJoueursCopies", -1), 1);
        QCOMPARE(ini.readInt("MaxPointsParPartie", "Max", -1), 11);
        QCOMPARE(ini.readString("EnteteRapportsPoints", "Nom", "?"), std::string("Pétanque du Jeudi soir"));
        QCOMPARE(ini.readInt("RapportsTirages", "Tirage2Copies", -1), 3);
    }

    void cancelAndEscapeWriteNothing()
    {
        test::TestLocations where;
        enterLeague(where, "Lundi");
        std::string path = core::leagueOptionsFile("Lundi");
        core::CINIFILE(path).writeInt("NombreDeAlles", "Value", 8);
        std::string before = slurp(path);
        {
            gui::OPTIONDLG dialog(nullptr);
            control<QLineEdit>(&dialog, "id111")->setText(QStringLiteral("20"));
            control<QPushButton>(&dialog, "CCANCELBUT")->click();
        }
        {
            gui::OPTIONDLG dialog(nullptr);
            control<QLineEdit>(&dialog, "id111")->setText(QStringLiteral("20"));
            test::onNextModal([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
            QCOMPARE(dialog.exec(), 0);
        }
        QCOMPARE(slurp(path), before);
    }
};

QTEST_MAIN(OptionDialogTest)
#include "OptionDialogTest.moc"
