// The program's message box: its kinds, captions, buttons, icons and results, and the production
// presenter behind the message seam.
#include "core/Messages.h"
#include "gui/core/InfoBox.h"
#include "gui/core/WidgetMessagePresenter.h"
#include "guisupport/GuiTestSupport.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace derode;
using derode::test::control;

namespace {
struct Shown {
    QString caption, ok, text;
    bool noVisible = false, informationVisible = false, questionVisible = false;
    int fontSize = 0;
};

Shown look(QDialog* box)
{
    Shown s;
    s.caption = box->windowTitle();
    s.ok = control<QPushButton>(box, "CPUSHOKYES")->text();
    s.noVisible = control<QPushButton>(box, "CPUSHNO")->isVisible();
    s.informationVisible = control<QLabel>(box, "id103")->isVisible();
    s.questionVisible = control<QLabel>(box, "id104")->isVisible();
    s.text = control<QLabel>(box, "id100")->text();
    s.fontSize = control<QLabel>(box, "id100")->font().pointSize();
    return s;
}
}  // namespace

class InfoBoxTest : public QObject {
    Q_OBJECT
private slots:
    void kindsShowTheirCaptionButtonsAndIcon_data()
    {
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<bool>("noVisible");
        QTest::addColumn<bool>("blueIcon");
        QTest::newRow("information") << false << false << "INFO" << "OK" << false << true;
        QTest::newRow("error") << true << false << "ERREUR" << "OK" << false << false;
        QTest::newRow("question") << false << true << "ATTENTION" << "Oui" << true << false;
    }
    void kindsShowTheirCaptionButtonsAndIcon()
    {
        QFETCH(bool, error);
        QFETCH(bool, question);
        gui::CINFOBOXEX box(nullptr, QStringLiteral("\r\nFermeture\r\nOui?"));
        box.setERRORWIN(error);
        box.setYESNOWIN(question);
        box.show();
        Shown s = look(&box);
        QTEST(s.caption, "caption");
        QTEST(s.ok, "ok");
        QTEST(s.noVisible, "noVisible");
        QTEST(s.informationVisible, "blueIcon");
        QCOMPARE(s.questionVisible, !s.informationVisible);
        // The program's "\r\n" becomes a line break only on display.
        QCOMPARE(s.text, QStringLiteral("\nFermeture\nOui?"));
        QCOMPARE(box.messageText(), QStringLiteral("\r\nFermeture\r\nOui?"));
        QCOMPARE(s.fontSize, 12);
        QVERIFY(!control<QLabel>(&box, "id103")->pixmap().isNull());
    }

    void lastKindSetWinsAndFalseChangesNothing()
    {
        gui::CINFOBOXEX box(nullptr, QStringLiteral("x"));
        box.setYESNOWIN(true);
        box.setERRORWIN(true);
        box.setYESNOWIN(false);
        box.show();
        Shown s = look(&box);
        QCOMPARE(s.caption, QStringLiteral("ERREUR"));
        QVERIFY(!s.noVisible);

        gui::CINFOBOXEX other(nullptr, QStringLiteral("x"));
        other.setERRORWIN(true);
        other.setYESNOWIN(true);
        other.setFONTASSIGN(1);
        other.setWARNTXT(QStringLiteral("Remplacé"));
        other.show();
        s = look(&other);
        QCOMPARE(s.caption, QStringLiteral("ATTENTION"));
        QVERIFY(s.noVisible);
        QCOMPARE(s.fontSize, 10);
        QCOMPARE(s.text, QStringLiteral("Remplacé"));
    }

    void resultsOfEachWayOut_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("result");
        QTest::newRow("Oui") << "oui" << 1;
        QTest::newRow("Non") << "non" << 0;
        QTest::newRow("Enter chooses Oui even from Non") << "enter" << 1;
        QTest::newRow("Escape") << "escape" << 0;
        QTest::newRow("close box") << "close" << 0;
    }
    void resultsOfEachWayOut()
    {
        QFETCH(QString, way);
        gui::CINFOBOXEX box(nullptr, QStringLiteral("Continuer?"));
        box.setYESNOWIN(true);
        test::onNextModal([way](QDialog* d) {
            if (way == "oui")
                control<QPushButton>(d, "CPUSHOKYES")->click();
            else if (way == "non")
                control<QPushButton>(d, "CPUSHNO")->click();
            else if (way == "enter") {
                control<QPushButton>(d, "CPUSHNO")->setFocus();
                QTest::keyClick(control<QPushButton>(d, "CPUSHNO"), Qt::Key_Return);
            } else if (way == "escape")
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        });
        QTEST(box.exec(), "result");
    }

    void presenterShowsTheProgramBoxWithCaptionOverride()
    {
        gui::WidgetMessagePresenter presenter;
        core::setMessagePresenter(&presenter);
        Shown seen;
        test::onNextModal([&seen](QDialog* d) {
            seen = look(d);
            control<QPushButton>(d, "CPUSHNO")->click();
        });
        core::Message question{core::MessageKind::Question, "\r\nMise à jour?", "Mise à jour", true};
        QCOMPARE(core::showMessage(question), 0);
        QCOMPARE(seen.caption, QStringLiteral("Mise à jour"));
        QCOMPARE(seen.ok, QStringLiteral("Oui"));
        QCOMPARE(seen.fontSize, 10);

        test::onNextModal([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
        QCOMPARE(core::showInformation("Fait"), 0);
        test::onNextModal([&seen](QDialog* d) {
            seen = look(d);
            control<QPushButton>(d, "CPUSHOKYES")->click();
        });
        QCOMPARE(core::showError("\r\n\r\n\r\nMot de passe invalide"), 1);
        QCOMPARE(seen.caption, QStringLiteral("ERREUR"));

        QString plain;
        test::onNextModal([&plain](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            QVERIFY(box);
            plain = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        core::showMessage({core::MessageKind::PlainError, "Le mot de passe est invalide", "ERREUR"});
        QCOMPARE(plain, QStringLiteral("ERREUR|Le mot de passe est invalide"));
        core::setMessagePresenter(nullptr);
    }
};

QTEST_MAIN(InfoBoxTest)
#include "InfoBoxTest.moc"
