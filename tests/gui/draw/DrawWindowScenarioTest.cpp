// The draw window as the organiser meets it, opened from the menu command on a league folder:
// registration by token number on 8 lanes, the rule's message, draw, redraw, the close guard,
// then the window refilled from the last draw.
#include "core/Locations.h"
#include "core/Session.h"
#include "draw/DrawFileStore.h"
#include "draw/FeasibilityRules.h"
#include "draw/LanesOption.h"
#include "engine/DbServer.h"
#include "engine/Templates.h"
#include "gui/draw/DrawWindow.h"
#include "gui/draw/DrawWindowOpen.h"
#include "guisupport/GuiTestSupport.h"
#include "members/Member.h"
#include "members/MemberTable.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace derode;
using test::control;

namespace {

gui::CWINTIRAGE* openWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<gui::CWINTIRAGE*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

QString label(QWidget* window, int id) { return control<QLabel>(window, QStringLiteral("id%1").arg(id))->text(); }

void typeToken(QWidget* window, int token)
{
    auto* field = control<QLineEdit>(window, QStringLiteral("id120"));
    field->selectAll();
    QTest::keyClicks(field, QString::number(token));
    QTest::keyClick(field, Qt::Key_Return);
}

}  // namespace

class DrawWindowScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void registerDrawCloseAndRefill()
    {
        test::TestLocations locations;
        test::ScriptedAnswerer answers;
        core::session().currentLeague = "Ligue";
        const std::string folder = locations.get().leagueFolder("Ligue");
        std::filesystem::create_directories(folder);
        {
            const std::string path = folder + members::kMemberTableFile;
            QVERIFY(members::createMemberTable(path));
            engine::CDBSERVEREX table(path, {}, false);
            for (int token = 1; token <= 40; ++token) {
                members::Member m;
                m.nom = "NOM" + std::to_string(token);
                m.prenom = "Prénom";
                m.noJeton = token;
                m.capitaine = token <= 8;
                m.noConjoin = token == 9 ? 10 : 0;
                QVERIFY(table.append());
                QVERIFY(members::writeMember(table, m));
            }
        }
        const std::string drawFile = draw::currentDrawFilePath(folder);
        QVERIFY(engine::createFromLayout(drawFile, engine::drawTableLayout()));
        QVERIFY(draw::writeLanes(folder, 8));

        bool checked = false;
        QTimer::singleShot(0, [&] {
            QWidget* window = openWindow();
            QVERIFY(window);
            QCOMPARE(label(window, 122), QStringLiteral("/ 64"));
            control<QCheckBox>(window, "CCHECKBOX1")->setChecked(true);
            for (int token = 1; token <= 30; ++token)
                typeToken(window, token);
            QCOMPARE(label(window, 123), QStringLiteral("8"));
            QCOMPARE(label(window, 124), QStringLiteral("22"));
            QCOMPARE(label(window, 125), QStringLiteral("30"));
            QVERIFY(answers.shown().empty());

            QTest::mouseClick(control<QPushButton>(window, "CPUSHVERIFIERTIRAGE"), Qt::LeftButton);
            QCOMPARE(answers.texts(), std::vector<std::string>{draw::TESTTIRAGE(8, 22, 8).message});
            QVERIFY(answers.texts()[0].ends_with("cela évitera 6 équipes à 4 joueurs"));
            std::vector<draw::DrawRecord> records;
            QVERIFY(draw::readDrawFile(drawFile, records));
            QCOMPARE(records.size(), std::size_t(4));
            QTest::mouseClick(control<QPushButton>(window, "CPUSHVERIFIERTIRAGE"), Qt::LeftButton);
            QCOMPARE(answers.shown().size(), std::size_t(2));
            QVERIFY(draw::readDrawFile(drawFile, records));
            QCOMPARE(records.size(), std::size_t(4));
            int lanesOfFour = 0;
            for (const auto& r : records)
                lanesOfFour += !r.names[3].empty();
            QCOMPARE(lanesOfFour, 3);

            QTest::mouseClick(control<QPushButton>(window, "CPUSHCLOSEWINDOW"), Qt::LeftButton);  // "Oui"
            QCOMPARE(answers.shown().back().text, draw::messages::closeWithoutPrinting());
            checked = true;
        });
        QCOMPARE(gui::openDrawWindow(nullptr, false), 1);
        QVERIFY(checked);

        // Refilled from the last draw: the same people in the same roles, printable at once.
        gui::setDrawPrintCommand([](gui::CWINTIRAGE&) { return false; });
        answers.clear();
        checked = false;
        QTimer::singleShot(0, [&] {
            QWidget* window = openWindow();
            QVERIFY(window);
            QCOMPARE(label(window, 123), QStringLiteral("8"));
            QCOMPARE(label(window, 124), QStringLiteral("22"));
            QVERIFY(control<QPushButton>(window, "CPUSHIMPRIMERTIRAGES")->isEnabled());
            QVERIFY(window->windowTitle().startsWith(QStringLiteral("[Ligue] Tirages des parties 1 et 2 du ")));
            auto* captains = control<QTreeWidget>(window, "id107");
            QCOMPARE(captains->topLevelItem(0)->text(0), QStringLiteral("NOM1  Prénom"));
            QVERIFY(answers.shown().empty());
            QTest::mouseClick(control<QPushButton>(window, "CPUSHCLOSEWINDOW"), Qt::LeftButton);
            checked = true;
        });
        QCOMPARE(gui::openDrawWindow(nullptr, true), 1);
        QVERIFY(checked);
        gui::setDrawPrintCommand({});

        // Without a member table nothing opens.
        std::filesystem::remove(folder + members::kMemberTableFile);
        answers.clear();
        QCOMPARE(gui::openDrawWindow(nullptr, false), 0);
        QCOMPARE(answers.shown().size(), std::size_t(1));
        QCOMPARE(answers.shown()[0].text, draw::messages::memberTableOpenFailed());
        QCOMPARE(answers.shown()[0].kind, core::MessageKind::Error);
    }
};

QTEST_MAIN(DrawWindowScenarioTest)
#include "DrawWindowScenarioTest.moc"
