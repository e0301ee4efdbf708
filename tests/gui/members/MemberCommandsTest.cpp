// The member register on the main window: the upgrade at the end of its creation, the browser
// opened in its MDI area, and maintenance refused while the browser holds the table.
#include "gui/core/ShellWindow.h"
#include "gui/members/MemberCommands.h"

#include "guisupport/GuiTestSupport.h"
#include "members/MemberMaintenance.h"
#include "members/MemberTestTable.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

using namespace derode;

class MemberCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void upgradeBrowserAndMaintenanceFromTheMainWindow()
    {
        test::TestLocations locations;
        test::ScriptedAnswerer answerer;
        core::session() = core::Session{};
        core::session().isAdministrator = true;
        const std::string folder = locations.get().leagueFolder("Lundi");
        std::filesystem::create_directories(folder);
        core::session().currentLeague = "Lundi";
        std::vector<engine::FieldDef> eight = members::memberFields();
        eight.pop_back();
        const std::string path = folder + members::kMemberTableFile;
        QVERIFY(engine::createTable(path, eight));
        {
            engine::CDBSERVEREX table(path, {}, false);
            QVERIFY(table.append());
            QVERIFY(table.fieldPut("NOM", std::string("dupuis")));
            QVERIFY(table.fieldPut("NO_JETON", 3.0));
            table.commit();
        }

        gui::CSHELLWINDOW window;
        gui::bindMemberCommands(window);
        QVERIFY(window.finishStartup());
        {
            engine::CDBSERVEREX table(path, {}, true, true);
            QCOMPARE(table.fieldCount(), 9);
        }

        QVERIFY(window.runCommand(gui::Command::MENU_OPENMEMBERS));
        QCOMPARE(window.mdiArea()->subWindowList().size(), 1);
        QVERIFY(window.runCommand(gui::Command::MENU_CLEANMEMBERS));
        QCOMPARE(answerer.texts(), std::vector<std::string>{members::kCannotOpenText});

        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        answerer.clear();
        QVERIFY(window.runCommand(gui::Command::MENU_CLEANMEMBERS));
        QCOMPARE(answerer.texts(), std::vector<std::string>{members::kMaintenanceDoneText});
        QCOMPARE(test::membersIn(path)[0].nom, std::string("DUPUIS"));
    }
};

QTEST_MAIN(MemberCommandsTest)
#include "MemberCommandsTest.moc"
