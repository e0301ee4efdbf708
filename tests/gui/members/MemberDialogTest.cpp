#include "gui/members/MemberDialog.h"

#include "guisupport/GuiTestSupport.h"
#include "members/MemberRules.h"
#include "members/MemberTestTable.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace derode;
using test::control;
using test::typeText;

class MemberDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestLocations> locations_;
    std::unique_ptr<test::ScriptedAnswerer> answerer_;
    std::string path_;
    std::unique_ptr<engine::CDBSERVEREX> server_;

private slots:
    void init()
    {
        locations_ = std::make_unique<test::TestLocations>();
        answerer_ = std::make_unique<test::ScriptedAnswerer>();
        members::Member captain = test::member("CÔTÉ", "Hélène", 9);
        captain.femme = true;
        captain.capitaine = true;
        captain.telephone = "5145550199";
        const std::string folder =
            test::makeLeague(*locations_, "Dialogue", {test::member("LATRIMOUILLE", "Alfred", 7), captain});
        path_ = folder + members::kMemberTableFile;
        server_ = std::make_unique<engine::CDBSERVEREX>(path_, "", true);
        QVERIFY(server_->used());
    }
    void cleanup()
    {
        server_.reset();
        answerer_.reset();
        locations_.reset();
    }

    void addingNormalisesTheEntryAndSaves()
    {
        gui::CAJOUTMEMBRE dialog(nullptr, *server_, false);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Ajout d'un nouveau membre / joueur"));
        QVERIFY(control<QRadioButton>(&dialog, "CRADIOHOMME")->isChecked());
        QVERIFY(control<QRadioButton>(&dialog, "CRADIOJOUEUR")->isChecked());
        QCOMPARE(control<QLineEdit>(&dialog, "id114")->text(), QStringLiteral("0"));

        typeText(control<QLineEdit>(&dialog, "id103"), QStringLiteral("côté-dubé"));
        QCOMPARE(control<QLineEdit>(&dialog, "id103")->text(), QStringLiteral("CÔTÉ-DUBÉ"));
        typeText(control<QLineEdit>(&dialog, "id104"), QStringLiteral("marie   ève"));
        control<QLineEdit>(&dialog, "id114")->setText(QStringLiteral("12"));
        control<QLineEdit>(&dialog, "id115")->setText(QStringLiteral("9"));
        typeText(control<QLineEdit>(&dialog, "id116"), QStringLiteral("marie@club.ca"));
        control<QRadioButton>(&dialog, "CRADIOFEMME")->click();
        auto* occasional = control<QCheckBox>(&dialog, "CCHECKBOX1");
        occasional->click();
        control<QRadioButton>(&dialog, "CRADIOCAPITAINE")->click();
        QVERIFY(!occasional->isChecked());
        QVERIFY(!occasional->isEnabled());
        control<QRadioButton>(&dialog, "CRADIOJOUEUR")->click();
        QVERIFY(occasional->isEnabled());
        occasional->click();

        control<QPushButton>(&dialog, "CPUSHAJOUT")->click();
        QCOMPARE(dialog.result(), 1);
        QCOMPARE(dialog.savedRecordNumber(), 3u);
        QCOMPARE(dialog.savedDisplayName(), std::string("CÔTÉ-DUBÉ  Marie Ève"));
        QCOMPARE(answerer_->texts(), std::vector<std::string>{members::kAddedText});
        const auto list = test::membersIn(path_);
        QCOMPARE(list.size(), 3u);
        members::Member expected = test::member("CÔTÉ-DUBÉ", "Marie Ève", 12, 9);
        expected.femme = true;
        expected.captOcc = true;
        expected.telephone = "";
        expected.mail = "marie@club.ca";
        QVERIFY(list[2] == expected);
    }

    void refusalsKeepTheDialogOpenWithTheEntry()
    {
        gui::CAJOUTMEMBRE dialog(nullptr, *server_, false);
        dialog.show();
        typeText(control<QLineEdit>(&dialog, "id103"), QStringLiteral("latrimouille"));
        typeText(control<QLineEdit>(&dialog, "id104"), QStringLiteral("al"));
        control<QLineEdit>(&dialog, "id114")->setText(QStringLiteral("7"));
        control<QPushButton>(&dialog, "CPUSHAJOUT")->click();
        control<QLineEdit>(&dialog, "id114")->setText(QStringLiteral("20"));
        control<QPushButton>(&dialog, "CPUSHAJOUT")->click();
        typeText(control<QLineEdit>(&dialog, "id116"), QStringLiteral("al@x"));
        control<QPushButton>(&dialog, "CPUSHAJOUT")->click();

        QVERIFY(dialog.isVisible());
        QCOMPARE(control<QLineEdit>(&dialog, "id104")->text(), QStringLiteral("Al"));
        QCOMPARE(answerer_->texts(),
                 (std::vector<std::string>{members::tokenTakenText(7), members::kNameRefusedText,
                                           "Pas de point, ou point au tout début du domaine (ex: .com) "}));
        QCOMPARE(answerer_->shown()[2].caption, std::string("Courriel ??"));
        QCOMPARE(test::membersIn(path_).size(), 2u);

        control<QPushButton>(&dialog, "CPUSHANNULLE")->click();
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(test::membersIn(path_).size(), 2u);
    }

    void modifyingShowsTheRecordAndAcceptsAnotherMembersToken()
    {
        server_->goTo(2);
        gui::CAJOUTMEMBRE dialog(nullptr, *server_, true);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Modifications d'un membre / joueur existant"));
        QCOMPARE(control<QPushButton>(&dialog, "CPUSHAJOUT")->text(), QStringLiteral("Enregistrer les modifications"));
        QCOMPARE(control<QLineEdit>(&dialog, "id103")->text(), QStringLiteral("CÔTÉ"));
        QCOMPARE(control<QLineEdit>(&dialog, "id104")->text(), QStringLiteral("Hélène"));
        QVERIFY(control<QRadioButton>(&dialog, "CRADIOFEMME")->isChecked());
        QVERIFY(control<QRadioButton>(&dialog, "CRADIOCAPITAINE")->isChecked());
        QVERIFY(!control<QCheckBox>(&dialog, "CCHECKBOX1")->isEnabled());
        QCOMPARE(control<QLineEdit>(&dialog, "id113")->text(), QStringLiteral("514-555-0199"));
        QCOMPARE(control<QLineEdit>(&dialog, "id114")->text(), QStringLiteral("9"));

        control<QLineEdit>(&dialog, "id114")->setText(QStringLiteral("7"));
        control<QPushButton>(&dialog, "CPUSHAJOUT")->click();
        QCOMPARE(dialog.result(), 1);
        QCOMPARE(dialog.savedRecordNumber(), 2u);
        QCOMPARE(answerer_->texts(), std::vector<std::string>{members::kModifiedText});
        const auto list = test::membersIn(path_);
        QCOMPARE(list[1].noJeton, 7);
        QCOMPARE(list[1].telephone, std::string("514-555-0199"));
        QVERIFY(list[1].capitaine);
    }
};

QTEST_MAIN(MemberDialogTest)
#include "MemberDialogTest.moc"
