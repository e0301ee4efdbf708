#include "gui/ui/OpenDbfDialog.h"

#include "guisupport/GuiTestSupport.h"

#include <QFileDialog>
#include <QtTest>

using derode::gui::OPNDBFDLG;

class OpenDbfDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { OPNDBFDLG::setRunner({}); }

    void preparesTheDialogAsTheImportAsksIt()
    {
        derode::test::TempDir dir;
        QString seenFolder, seenTitle, seenFilter;
        QFileDialog::FileMode seenMode = QFileDialog::AnyFile;
        OPNDBFDLG::setRunner([&](QFileDialog& dialog) {
            seenFolder = dialog.directory().absolutePath();
            seenTitle = dialog.windowTitle();
            seenFilter = dialog.selectedNameFilter();
            seenMode = dialog.fileMode();
            return QStringList{QString::fromStdString(dir.str()) + "a/../membres-2.dbf",
                               QString::fromStdString(dir.str()) + "autre.dbf"};
        });
        OPNDBFDLG dialog(nullptr, 0);
        QCOMPARE(dialog.flags(), 0x880204u);
        dialog.SETFILTER(QStringLiteral("membres-2.dbf"), QStringLiteral("Sélectionner Membres-2.dbf"), 1);
        dialog.SETSTYLE(OPNDBFDLG::OFN_ALLOWMULTISELECT, false);
        dialog.SETSTYLE(OPNDBFDLG::OFN_NONETWORKBUTTON, true);
        QCOMPARE(dialog.flags(), 0x8A0004u);
        dialog.setINITIALDIRECTORY(dir.path().c_str());
        QVERIFY(dialog.SHOW());
        QCOMPARE(seenFolder, QString(dir.path().c_str()));
        QCOMPARE(seenTitle, QStringLiteral("Open..."));
        QCOMPARE(seenFilter, QStringLiteral("Sélectionner Membres-2.dbf (membres-2.dbf)"));
        QCOMPARE(seenMode, QFileDialog::ExistingFile);
        // Without multiple selection only the first path, made whole.
        QCOMPARE(dialog.FILENAME(), QStringList{QString::fromStdString(dir.str()) + "membres-2.dbf"});
    }

    void cancellingLeavesNoChoice()
    {
        OPNDBFDLG::setRunner([](QFileDialog&) { return QStringList{}; });
        OPNDBFDLG dialog(nullptr, 0);
        QVERIFY(!dialog.SHOW());
        QVERIFY(dialog.FILENAME().isEmpty());
    }

    void filterListsOfDifferentLengthsLeaveNoFilter()
    {
        OPNDBFDLG dialog(nullptr, 0);
        dialog.SETFILTER(QStringList{"*.dbf", "*.txt"}, QStringList{"Tables"}, 1);
        QVERIFY(dialog.nameFilters().isEmpty());
        dialog.SETFILTER(QStringList{"*.dbf", "*.txt"}, QStringList{"Tables", "Textes"}, 2);
        QCOMPARE(dialog.nameFilters(), (QStringList{"Tables (*.dbf)", "Textes (*.txt)"}));
    }
};

QTEST_MAIN(OpenDbfDialogTest)
#include "OpenDbfDialogTest.moc"
