#include "gui/mail/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

class ClipboardTest : public QObject {
    Q_OBJECT
private slots:
    void insertPutsTheTextOnTheClipboard()
    {
        derode::gui::CLIPBOARD clipboard;
        QVERIFY(clipboard.INSERT(QStringLiteral("Hélène Côté\r\nligne 2")));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Hélène Côté\r\nligne 2"));
    }
};

QTEST_MAIN(ClipboardTest)
#include "ClipboardTest.moc"
