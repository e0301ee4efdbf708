// The login dialog with its league dialog: the list and the remembered league, entering as normal
// user or administrator, quitting, and creating, renaming and deleting leagues from it.
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "gui/league/LeagueDialog.h"
#include "gui/league/LoginDialog.h"
#include "gui/ui/SingleLineEditEx.h"
#include "guisupport/GuiTestSupport.h"
#include "league/Leagues.h"
#include "league/Password.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <filesystem>

using namespace derode;
using derode::test::control;
namespace fs = std::filesystem;

namespace {
// A run whose data root holds the given leagues, made from the installed templates.
struct Run {
    test::TestLocations where;
    test::ScriptedAnswerer answerer;

    explicit Run(std::initializer_list<const char*> leagues, const char* remembered = nullptr)
    {
        core::session() = core::Session{};
        for (const char* name : leagues)
            league::CREATENEWLIGUE(name);
        if (remembered)
            league::writeRecentLeague(remembered);
        core::session().leagueList = league::readLeagueList();
    }
    std::string remembered() const
    {
        return core::CINIFILE(core::recentLeagueFile()).readString("DerniereLigueUtilise", "NomDeLigue", "<none>");
    }
};

QStringList entries(QComboBox* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

bool entryEnabled(gui::CLOGIN& login)
{
    return control<QPushButton>(&login, "CPUSHNORMALUSER")->isEnabled()
        && control<QPushButton>(&login, "CPUSHADMIN")->isEnabled()
        && control<QPushButton>(&login, "CPUSHMODIFLIGUE")->isEnabled()
        && control<QPushButton>(&login, "CPUSHDELETELIGUE")->isEnabled()
        && control<QLineEdit>(&login, "id103")->isEnabled();
}

// Answers the next league dialog with a password and, when given, a name, then its action.
void answerLeagueDialog(const QString& password, const QString& name = {})
{
    test::onNextModal([password, name](QDialog* d) {
        control<QLineEdit>(d, "id101")->setText(password);
        if (!name.isNull())
            control<QLineEdit>(d, "id104")->setText(name);
        control<QPushButton>(d, "CPUSHSAVEACTION")->click();
    });
}
}  // namespace

class LoginDialogTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunOffersOnlyCreatingAndQuitting()
    {
        Run run({});
        gui::CLOGIN login;
        QCOMPARE(login.windowTitle(), QStringLiteral("Derode-V3, Session"));
        QCOMPARE(login.CURRENTLIGUE(), QString());
        QVERIFY(!control<QPushButton>(&login, "CPUSHNORMALUSER")->isEnabled());
        QVERIFY(!control<QPushButton>(&login, "CPUSHADMIN")->isEnabled());
        QVERIFY(!control<QLineEdit>(&login, "id103")->isEnabled());
        QVERIFY(control<QPushButton>(&login, "CPUSHAJOUTLIGUE")->isEnabled());
        QVERIFY(control<QPushButton>(&login, "QUITBUT")->isEnabled());
        QCOMPARE(core::session().leaguePassword, std::string("MélodiaxRF"));
        QVERIFY(control<QLabel>(&login, "id105")->text().contains(QStringLiteral("[ MélodiaxRF ]")));

        // The first league, with the new-league password; it becomes selected and enterable.
        answerLeagueDialog(QStringLiteral("MélodiaxRF"), QStringLiteral("Lundi"));
        control<QPushButton>(&login, "CPUSHAJOUTLIGUE")->click();
        QCOMPARE(entries(control<QComboBox>(&login, "id107")), QStringList{"Lundi"});
        QCOMPARE(login.CURRENTLIGUE(), QStringLiteral("Lundi"));
        QVERIFY(entryEnabled(login));
        QVERIFY(fs::is_directory(run.where.get().leagueFolder("Lundi") + "PartiesParDates"));
        QVERIFY(run.answerer.shown().empty());
    }

    void opensOnTheRememberedLeagueElseTheFirst_data()
    {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("selected");
        QTest::newRow("remembered") << "Lundi" << "Lundi";
        QTest::newRow("nothing remembered") << "" << "Jeudi";
        QTest::newRow("remembered league gone") << "Mardi" << "Jeudi";
    }
    void opensOnTheRememberedLeagueElseTheFirst()
    {
        QFETCH(QString, remembered);
        std::string name = remembered.toStdString();
        Run run({"Lundi", "Jeudi"}, name.empty() ? nullptr : name.c_str());
        gui::CLOGIN login;
        QCOMPARE(entries(control<QComboBox>(&login, "id107")), (QStringList{"Jeudi", "Lundi"}));
        QTEST(login.CURRENTLIGUE(), "selected");
        QCOMPARE(QString::fromStdString(core::session().currentLeague), login.CURRENTLIGUE());
    }

    void enteringAsAdministratorChecksTheSelectedLeaguesPassword()
    {
        Run run({"Lundi", "Jeudi"}, "Lundi");
        league::writePasswordFile(run.where.get().leagueFolder("Jeudi") + "System.pwd", "Jeudi2026");
        gui::CLOGIN login;
        auto* list = control<QComboBox>(&login, "id107");
        list->setCurrentIndex(0);
        QCOMPARE(core::session().currentLeague, std::string("Jeudi"));

        auto* password = control<QLineEdit>(&login, "id103");
        password->setText(QStringLiteral("MélodiaxRF"));  // Lundi's, not Jeudi's
        login.CPUSHADMIN();
        QCOMPARE(run.answerer.texts(), std::vector<std::string>{"\r\n\r\n\r\nMot de passe invalide"});
        QCOMPARE(run.answerer.shown()[0].kind, core::MessageKind::Error);
        QCOMPARE(password->text(), QStringLiteral("MélodiaxRF"));
        QCOMPARE(run.remembered(), std::string("Lundi"));

        password->setText(QStringLiteral("jeudi2026"));  // letter case counts
        login.CPUSHADMIN();
        QCOMPARE(run.answerer.shown().size(), size_t(2));

        password->setText(QStringLiteral("Jeudi2026"));
        test::onNextModal([](QDialog*) {});
        login.CPUSHADMIN();
        QCOMPARE(login.result(), 2);
        QCOMPARE(run.remembered(), std::string("Jeudi"));
    }

    void masterPasswordNormalUserAndQuit_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("remembered");
        QTest::newRow("master password") << "CPUSHADMIN" << 2 << "Lundi";
        QTest::newRow("normal user") << "CPUSHNORMALUSER" << 1 << "Lundi";
        QTest::newRow("quit") << "QUITBUT" << 0 << "<none>";
        QTest::newRow("Escape") << "escape" << 0 << "<none>";
    }
    void masterPasswordNormalUserAndQuit()
    {
        QFETCH(QString, button);
        Run run({"Lundi"});
        gui::CLOGIN login;
        control<QLineEdit>(&login, "id103")->setText(QString::fromStdString(league::PASSALL()));
        test::onNextModal([button](QDialog* d) {
            if (button == "escape")
                QTest::keyClick(d, Qt::Key_Escape);
            else
                control<QPushButton>(d, button)->click();
        });
        QTEST(login.exec(), "result");
        QFETCH(QString, remembered);
        QCOMPARE(QString::fromStdString(run.remembered()), remembered);
        QVERIFY(run.answerer.shown().empty());
    }

    void passwordDisplayFollowsTheCheckBox()
    {
        Run run({"Lundi"});
        gui::CLOGIN login;
        auto* password = control<QLineEdit>(&login, "id103");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        control<QCheckBox>(&login, "CCHECKBOX1")->setChecked(true);
        QCOMPARE(password->echoMode(), QLineEdit::Normal);
        control<QCheckBox>(&login, "CCHECKBOX1")->setChecked(false);
        QCOMPARE(password->echoMode(), QLineEdit::Password);
    }

    void renameMovesTheLeagueAndKeepsItsPassword()
    {
        Run run({"Lundi", "Jeudi"}, "Lundi");
        gui::CLOGIN login;
        answerLeagueDialog(QStringLiteral("MélodiaxRF"), QStringLiteral("Mardi"));
        control<QPushButton>(&login, "CPUSHMODIFLIGUE")->click();
        QCOMPARE(entries(control<QComboBox>(&login, "id107")), (QStringList{"Jeudi", "Mardi"}));
        QCOMPARE(login.CURRENTLIGUE(), QStringLiteral("Mardi"));
        QCOMPARE(core::session().leaguePassword, std::string("MélodiaxRF"));
        QVERIFY(!fs::exists(run.where.get().leagueFolder("Lundi")));

        // Onto an existing league: refused, nothing changes.
        answerLeagueDialog(QStringLiteral("MélodiaxRF"), QStringLiteral("Jeudi"));
        control<QPushButton>(&login, "CPUSHMODIFLIGUE")->click();
        QCOMPARE(entries(control<QComboBox>(&login, "id107")), (QStringList{"Jeudi", "Mardi"}));
        QCOMPARE(login.CURRENTLIGUE(), QStringLiteral("Mardi"));
        QCOMPARE(run.answerer.shown().size(), size_t(1));
        QVERIFY(fs::exists(run.where.get().leagueFolder("Mardi") + "System.pwd"));
    }

    void deletingTheOnlyLeagueEmptiesTheList()
    {
        Run run({"Lundi"});
        gui::CLOGIN login;
        // A wrong password: the box, nothing deleted.
        answerLeagueDialog(QStringLiteral("lundi"));
        control<QPushButton>(&login, "CPUSHDELETELIGUE")->click();
        QCOMPARE(run.answerer.texts(), std::vector<std::string>{"Le mot de passe est invalide"});
        QCOMPARE(run.answerer.shown()[0].kind, core::MessageKind::PlainError);
        QVERIFY(fs::exists(run.where.get().leagueFolder("Lundi")));

        test::onNextModal([](QDialog* d) {
            QVERIFY(!control<QLineEdit>(d, "id104")->isEnabled());
            QCOMPARE(control<QLineEdit>(d, "id104")->text(), QStringLiteral("Lundi"));
            QCOMPARE(d->windowTitle(), QStringLiteral("Supprimer complètement la ligue existante"));
            control<QLineEdit>(d, "id101")->setText(QStringLiteral("k7m5"));
            control<QPushButton>(d, "CPUSHSAVEACTION")->click();
        });
        control<QPushButton>(&login, "CPUSHDELETELIGUE")->click();
        QCOMPARE(control<QComboBox>(&login, "id107")->count(), 0);
        QVERIFY(!entryEnabled(login));
        QVERIFY(!fs::exists(run.where.get().leagueFolder("Lundi")));
        QCOMPARE(core::session().leaguePassword, std::string("MélodiaxRF"));
    }

    void refusedCharactersAreRemovedWithTheBalloonTip()
    {
        Run run({});
        gui::CREATELIGUE dialog(nullptr, gui::CREATELIGUE::Create);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Création d'une nouvelle ligue"));
        auto* name = control<gui::CSINGLELINEEDITEX>(&dialog, "id104");
        name->setFocus();
        name->setText(QStringLiteral("Ligue/Lundi"));
        QCOMPARE(name->text(), QStringLiteral("LigueLundi"));
        QCOMPARE(name->cursorPosition(), 5);
        QVERIFY(name->isBalloonShown());
        QCOMPARE(name->balloonTitle(), QString());
        QVERIFY(name->balloonText().startsWith(QStringLiteral("Un nom de fichier ne peut contenir")));

        // Typing a valid character takes the tip away; typing a refused one brings it back.
        QTest::keyClick(name, Qt::Key_X);
        QVERIFY(!name->isBalloonShown());
        QTest::keyClicks(name, "?");
        QCOMPARE(name->text(), QStringLiteral("LiguexLundi"));
        QVERIFY(name->isBalloonShown());

        // A pasted text loses one refused character per change; the caret stays at the first.
        name->setText(QStringLiteral("a:b*c?"));
        QCOMPARE(name->text(), QStringLiteral("abc"));
        QCOMPARE(name->cursorPosition(), 1);
        QVERIFY(name->isBalloonShown());
        name->REMOVEEDITBALLOONTIP();
        name->REMOVEEDITBALLOONTIP();
        QVERIFY(!name->isBalloonShown());
        QCOMPARE(dialog.LIGUE(), QStringLiteral("abc"));
    }
};

QTEST_MAIN(LoginDialogTest)
#include "LoginDialogTest.moc"
