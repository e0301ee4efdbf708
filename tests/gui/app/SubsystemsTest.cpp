// The program as the entry point assembles it: every command whose subsystem is built is bound on
// the main window, administrator commands stay closed to a normal user, and the rest stays disabled.
#include "core/Session.h"
#include "gui/app/Subsystems.h"
#include "gui/core/ShellWindow.h"

#include "guisupport/GuiTestSupport.h"

#include <QtTest>

using namespace derode;
using gui::Command;

class SubsystemsTest : public QObject {
    Q_OBJECT
private slots:
    void boundCommandsFollowTheKindOfUser()
    {
        test::TestLocations where;
        const struct {
            Command command;
            bool administrator;
            bool normalUser;
        } cases[] = {
            {Command::MENU_PARTIES_TIRAGES, true, true},
            {Command::MENU_PARTIES_TIRAGES2, true, true},
            {Command::MENU_REIMPRESSIONDERNIERTIRAGE, true, true},
            {Command::MENU_BLANKSHEET, true, true},
            {Command::MENU_OPENMEMBERS, true, true},
            {Command::MENU_CLEANMEMBERS, true, false},
            {Command::MENU_PASSWORD, true, false},
            {Command::MENU_OPTIONS, true, false},
            {Command::MENU_QUIT, true, true},
            // Subsystems not built yet stay disabled for everybody.
            {Command::MENU_ENTRE_POINTS, false, false},
            {Command::MENU_BACKUP, false, false},
        };
        for (bool administrator : {true, false}) {
            core::session() = core::Session {};
            core::session().currentLeague = "Lundi";
            core::session().isAdministrator = administrator;
            gui::CSHELLWINDOW window;
            gui::bindSubsystems(window);
            for (const auto& c : cases) {
                const bool expected = administrator ? c.administrator : c.normalUser;
                QVERIFY2(window.isCommandEnabled(c.command) == expected,
                    qPrintable(QStringLiteral("command %1 for %2")
                                   .arg(gui::commandNumber(c.command))
                                   .arg(administrator ? "administrator" : "normal user")));
            }
        }
    }
};

QTEST_MAIN(SubsystemsTest)
#include "SubsystemsTest.moc"
