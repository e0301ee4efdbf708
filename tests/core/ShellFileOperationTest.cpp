#include "core/OperationProgress.h"
#include "core/ShellFileOperation.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace derode;
namespace fs = std::filesystem;

namespace {
void write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// An operation that asks no confirmation, on `files` towards `folder`.
core::SHELLFILEOPERATION quietOperation(std::vector<std::string> files, std::string folder)
{
    core::SHELLFILEOPERATION op;
    op.NOCONFIRMATION(true);
    op.FILES = std::move(files);
    op.FOLDER = std::move(folder);
    return op;
}

// A league folder with a file and a sub-folder.
fs::path makeLeague(const fs::path& root, const std::string& name)
{
    write(root / name / "membres-2.dbf", "membres " + name);
    write(root / name / "PartiesParDates" / "2024-05-02.dbf", "date");
    return root / name;
}
}  // namespace

TEST(ShellFileOperation, NothingRunsWithoutFilesOrWithoutDestination)
{
    test::TempDir dir;
    makeLeague(dir.path(), "A");
    core::SHELLFILEOPERATION op;
    op.COPY();
    EXPECT_FALSE(op.SUCCESS());
    op.FILES = {dir.str() + "A"};
    op.COPY();
    EXPECT_FALSE(op.SUCCESS());
    op.RENAME();
    EXPECT_FALSE(op.SUCCESS());
    EXPECT_TRUE(fs::exists(dir.path() / "A/membres-2.dbf"));
    op.DELETE();  // a delete needs no destination
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_FALSE(fs::exists(dir.path() / "A"));
}

TEST(ShellFileOperation, CopyWithWildcardsCopiesFoldersAndReplacesWithoutConfirmation)
{
    test::TempDir dir;
    makeLeague(dir.path(), "A");
    write(dir.path() / "key/Derode_data/A/membres-2.dbf", "old");
    write(dir.path() / "key/Derode_data/A/only-on-key.txt", "kept");

    core::SHELLFILEOPERATION op = quietOperation({dir.str() + "A/*.*"}, dir.str() + "key/Derode_data/A");
    std::vector<std::string> seen;
    op.setProgress([&](const std::string& item, std::size_t, std::size_t) {
        seen.push_back(item);
        return true;
    });
    op.COPY();
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_FALSE(op.ABORTED());
    EXPECT_EQ(test::bytesOf(dir.path() / "key/Derode_data/A/membres-2.dbf"), "membres A");
    EXPECT_EQ(test::bytesOf(dir.path() / "key/Derode_data/A/PartiesParDates/2024-05-02.dbf"), "date");
    EXPECT_EQ(test::bytesOf(dir.path() / "key/Derode_data/A/only-on-key.txt"), "kept");
    EXPECT_EQ(seen.size(), 3u);  // two items, then the end

    // Copy into a fresh folder with "?" and two sources; a missing source fails the whole.
    op.FILES = {dir.str() + "A/membres-?.dbf", dir.str() + "A/absent.cdx"};
    op.FOLDER = dir.str() + "fresh";
    op.COPY();
    EXPECT_FALSE(op.SUCCESS());
}

TEST(ShellFileOperation, CopyAsksBeforeReplacingWithoutNoConfirmation)
{
    test::TempDir dir;
    write(dir.path() / "src/a.txt", "new");
    write(dir.path() / "dst/a.txt", "old");
    test::ScriptedAnswerer answerer;
    answerer.planAnswer(0);
    core::SHELLFILEOPERATION op;
    op.FILES = {dir.str() + "src/a.txt"};
    op.FOLDER = dir.str() + "dst/";
    op.COPY();
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_EQ(test::bytesOf(dir.path() / "dst/a.txt"), "old");
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::Question);

    // Inside a copied folder too: "Non" keeps that file, the others arrive; a move then leaves
    // the source folder where it is.
    write(dir.path() / "src/sub/b.txt", "new b");
    write(dir.path() / "src/sub/c.txt", "new c");
    write(dir.path() / "dst/sub/b.txt", "old b");
    answerer.clear();
    answerer.planAnswer(0);
    op.FILES = {dir.str() + "src/sub"};
    op.MOVE();
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_EQ(test::bytesOf(dir.path() / "dst/sub/b.txt"), "old b");
    EXPECT_EQ(test::bytesOf(dir.path() / "dst/sub/c.txt"), "new c");
    EXPECT_EQ(test::bytesOf(dir.path() / "src/sub/b.txt"), "new b");
    EXPECT_EQ(answerer.shown().size(), 1u);
}

TEST(ShellFileOperation, RenameMovesTheFolderAndFailsOntoAnExistingOne)
{
    test::TempDir dir;
    makeLeague(dir.path(), "A");
    makeLeague(dir.path(), "B");
    core::SHELLFILEOPERATION op = quietOperation({dir.str() + "A"}, dir.str() + "B");
    op.RENAME();
    EXPECT_FALSE(op.SUCCESS());
    EXPECT_EQ(test::bytesOf(dir.path() / "A/membres-2.dbf"), "membres A");
    EXPECT_EQ(test::bytesOf(dir.path() / "B/membres-2.dbf"), "membres B");

    op.FOLDER = dir.str() + "C";
    op.RENAME();
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_FALSE(fs::exists(dir.path() / "A"));
    EXPECT_EQ(test::bytesOf(dir.path() / "C/PartiesParDates/2024-05-02.dbf"), "date");

    op.FILES = {dir.str() + "absent"};
    op.FOLDER = dir.str() + "D";
    op.RENAME();
    EXPECT_FALSE(op.SUCCESS());
}

TEST(ShellFileOperation, MoveEmptiesTheSource)
{
    test::TempDir dir;
    makeLeague(dir.path(), "A");
    core::SHELLFILEOPERATION op = quietOperation({dir.str() + "A/*"}, dir.str() + "Z");
    op.MOVE();
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_TRUE(fs::is_empty(dir.path() / "A"));
    EXPECT_EQ(test::bytesOf(dir.path() / "Z/membres-2.dbf"), "membres A");
}

TEST(ShellFileOperation, DeleteIsPermanentOrGoesToTheTrashWithUndo)
{
    test::TempDir dir;
    makeLeague(dir.path(), "A");
    write(dir.path() / "A/PartiesParDates/2024-05-09.dbf", "date 2");
    core::SHELLFILEOPERATION op;
    op.setTrashFolder(dir.str() + "Trash");
    op.NOCONFIRMATION(true);
    op.ALLOWUNDO(true);
    op.FILES = {dir.str() + "A/PartiesParDates/2024-05-02.dbf", dir.str() + "A/PartiesParDates/2024-05-09.dbf"};
    op.DELETE();
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_FALSE(fs::exists(dir.path() / "A/PartiesParDates/2024-05-02.dbf"));
    EXPECT_EQ(test::bytesOf(dir.path() / "Trash/files/2024-05-02.dbf"), "date");
    const std::string info = test::bytesOf(dir.path() / "Trash/info/2024-05-02.dbf.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + dir.str() + "A/PartiesParDates/2024-05-02.dbf\nDeletionDate=", 0), 0u)
        << info;

    // A second file of the same name gets a name of its own in the Trash.
    write(dir.path() / "A/PartiesParDates/2024-05-02.dbf", "again");
    op.FILES = {dir.str() + "A/PartiesParDates/2024-05-02.dbf"};
    op.DELETE();
    EXPECT_EQ(test::bytesOf(dir.path() / "Trash/files/2024-05-02.dbf.2"), "again");

    op.ALLOWUNDO(false);
    op.FILES = {dir.str() + "A"};
    op.DELETE();
    EXPECT_TRUE(op.SUCCESS());
    EXPECT_FALSE(fs::exists(dir.path() / "A"));
    EXPECT_FALSE(fs::exists(dir.path() / "Trash/files/A"));

    op.DELETE();  // gone already
    EXPECT_FALSE(op.SUCCESS());
}

TEST(ShellFileOperation, ProgressCanAbort)
{
    test::TempDir dir;
    makeLeague(dir.path(), "A");
    core::SHELLFILEOPERATION op = quietOperation({dir.str() + "A/*.*"}, dir.str() + "copy");
    op.setProgress([](const std::string&, std::size_t done, std::size_t) { return done < 1; });
    op.COPY();
    EXPECT_TRUE(op.ABORTED());
    EXPECT_FALSE(op.SUCCESS());
}

TEST(ShellFileOperation, TheRunsProgressServesOperationsWithoutTheirOwnUnlessSilent)
{
    struct Presenter : core::OperationProgressPresenter {
        core::OperationProgress start(const std::string& caption) override
        {
            started.push_back(caption);
            return [this](const std::string&, std::size_t, std::size_t) { return ++steps < 2; };
        }
        std::vector<std::string> started;
        int steps = 0;
    } presenter;
    core::setOperationProgressPresenter(&presenter);
    test::TempDir dir;
    makeLeague(dir.path(), "A");
    core::SHELLFILEOPERATION op = quietOperation({dir.str() + "A/*.*"}, dir.str() + "copy");
    op.CAPTION = "Copie";

    op.COPY();  // the presenter's callback stops it before the second item
    EXPECT_TRUE(op.ABORTED());
    EXPECT_EQ(presenter.steps, 2);
    op.SILENT(true);
    op.COPY();
    EXPECT_TRUE(op.SUCCESS());
    op.SILENT(false);
    op.setProgress([](const std::string&, std::size_t, std::size_t) { return true; });
    op.COPY();
    EXPECT_TRUE(op.SUCCESS());
    core::setOperationProgressPresenter(nullptr);
    EXPECT_EQ(presenter.started, std::vector<std::string>{"Copie"});
}

TEST(ShellFileOperation, TrashInfoEncodesThePath)
{
    test::TempDir dir;
    write(dir.path() / "Été 2024.dbf", "x");
    ASSERT_TRUE(core::moveToTrash(dir.str() + "Été 2024.dbf", dir.str() + "Trash"));
    const std::string info = test::bytesOf(dir.path() / "Trash/info/Été 2024.dbf.trashinfo");
    EXPECT_NE(info.find("Path=" + dir.str() + "%C3%89t%C3%A9%202024.dbf\n"), std::string::npos) << info;
    EXPECT_FALSE(core::moveToTrash(dir.str() + "absent", dir.str() + "Trash"));
}
