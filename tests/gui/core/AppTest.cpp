// The start-up sequence: a second copy, quitting the login, and a whole run from the login to
// the closing question with the stored placement.
#include "core/Registry.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "core/SingleInstance.h"
#include "gui/core/App.h"
#include "gui/core/ShellWindow.h"
#include "guisupport/GuiTestSupport.h"
#include "league/Leagues.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace derode;
using derode::test::control;

namespace {
gui::CSHELLWINDOW* shownMainWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* shell = qobject_cast<gui::CSHELLWINDOW*>(top); shell && shell->isVisible())
            return shell;
    return nullptr;
}

core::WindowPlacement storedPlacement()
{
    core::CLASS_HKCU key;
    key.WORKING_SUBKEY(core::settings::kParametersPath);
    return core::readWindowPlacement(key);
}
}  // namespace

class AppTest : public QObject {
    Q_OBJECT
private slots:
    void quittingTheLoginEndsBeforeTheMainWindow()
    {
        test::TestLocations where;
        test::ScriptedAnswerer answerer;
        core::session() = core::Session{};
        gui::CAPP app;
        app.setSingleInstanceLock(where.dir().str() + "derode.lock");
        int setups = 0;
        app.onMainWindow([&setups](gui::CSHELLWINDOW&) { ++setups; });
        test::onNextModal([](QDialog* d) { control<QPushButton>(d, "QUITBUT")->click(); });
        QCOMPARE(app.START(), 0);
        QCOMPARE(setups, 0);
        QVERIFY(!shownMainWindow());
        // The first run prepared the per-user key with its defaults.
        core::WindowPlacement p = storedPlacement();
        QCOMPARE(p.x, 147);
        QCOMPARE(p.height, 337);
    }

    void aWholeRunFromLoginToClosing()
    {
        test::TestLocations where;
        test::ScriptedAnswerer answerer;
        core::session() = core::Session{};
        league::CREATENEWLIGUE("Lundi");
        gui::CAPP app;
        app.setSingleInstanceLock(where.dir().str() + "derode.lock");
        int about = 0;
        app.onMainWindow([&about](gui::CSHELLWINDOW& w) {
            w.bindCommand(gui::Command::MENU_ABOUT, [&about] { ++about; });
        });
        test::onNextModal([](QDialog* d) {
            control<QLineEdit>(d, "id103")->setText(QStringLiteral("MélodiaxRF"));
            control<QPushButton>(d, "CPUSHADMIN")->click();
        });
        QString caption;
        QRect geometry;
        bool optionsEnabled = false;
        QTimer::singleShot(0, [&] {
            // The main window is up once the login has ended: look, then quit with "Oui".
            auto* poll = new QTimer(qApp);
            QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
                gui::CSHELLWINDOW* shell = shownMainWindow();
                if (!shell)
                    return;
                poll->deleteLater();
                caption = shell->windowTitle();
                geometry = QRect(shell->pos(), shell->size());
                optionsEnabled = shell->isCommandEnabled(gui::Command::MENU_OPTIONS);
                shell->runCommand(gui::Command::MENU_ABOUT);
                shell->move(10, 20);
                answerer.planAnswer(1);
                shell->runCommand(gui::Command::MENU_QUIT);
            });
            poll->start(10);
        });
        QCOMPARE(app.START(), 0);
        QCOMPARE(caption, QStringLiteral("[Lundi] Derode-V3, 3 ou 4  joueurs, 2 parties"));
        QCOMPARE(geometry, QRect(147, 90, 568, 337));
        QVERIFY(core::session().isAdministrator);
        QVERIFY(optionsEnabled);
        QCOMPARE(about, 1);
        QCOMPARE(answerer.shown().size(), size_t(1));
        core::WindowPlacement p = storedPlacement();
        QCOMPARE(QRect(p.x, p.y, p.width, p.height), QRect(10, 20, 568, 337));
        QCOMPARE(league::readRecentLeague(), std::string("Lundi"));
    }

    // Last: a login that wrongly came up would be answered by a driver still polling afterwards.
    void aSecondCopyEndsSilently()
    {
        test::TestLocations where;
        test::ScriptedAnswerer answerer;
        std::string lock = where.dir().str() + "derode.lock";
        QVERIFY(!core::ALREADYRUNNING("__derodeV2__", lock));
        gui::CAPP app;
        app.setSingleInstanceLock(lock);
        auto loginShown = std::make_shared<bool>(false);
        test::onNextModal([loginShown](QDialog* d) {
            *loginShown = true;
            d->reject();
        });
        QCOMPARE(app.START(), 0);
        QVERIFY(!*loginShown);
        QVERIFY(answerer.shown().empty());
    }
};

QTEST_MAIN(AppTest)
#include "AppTest.moc"
