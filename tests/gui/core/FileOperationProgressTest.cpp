// The progress dialog of shell file operations: cancelling stops the operation.
#include "gui/core/FileOperationProgress.h"
#include "core/OperationProgress.h"
#include "core/ShellFileOperation.h"
#include "guisupport/GuiTestSupport.h"

#include <QApplication>
#include <QProgressDialog>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace derode;
namespace fs = std::filesystem;

class FileOperationProgressTest : public QObject {
    Q_OBJECT
private slots:
    void cancellingAbortsTheRestOfTheCopy()
    {
        test::TempDir dir;
        fs::create_directories(dir.path() / "from");
        fs::create_directories(dir.path() / "to");
        for (const char* name : { "a.txt", "b.txt", "c.txt" })
            std::ofstream(dir.path() / "from" / name) << name;

        gui::FileOperationProgress progress(nullptr, QStringLiteral("Copie"));
        core::SHELLFILEOPERATION copy;
        copy.FILES = { (dir.path() / "from" / "*.txt").string() };
        copy.FOLDER = (dir.path() / "to").string();
        copy.NOCONFIRMATION(true);
        progress.attachTo(copy);
        // The user presses "Annuler" as soon as the dialog handles events, during the first item.
        QTimer::singleShot(0, [&progress] {
            QVERIFY(progress.dialog());
            progress.dialog()->cancel();
        });
        copy.COPY();
        QVERIFY(copy.ABORTED());
        QVERIFY(!copy.SUCCESS());
        int copied = int(std::distance(fs::directory_iterator(dir.path() / "to"), fs::directory_iterator()));
        QCOMPARE(copied, 0);
        QCOMPARE(progress.dialog()->windowTitle(), QStringLiteral("Copie"));
        QVERIFY(!progress.step("x", 2, 3));
    }

    void aCompleteOperationSucceeds()
    {
        test::TempDir dir;
        fs::create_directories(dir.path() / "Lundi");
        gui::FileOperationProgress progress(nullptr, QStringLiteral("Suppression"));
        core::SHELLFILEOPERATION remove;
        remove.FILES = { (dir.path() / "Lundi").string() };
        remove.NOCONFIRMATION(true);
        progress.attachTo(remove);
        remove.DELETE();
        QVERIFY(remove.SUCCESS());
        QVERIFY(!remove.ABORTED());
        QVERIFY(!fs::exists(dir.path() / "Lundi"));
    }

    // The run's presenter gives an operation without a progress of its own a dialog under the
    // operation's caption, for that operation only.
    void theRunsPresenterShowsEveryOperation()
    {
        test::TempDir dir;
        fs::create_directories(dir.path() / "from");
        for (const char* name : { "a.txt", "b.txt" })
            std::ofstream(dir.path() / "from" / name) << name;
        gui::FileOperationProgressPresenter presenter;
        core::setOperationProgressPresenter(&presenter);
        core::SHELLFILEOPERATION copy;
        copy.FILES = { (dir.path() / "from" / "*.txt").string() };
        copy.FOLDER = (dir.path() / "to").string();
        copy.CAPTION = "Copie des fichiers";
        QString title;
        QTimer::singleShot(0, [&title] {
            QProgressDialog* dialog = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QProgressDialog*>(w))
                    dialog = d;
            QVERIFY(dialog);
            title = dialog->windowTitle();
            dialog->cancel();
        });
        copy.COPY();
        core::setOperationProgressPresenter(nullptr);
        QVERIFY(copy.ABORTED());
        QCOMPARE(title, QStringLiteral("Copie des fichiers"));
        QVERIFY(!fs::exists(dir.path() / "to" / "b.txt"));
        // The dialog went with the operation.
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QProgressDialog*>(w));
    }
};

QTEST_MAIN(FileOperationProgressTest)
#include "FileOperationProgressTest.moc"
