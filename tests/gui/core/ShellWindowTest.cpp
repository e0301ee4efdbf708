// The main window: caption, menu, toolbar and accelerators by user kind, command dispatch from
// the three sources, and the closing question with the stored placement.
#include "core/Registry.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "gui/core/ShellMenu.h"
#include "gui/core/ShellWindow.h"
#include "guisupport/GuiTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include <map>

using namespace derode;
using gui::Command;

namespace {
void setUser(bool administrator)
{
    core::session() = core::Session{};
    core::session().currentLeague = "Lundi";
    core::session().isAdministrator = administrator;
}

QStringList menuTexts(QMenuBar* bar)
{
    QStringList texts;
    for (QAction* top : bar->actions()) {
        texts << top->text();
        if (top->menu())
            for (QAction* entry : top->menu()->actions())
                texts << "  " + entry->text();
    }
    return texts;
}
}  // namespace

class ShellWindowTest : public QObject {
    Q_OBJECT
private slots:
    void captionAndWholeMenuWithoutPlaceholder()
    {
        test::TestLocations where;
        setUser(true);
        gui::CSHELLWINDOW window;
        QCOMPARE(window.windowTitle(), QStringLiteral("[Lundi] Derode-V3, 3 ou 4  joueurs, 2 parties"));
        QStringList texts = menuTexts(window.menuBar());
        QCOMPARE(texts.first(), QStringLiteral("1)- &Tirages des parties"));
        QCOMPARE(texts.last(), QStringLiteral("&Quitter"));
        QVERIFY(texts.contains(QStringLiteral("  &Sommaire des présences\tCtrl+R")));
        QVERIFY(texts.contains(QStringLiteral("  Aide en L&igne (Html-Aide)\tCtrl+F12")));
        QVERIFY(!texts.join('|').contains(QStringLiteral("CallPop")));
        // 6 popups + Quitter, 19 entries without the placeholder.
        QCOMPARE(texts.size(), 7 + 19);
        QCOMPARE(window.timer()->interval(), 500);
        QVERIFY(window.timer()->isActive());

        QAction* reprint = window.menuAction(Command::MENU_REIMPRESSIONDERNIERTIRAGE);
        reprint->showStatusText(&window);
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("Ré-impression du dernier tirage, vérifier la date..."));
    }

    void commandsRunFromMenuToolbarAndAcceleratorOnlyWhenEnabled_data()
    {
        QTest::addColumn<bool>("administrator");
        QTest::newRow("administrator") << true;
        QTest::newRow("normal user") << false;
    }
    void commandsRunFromMenuToolbarAndAcceleratorOnlyWhenEnabled()
    {
        QFETCH(bool, administrator);
        test::TestLocations where;
        setUser(administrator);
        gui::CSHELLWINDOW window;
        std::map<Command, int> runs;
        for (const gui::MenuPopup& popup : gui::SHELLMENU())
            for (const gui::MenuEntry& entry : popup.entries)
                window.bindCommand(entry.command, [&runs, c = entry.command] { ++runs[c]; });
        window.bindCommand(Command::MENU_QUIT, [&runs] { ++runs[Command::MENU_QUIT]; });
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));

        const auto& restricted = gui::administratorCommands();
        for (const gui::MenuPopup& popup : gui::SHELLMENU()) {
            for (const gui::MenuEntry& entry : popup.entries) {
                if (entry.command == Command::MENU_POPARROW1)
                    continue;
                bool allowed = administrator
                    || std::find(restricted.begin(), restricted.end(), entry.command) == restricted.end();
                QAction* action = window.menuAction(entry.command);
                QVERIFY2(action, entry.caption);
                QCOMPARE(action->isEnabled(), allowed);
                if (QAction* tool = window.toolbarAction(entry.command))
                    QCOMPARE(tool->isEnabled(), allowed);
                runs.clear();
                action->trigger();
                QCOMPARE(runs[entry.command], allowed ? 1 : 0);
            }
        }

        // Accelerators issue the same numbers: Ctrl+P (points), Ctrl+T (all standings) are for
        // administrators, Ctrl+G (members) and Ctrl+O (draw) for everyone.
        runs.clear();
        for (auto key : {Qt::Key_P, Qt::Key_T, Qt::Key_G, Qt::Key_O})
            QTest::keyClick(&window, key, Qt::ControlModifier);
        QCOMPARE(runs[Command::MENU_ENTRE_POINTS], administrator ? 1 : 0);
        QCOMPARE(runs[Command::MENU_RAPPORTS_TOTAL], administrator ? 1 : 0);
        QCOMPARE(runs[Command::MENU_OPENMEMBERS], 1);
        QCOMPARE(runs[Command::MENU_PARTIES_TIRAGES], 1);
        QCOMPARE(window.runCommand(Command::MENU_CLEANMEMBERS), administrator);

        // The toolbar: the main part of "Rapports" issues 10010, its drop-down runs the standings
        // and the summary by their own methods.
        auto* reports = window.findChild<QToolButton*>(QStringLiteral("toolbutton10010"));
        QVERIFY(reports);
        QCOMPARE(reports->isEnabled(), administrator);
        QCOMPARE(window.toolbarAction(Command::MENU_OPENMEMBERS)->isEnabled(), true);
        QStringList popup;
        for (QAction* entry : window.reportPopup()->actions())
            popup << entry->text();
        QCOMPARE(popup, (QStringList{"&Hommes", "&Femmes", "&Tous", "&Sommaire des présences"}));
        runs.clear();
        window.reportPopup()->actions().at(1)->trigger();
        QCOMPARE(runs[Command::MENU_RAPPORTS_FEMMES], administrator ? 1 : 0);
        QCOMPARE(runs[Command::MENU_PARTIES_TIRAGES], 0);
        window.hide();
    }

    void anUnboundCommandIsDisabledUntilBound()
    {
        test::TestLocations where;
        setUser(true);
        gui::CSHELLWINDOW window;
        QVERIFY(!window.menuAction(Command::MENU_ABOUT)->isEnabled());
        QVERIFY(!window.runCommand(Command::MENU_AIDE));
        QVERIFY(window.menuAction(Command::MENU_OPTIONS)->isEnabled());
        QVERIFY(window.menuAction(Command::MENU_QUIT)->isEnabled());
        int about = 0;
        window.bindCommand(Command::MENU_ABOUT, [&about] { ++about; });
        QVERIFY(window.menuAction(Command::MENU_ABOUT)->isEnabled());
        QVERIFY(window.runCommand(Command::MENU_ABOUT));
        QCOMPARE(about, 1);
    }

    void closingAsksAndStoresThePlacement_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Non keeps the window, writes nothing") << 0 << QPoint(30, 40) << false << "147,90,568,337,0";
        QTest::newRow("Oui stores the placement") << 1 << QPoint(30, 40) << false << "30,40,600,400,0";
        QTest::newRow("off screen to the left") << 1 << QPoint(-20, 40) << false << "95,72,544,320,0";
        QTest::newRow("maximised keeps the coordinates") << 1 << QPoint(30, 40) << true << "147,90,568,337,1";
    }
    void closingAsksAndStoresThePlacement()
    {
        QFETCH(int, answer);
        QFETCH(QPoint, at);
        QFETCH(bool, maximised);
        test::TestLocations where;
        test::ScriptedAnswerer answerer;
        answerer.planAnswer(answer);
        core::CHECKREGISTERYSTUFF();
        setUser(true);
        gui::CSHELLWINDOW window;
        window.resize(600, 400);
        window.move(at);
        if (maximised)
            window.showMaximized();
        else
            window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.runCommand(Command::MENU_QUIT);

        QCOMPARE(window.isVisible(), answer == 0);
        QCOMPARE(answerer.shown().size(), size_t(1));
        QCOMPARE(answerer.shown()[0].kind, core::MessageKind::Question);
        QCOMPARE(answerer.shown()[0].text,
                 std::string("\r\nFermeture du programme\r\n\r\nAttention, vous allez quitter ce programme."
                             "\r\n\r\nEst-ce bien ce que vous voulez?"));
        core::CLASS_HKCU key;
        key.WORKING_SUBKEY(core::settings::kParametersPath);
        core::WindowPlacement p = core::readWindowPlacement(key);
        QString stored = QStringLiteral("%1,%2,%3,%4,%5").arg(p.x).arg(p.y).arg(p.width).arg(p.height).arg(p.maximised);
        QTEST(stored, "stored");
    }
};

QTEST_MAIN(ShellWindowTest)
#include "ShellWindowTest.moc"
