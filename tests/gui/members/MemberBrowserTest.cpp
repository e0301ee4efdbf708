#include "gui/members/MemberBrowser.h"

#include "core/Session.h"
#include "guisupport/GuiTestSupport.h"
#include "members/MemberImport.h"
#include "members/MemberTestTable.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace derode;
using test::control;
using test::typeText;

class MemberBrowserTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestLocations> locations_;
    std::unique_ptr<test::ScriptedAnswerer> answerer_;
    std::string folder_;
    std::string path_;

    gui::CCHILDWINDOW* openBrowser()
    {
        auto server = members::openMemberTable(path_, true);
        if (!server)
            return nullptr;
        auto* browser = new gui::CCHILDWINDOW(std::move(server), path_);
        browser->show();
        return browser;
    }
    static QString status(gui::CCHILDWINDOW* browser) { return control<QLabel>(browser, "MEMBERCOUNT")->text(); }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void init()
    {
        locations_ = std::make_unique<test::TestLocations>();
        answerer_ = std::make_unique<test::ScriptedAnswerer>();
        members::Member woman = test::member("BÉLANGER", "Zoé", 2);
        woman.femme = true;
        folder_ = test::makeLeague(*locations_, "Navigateur",
                                   {test::member("ARSENAULT", "Luc", 1), woman, test::member("CYR", "Marc", 3)});
        path_ = folder_ + members::kMemberTableFile;
        core::session().isAdministrator = false;
    }
    void cleanup()
    {
        flushDeletes();
        answerer_.reset();
        locations_.reset();
    }

    void gridAndControlsFollowTheRowAndTheUser()
    {
        QPointer<gui::CCHILDWINDOW> browser = openBrowser();
        QCOMPARE(browser->windowTitle(), QStringLiteral("Membres / Joueurs"));
        QCOMPARE(status(browser), QStringLiteral("Le total de membres est de 3"));
        QTableView* grid = control<QTableView>(browser, "CDATABROWSEREX");
        QCOMPARE(grid->font().family(), QStringLiteral("Arial"));
        QCOMPARE(grid->font().pointSize(), 12);
        QCOMPARE(grid->model()->columnCount(), 9);
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("PRÉNOM"));
        QCOMPARE(grid->model()->index(1, 2).data().toString(), QStringLiteral("✔"));
        QCOMPARE(grid->model()->index(0, 2).data().toString(), QString());
        QCOMPARE(grid->model()->index(0, 4).data().toString(), QStringLiteral("514-555-0101"));

        // A normal user: erase all, import and mail are out of reach; print and mail are not bound yet.
        for (int id : {10002, 10003, 10004, 30014, 10001, 30012})
            QVERIFY2(!browser->action(id)->isEnabled(), qPrintable(QString::number(id)));
        for (int id : {10010, 10011, 30007, 30008})
            QVERIFY(!browser->action(id)->isEnabled());
        for (int id : {10012, 10013, 30009, 30010})
            QVERIFY(browser->action(id)->isEnabled());

        browser->action(30010)->trigger();
        QCOMPARE(browser->currentRow(), 2);
        for (int id : {10012, 10013, 30009, 30010})
            QVERIFY(!browser->action(id)->isEnabled());
        browser->action(10011)->trigger();
        QCOMPARE(browser->currentRow(), 1);
        QCOMPARE(browser->server()->recNo(), 2u);
        for (int id : {10010, 10011, 10012, 10013})
            QVERIFY(browser->action(id)->isEnabled());

        core::session().isAdministrator = true;
        browser->VALIDATECONTROLS();
        for (int id : {10002, 10003, 30014})
            QVERIFY(browser->action(id)->isEnabled());

        browser->action(10005)->trigger();
        flushDeletes();
        QVERIFY(browser.isNull());
    }

    void deletingAsksThenKeepsTheRowNumber()
    {
        QPointer<gui::CCHILDWINDOW> browser = openBrowser();
        browser->action(10012)->trigger();
        answerer_->planAnswer(0);
        browser->action(10009)->trigger();
        QCOMPARE(answerer_->texts(),
                 std::vector<std::string>{"\r\nVous allez effacer \r\n\r\nBÉLANGER  Zoé\r\n\r\nÊtes-vous certain ????"});
        QCOMPARE(browser->memberCount(), 3);

        answerer_->planAnswer(1);
        browser->action(30005)->trigger();
        QCOMPARE(browser->memberCount(), 2);
        QCOMPARE(status(browser), QStringLiteral("Le total de membres est de 2"));
        QCOMPARE(browser->currentRow(), 1);
        QCOMPARE(browser->grid()->model()->index(1, 0).data().toString(), QStringLiteral("CYR"));
        delete browser;
        engine::CDBSERVEREX table(path_, {}, true, true);
        QCOMPARE(table.recCount(), 2u);  // nobody else held it: packed at once
    }

    void addingGoesThroughTheMemberDialog()
    {
        QPointer<gui::CCHILDWINDOW> browser = openBrowser();
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == "cAjoutMembre");
            typeText(control<QLineEdit>(dialog, "id103"), QStringLiteral("dion"));
            typeText(control<QLineEdit>(dialog, "id104"), QStringLiteral("céline"));
            control<QLineEdit>(dialog, "id114")->setText(QStringLiteral("44"));
            control<QPushButton>(dialog, "CPUSHAJOUT")->click();
        });
        browser->action(10007)->trigger();
        QCOMPARE(browser->memberCount(), 4);
        QCOMPARE(browser->currentRow(), 3);
        QCOMPARE(browser->grid()->model()->index(3, 1).data().toString(), QStringLiteral("Céline"));
        QCOMPARE(status(browser), QStringLiteral("Le total de membres est de 4"));
        delete browser;
    }

    void erasingAllNeedsTheAdministratorsConfirmation()
    {
        core::session().isAdministrator = true;
        QPointer<gui::CCHILDWINDOW> browser = openBrowser();
        std::string warning;
        bool confirm = false;
        browser->confirmAdministrator = [&](QWidget*, const std::string& text) {
            warning = text;
            return confirm;
        };
        browser->action(30014)->trigger();
        QCOMPARE(warning, std::string("ATTENTION, vous allez effacer TOUTE la base de données.\r\n\r\nVOUS DEVEZ ÊTRE "
                                      "CERTAIN de ce que vous faites...\r\n\r\nÊtes-vous d'accord????"));
        QCOMPARE(test::membersIn(path_).size(), 3u);
        confirm = true;
        browser->action(10002)->trigger();
        flushDeletes();
        QVERIFY(browser.isNull());
        QVERIFY(test::membersIn(path_).empty());
    }

    void importingReplacesTheRegisterOrRefusesAWrongFile()
    {
        core::session().isAdministrator = true;
        core::session().currentLeague = "Navigateur";
        const std::string other = test::makeLeague(*locations_, "Autre", {test::member("AUTRE", "Ligue", 8)});
        core::session().currentLeague = "Navigateur";
        QPointer<gui::CCHILDWINDOW> browser = openBrowser();
        std::string warning;
        std::string chosen = folder_ + "absent.dbf";
        browser->confirmAdministrator = [&](QWidget*, const std::string& text) {
            warning = text;
            return true;
        };
        browser->chooseImportTable = [&](QWidget*) { return chosen; };

        browser->action(10003)->trigger();
        QCOMPARE(warning, members::importWarningText("Navigateur"));
        QCOMPARE(answerer_->texts(), std::vector<std::string>{members::kWrongFileText});
        QVERIFY(!browser.isNull());
        QCOMPARE(browser->memberCount(), 3);
        QVERIFY(browser->server() && browser->server()->used());

        chosen = other + members::kMemberTableFile;
        browser->action(10003)->trigger();
        flushDeletes();
        QVERIFY(browser.isNull());
        const auto list = test::membersIn(path_);
        QCOMPARE(list.size(), 1u);
        QCOMPARE(list[0].nom, std::string("AUTRE"));
    }

    void theWheelScrollsThreeLinesPerNotch()
    {
        {
            engine::CDBSERVEREX table(path_, {}, false);
            for (int i = 0; i < 40; ++i) {
                QVERIFY(table.append());
                QVERIFY(members::writeMember(table, test::member("NOM" + std::to_string(i), "P", 10 + i)));
            }
        }
        QPointer<gui::CCHILDWINDOW> browser = openBrowser();
        browser->resize(600, 300);
        QTableView* grid = browser->grid();
        QScrollBar* bar = grid->verticalScrollBar();
        QVERIFY(bar->maximum() > 6);
        bar->setValue(0);
        auto wheel = [&](int delta) {
            QWheelEvent event(QPointF(10, 10), grid->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(grid->viewport(), &event);
        };
        wheel(-120);
        QCOMPARE(bar->value(), 3);
        wheel(-240);
        QCOMPARE(bar->value(), 9);
        wheel(120);
        QCOMPARE(bar->value(), 6);
        delete browser;
    }

    void openingFromTheMainWindow()
    {
        QMdiArea area;
        area.show();
        core::session().currentLeague = "Navigateur";
        gui::CCHILDWINDOW* browser = gui::MENU_OPENMEMBERS(&area);
        QVERIFY(browser);
        QCOMPARE(area.subWindowList().size(), 1);
        QVERIFY(area.subWindowList()[0]->isMaximized());
        QCOMPARE(area.subWindowList()[0]->windowTitle(), QStringLiteral("Membres / Joueurs"));

        core::session().currentLeague = "Inexistante";
        QVERIFY(!gui::MENU_OPENMEMBERS(&area));
        QCOMPARE(answerer_->texts(), std::vector<std::string>{members::kCannotOpenText});
        QCOMPARE(area.subWindowList().size(), 1);
    }
};

QTEST_MAIN(MemberBrowserTest)
#include "MemberBrowserTest.moc"
