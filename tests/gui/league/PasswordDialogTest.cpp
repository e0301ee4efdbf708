// The password change dialog and the administrator confirmation.
#include "core/Session.h"
#include "gui/league/PassAccess.h"
#include "gui/league/PasswordDialog.h"
#include "guisupport/GuiTestSupport.h"
#include "league/Leagues.h"
#include "league/Password.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <filesystem>

using namespace derode;
using derode::test::control;

namespace {
const char* const NOT_SAME =
    "Les deux nouveaux mots de passe ne sont pas identiques, ou n'ont pas le minimum de 6 caractères";

// A run inside the league "Lundi", made from the templates, with its password in memory.
struct Run {
    test::TestLocations where;
    test::ScriptedAnswerer answerer;
    Run()
    {
        core::session() = core::Session{};
        league::CREATENEWLIGUE("Lundi");
        core::session().currentLeague = "Lundi";
        core::session().leaguePassword = league::UNCRYPTEX();
    }
    std::string passwordFile() const { return where.get().leagueFolder("Lundi") + "System.pwd"; }
};

void fill(QDialog& dialog, const QString& current, const QString& fresh, const QString& again)
{
    control<QLineEdit>(&dialog, "id101")->setText(current);
    control<QLineEdit>(&dialog, "id104")->setText(fresh);
    control<QLineEdit>(&dialog, "id105")->setText(again);
}
}  // namespace

class PasswordDialogTest : public QObject {
    Q_OBJECT
private slots:
    void refusedChangesKeepTheDialogAndTheFile_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong current") << "melodiaxRF" << "Boules2026" << "Boules2026"
                                       << "Le mot de passe existant est invalide";
        QTest::newRow("five characters") << "MélodiaxRF" << "Boule" << "Boule" << NOT_SAME;
        QTest::newRow("different") << "MélodiaxRF" << "Boules2026" << "Boules2027" << NOT_SAME;
    }
    void refusedChangesKeepTheDialogAndTheFile()
    {
        QFETCH(QString, current);
        QFETCH(QString, fresh);
        QFETCH(QString, again);
        QFETCH(QString, message);
        Run run;
        gui::CPASSDLG dialog(nullptr);
        dialog.show();
        fill(dialog, current, fresh, again);
        control<QPushButton>(&dialog, "CSAVEBUT")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(run.answerer.texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(run.answerer.shown()[0].caption, std::string("ERREUR"));
        QCOMPARE(league::readPasswordFile(run.passwordFile()), std::string("MélodiaxRF"));
    }

    void aChangeIsStoredAndInForce()
    {
        Run run;
        gui::CPASSDLG dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Changement de mot de passe"));
        fill(dialog, QStringLiteral("k7m5"), QStringLiteral("Boules2026"), QStringLiteral("Boules2026"));
        test::onNextModal([](QDialog* d) { control<QPushButton>(d, "CSAVEBUT")->click(); });
        QCOMPARE(dialog.exec(), 1);
        QVERIFY(run.answerer.shown().empty());
        QCOMPARE(league::readPasswordFile(run.passwordFile()), std::string("Boules2026"));
        QCOMPARE(core::session().leaguePassword, std::string("Boules2026"));
    }

    void aMissingPasswordFileIsReportedButTheChangeHoldsForTheRun()
    {
        Run run;
        std::filesystem::remove(run.passwordFile());
        core::session().leaguePassword = league::UNCRYPTEX();
        gui::CPASSDLG dialog(nullptr);
        fill(dialog, QStringLiteral("Wq8%nGe2Lp!Zd6r"), QStringLiteral("Boules2026"), QStringLiteral("Boules2026"));
        test::onNextModal([](QDialog* d) { control<QPushButton>(d, "CSAVEBUT")->click(); });
        QCOMPARE(dialog.exec(), 1);
        QCOMPARE(run.answerer.shown().size(), size_t(1));
        QVERIFY(!std::filesystem::exists(run.passwordFile()));
        QCOMPARE(core::session().leaguePassword, std::string("Boules2026"));
    }

    void checkBoxAndCancel()
    {
        Run run;
        gui::CPASSDLG dialog(nullptr);
        auto* box = control<QCheckBox>(&dialog, "CCHECKBOX1");
        box->setChecked(true);
        for (const char* name : {"id101", "id104", "id105"})
            QCOMPARE(control<QLineEdit>(&dialog, name)->echoMode(), QLineEdit::Normal);
        box->setChecked(false);
        for (const char* name : {"id101", "id104", "id105"})
            QCOMPARE(control<QLineEdit>(&dialog, name)->echoMode(), QLineEdit::Password);
        fill(dialog, QStringLiteral("k7m5"), QStringLiteral("Boules2026"), QStringLiteral("Boules2026"));
        test::onNextModal([](QDialog* d) { control<QPushButton>(d, "CCANCELBUT")->click(); });
        QCOMPARE(dialog.exec(), 0);
        QCOMPARE(league::readPasswordFile(run.passwordFile()), std::string("MélodiaxRF"));
    }

    void confirmationAcceptsTheLeagueOrMasterPasswordOnly()
    {
        Run run;
        // A wrong password clears the field and keeps the dialog; then the master password passes.
        bool stayed = false;
        test::onNextModal([&stayed](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Confirmation"));
            QCOMPARE(control<QLabel>(d, "id100")->text(), QStringLiteral("Vider la table?\nSûr?"));
            auto* field = control<QLineEdit>(d, "id102");
            field->setText(QStringLiteral("MélodiaxRF "));
            control<QPushButton>(d, "CPUSHOK")->click();
            stayed = d->isVisible() && field->text().isEmpty();
            field->setText(QStringLiteral("k7m5"));
            control<QPushButton>(d, "CPUSHOK")->click();
        });
        QVERIFY(gui::PASSACCESS(nullptr, "Vider la table?\r\nSûr?"));
        QVERIFY(stayed);
        QCOMPARE(run.answerer.texts(), std::vector<std::string>{"Le mot de passe est invalide"});

        test::onNextModal([](QDialog* d) {
            QVERIFY(control<QLabel>(d, "id100")->text().startsWith(QStringLiteral("ATTENTION... Vous allez effacer")));
            control<QLineEdit>(d, "id102")->setText(QStringLiteral("MélodiaxRF"));
            control<QPushButton>(d, "CPUSHCANCEL")->click();
        });
        QVERIFY(!gui::PASSACCESS(nullptr));
        test::onNextModal([](QDialog* d) {
            control<QLineEdit>(d, "id102")->setText(QStringLiteral("MélodiaxRF"));
            control<QPushButton>(d, "CPUSHOK")->click();
        });
        QVERIFY(gui::PASSACCESS(nullptr));
    }
};

QTEST_MAIN(PasswordDialogTest)
#include "PasswordDialogTest.moc"
