// The draw window driven through its controls: limits, duplicates, token entry, confirmations,
// the lanes box and the close guard.
#include "core/IniFile.h"
#include "draw/LanesOption.h"
#include "gui/draw/DrawWindow.h"
#include "guisupport/GuiTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

using namespace derode;
using gui::CWINTIRAGE;
using test::control;

namespace {

// 60 members, tokens 1..60, the first twenty regular captains; listed from the highest token.
std::vector<draw::MemberRow> someMembers()
{
    std::vector<draw::MemberRow> rows;
    for (int i = 60; i >= 1; --i) {
        draw::MemberRow row;
        row.name = QStringLiteral("NOM%1  Prénom").arg(i, 2, 10, QLatin1Char('0')).toStdString();
        row.token = std::to_string(i);
        row.captain = i <= 20;
        rows.push_back(row);
    }
    return rows;
}

struct Window {
    explicit Window(int lanes, gui::DrawWindowActions actions = {})
    {
        auto registration = std::make_unique<draw::DrawRegistration>(dir.str(), lanes);
        registration->setMembers(someMembers());
        window = std::make_unique<CWINTIRAGE>(std::move(registration), std::move(actions), "Ligue", false);
        window->show();
    }
    QTreeWidget* list(int id) { return control<QTreeWidget>(window.get(), QStringLiteral("id%1").arg(id)); }
    QString label(int id) { return control<QLabel>(window.get(), QStringLiteral("id%1").arg(id))->text(); }
    QPushButton* button(const char* name) { return control<QPushButton>(window.get(), QLatin1String(name)); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void selectToken(int token)
    {
        QTreeWidget* members = list(106);
        for (int i = 0; i < members->topLevelItemCount(); ++i)
            if (members->topLevelItem(i)->text(3) == QString::number(token))
                members->setCurrentItem(members->topLevelItem(i));
    }
    void typeToken(const QString& text)
    {
        auto* field = control<QLineEdit>(window.get(), QStringLiteral("id120"));
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    test::TempDir dir;
    test::ScriptedAnswerer answers;
    std::unique_ptr<CWINTIRAGE> window;
};

}  // namespace

class DrawWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsControls()
    {
        Window w(4);
        QCOMPARE(w.list(106)->topLevelItemCount(), 60);
        QCOMPARE(w.list(106)->columnCount(), 5);
        QCOMPARE(w.list(106)->headerItem()->text(2), QStringLiteral("Choisi(e)"));
        QCOMPARE(w.list(107)->headerItem()->text(3), QStringLiteral("Capt_Occ"));
        QVERIFY(w.window->windowTitle().startsWith(QStringLiteral("[Ligue] Tirages des parties 1 et 2 du ")));
        QCOMPARE(w.label(122), QStringLiteral("/ 32"));
        QCOMPARE(control<QComboBox>(w.window.get(), "id126")->currentText(), QStringLiteral("04"));
        QVERIFY(!control<QLineEdit>(w.window.get(), "id120")->isEnabled());
        QVERIFY(!w.button("CPUSHOKJETON")->isEnabled());
        QVERIFY(!w.button("CPUSHIMPRIMERTIRAGES")->isEnabled());
        QCOMPARE(w.list(106)->currentItem(), w.list(106)->topLevelItem(0));
    }

    void listsKeepTheirColumnsInViewWithoutSideScrolling()
    {
        Window w(4);
        for (QSize size : {QSize(1030, 560), QSize(760, 480)}) {
            w.window->resize(size);
            QCoreApplication::processEvents();
            for (int id : {106, 107, 108}) {
                QTreeWidget* list = w.list(id);
                QHeaderView* header = list->header();
                QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
                QCOMPARE(header->length(), list->viewport()->width());
                // The name column stays four times as wide as the status column.
                QVERIFY2(qAbs(header->sectionSize(0) - 4 * header->sectionSize(1)) <= 8,
                         qPrintable(QStringLiteral("%1: %2 / %3").arg(id).arg(header->sectionSize(0)).arg(header->sectionSize(1))));
            }
        }
    }

    void limitsAndDuplicates()
    {
        Window w(4);
        for (int token = 1; token <= 8; ++token) {
            w.selectToken(token);
            w.click("CPUSHCAPITAINEPLUS");
        }
        QVERIFY(w.answers.shown().empty());
        w.selectToken(9);
        w.click("CPUSHCAPITAINEPLUS");
        QCOMPARE(w.answers.texts().back(), draw::messages::captainLimit(8));
        QCOMPARE(w.label(123), QStringLiteral("8"));

        // A registered member is refused in either role.
        w.selectToken(3);
        QCOMPARE(w.list(106)->currentItem()->text(2), QStringLiteral("P"));
        w.click("CPUSHJOUEURPLUS");
        QCOMPARE(w.answers.texts().back(), std::string("\r\n\r\n\r\nCe membre a déja été sélectionné..."));
        QCOMPARE(w.list(108)->topLevelItemCount(), 0);

        // Double click registers in the member's own role; a second time is refused.
        QTreeWidget* members = w.list(106);
        for (int token = 21; token <= 44; ++token) {
            w.selectToken(token);
            emit members->itemDoubleClicked(members->currentItem(), 0);
        }
        QCOMPARE(w.label(124), QStringLiteral("24"));
        QCOMPARE(w.label(125), QStringLiteral("32"));
        w.answers.clear();
        w.selectToken(45);
        w.click("CPUSHJOUEURPLUS");
        QCOMPARE(w.answers.texts(), std::vector<std::string>{draw::messages::peopleLimit(32)});


        // Six lanes: "/ 48", stored in the options file, and room for more.
        auto* lanes = control<QComboBox>(w.window.get(), "id126");
        lanes->setCurrentIndex(2);
        emit lanes->activated(2);
        QCOMPARE(w.label(122), QStringLiteral("/ 48"));
        QCOMPARE(draw::readLanes(w.dir.str()), 6);
        w.selectToken(45);
        w.click("CPUSHJOUEURPLUS");
        QCOMPARE(w.label(125), QStringLiteral("33"));
    }

    void registersByTokenNumber()
    {
        Window w(4);
        auto* check = control<QCheckBox>(w.window.get(), "CCHECKBOX1");
        check->setChecked(true);
        auto* field = control<QLineEdit>(w.window.get(), "id120");
        QVERIFY(field->isEnabled());
        QCOMPARE(field->text(), QStringLiteral("0"));

        w.typeToken(QStringLiteral("7"));    // a regular captain
        w.typeToken(QStringLiteral("031"));  // a regular player
        w.typeToken(QStringLiteral("07"));   // the same captain again
        QCOMPARE(w.list(107)->topLevelItemCount(), 1);
        QCOMPARE(w.list(107)->topLevelItem(0)->text(2), QStringLiteral("7"));
        QCOMPARE(w.list(108)->topLevelItem(0)->text(2), QStringLiteral("31"));
        QCOMPARE(w.answers.texts(), std::vector<std::string>{"\r\n\r\n\r\nCe membre a déja été sélectionné..."});

        w.typeToken(QStringLiteral("99"));
        QCOMPARE(w.answers.shown().back().text, std::string("Ce # de jeton n'existe pas, recommencez..."));
        QCOMPARE(w.answers.shown().back().caption, std::string("INFO"));
        QCOMPARE(field->text(), QStringLiteral("0"));
        QCOMPARE(field->selectedText(), QStringLiteral("0"));

        check->setChecked(false);
        QVERIFY(!field->isEnabled());
    }

    void promoteAndDemoteAskFirst()
    {
        Window w(4);
        w.selectToken(30);
        w.click("CPUSHJOUEURPLUS");
        w.list(108)->setCurrentItem(w.list(108)->topLevelItem(0));
        w.answers.planAnswer(0);
        w.click("CPUSHMONTEJOUEUR");
        QCOMPARE(w.answers.texts().back(), std::string("\r\n\r\n\r\nVoulez-vous monter [NOM30  Prénom] comme capitaine ?"));
        QCOMPARE(w.list(108)->topLevelItemCount(), 1);
        w.answers.planAnswer(1);
        w.click("CPUSHMONTEJOUEUR");
        QCOMPARE(w.list(107)->topLevelItemCount(), 1);
        QCOMPARE(w.list(108)->topLevelItemCount(), 0);

        w.list(107)->setCurrentItem(w.list(107)->topLevelItem(0));
        w.answers.planAnswer(1);
        w.click("CPUSHDESCENDREJOUEUR");
        QCOMPARE(w.answers.texts().back(), std::string("\r\n\r\n\r\nVoulez-vous descendre [NOM30  Prénom] comme joueur ?"));
        QCOMPARE(w.label(124), QStringLiteral("1"));

        w.list(108)->setCurrentItem(w.list(108)->topLevelItem(0));
        w.answers.planAnswer(1);
        w.click("CPUSHJOUEURMOINS");
        QCOMPARE(w.label(125), QStringLiteral("0"));
        QCOMPARE(w.list(106)->currentItem()->text(3), QStringLiteral("30"));
        QCOMPARE(w.list(106)->currentItem()->text(2), QString());

        w.answers.clear();
        w.click("CPUSHDESCENDREJOUEUR");
        QCOMPARE(w.answers.texts(), std::vector<std::string>{draw::messages::noCaptainSelectedToDemote()});
    }

    void closeGuardAsksUntilPrinted()
    {
        int draws = 0;
        gui::DrawWindowActions actions;
        actions.draw = [&](draw::DrawRegistration&) { return ++draws > 0; };
        int prints = 0;
        gui::setDrawPrintCommand([&](CWINTIRAGE&) { return ++prints > 0; });
        Window w(4, actions);

        w.answers.planAnswer(0);
        w.click("CPUSHCLOSEWINDOW");  // asks, "Non"
        QCOMPARE(w.answers.texts(), std::vector<std::string>{draw::messages::closeWithoutPrinting()});
        w.click("CPUSHCLOSEWINDOW");  // does nothing
        QCOMPARE(w.answers.shown().size(), std::size_t(1));
        QVERIFY(w.window->isVisible());

        w.click("CPUSHVERIFIERTIRAGE");
        QCOMPARE(draws, 1);
        QVERIFY(w.button("CPUSHIMPRIMERTIRAGES")->isEnabled());
        w.click("CPUSHIMPRIMERTIRAGES");
        QCOMPARE(prints, 1);

        // After a selection the print is forgotten: the guard asks again.
        w.list(106)->setCurrentItem(w.list(106)->topLevelItem(3));
        w.answers.planAnswer(1);
        w.click("CPUSHCLOSEWINDOW");
        QCOMPARE(w.answers.shown().size(), std::size_t(2));
        QVERIFY(!w.window->isVisible());
        QCOMPARE(w.window->result(), 1);
        gui::setDrawPrintCommand({});
    }

    void printedDrawClosesWithoutQuestion()
    {
        gui::DrawWindowActions actions;
        actions.draw = [](draw::DrawRegistration&) { return true; };
        gui::setDrawPrintCommand([](CWINTIRAGE&) { return true; });
        Window w(4, actions);
        w.click("CPUSHVERIFIERTIRAGE");
        w.click("CPUSHIMPRIMERTIRAGES");
        w.click("CPUSHCLOSEWINDOW");
        QVERIFY(w.answers.shown().empty());
        QVERIFY(!w.window->isVisible());
        gui::setDrawPrintCommand({});

        // Without a print command the print button stays disabled, even after a draw.
        Window other(4, actions);
        other.click("CPUSHVERIFIERTIRAGE");
        QVERIFY(!other.button("CPUSHIMPRIMERTIRAGES")->isEnabled());
    }

    void newMemberAndFirstLetter()
    {
        gui::DrawWindowActions actions;
        actions.addMember = [](QWidget*) {
            return std::optional<draw::MemberRow>(draw::MemberRow{"BERGER  Anne", false, "61", false, true, false});
        };
        Window w(4, actions);
        w.click("CPUSHAJOUTMEMBRE");
        QTreeWidget* members = w.list(106);
        QCOMPARE(members->topLevelItemCount(), 61);
        QCOMPARE(members->topLevelItem(0)->text(0), QStringLiteral("BERGER  Anne"));
        QCOMPARE(members->currentItem(), members->topLevelItem(0));

        members->setCurrentItem(members->topLevelItem(30));
        members->setFocus();
        QTest::keyClick(members, 'b');
        QCOMPARE(members->currentItem(), members->topLevelItem(0));
        QTest::keyClick(members, 'n');
        QCOMPARE(members->currentItem(), members->topLevelItem(1));
    }
};

QTEST_MAIN(DrawWindowTest)
#include "DrawWindowTest.moc"
