#include "core/Locations.h"
#include "core/MakeDir.h"
#include "core/MountTable.h"
#include "core/SingleInstance.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace derode;
namespace fs = std::filesystem;

TEST(MakeDir, MakesEveryMissingLevelAndLeavesTheCurrentDirectory)
{
    test::TempDir dir;
    const fs::path before = fs::current_path();
    EXPECT_EQ(core::MAKEDIR("  " + dir.path().string() + "/A/B/C  "), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "A/B/C"));
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(core::MAKEDIR(dir.str() + "A/B/C/"), 0);  // all there: nothing to do

    std::ofstream(dir.path() / "file") << "x";
    EXPECT_NE(core::MAKEDIR(dir.str() + "file/D"), 0);
    EXPECT_FALSE(fs::exists(dir.path() / "file/D"));
}

TEST(Locations, MountTableGivesTheDriveOfAPath)
{
    test::TempDir dir;
    const std::string info = dir.str() + "mountinfo";
    std::ofstream(info) << "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                           "40 22 8:17 / /media/user/MY\\040KEY rw - vfat /dev/sdb1 rw\n"
                           "41 22 0:5 / /proc rw - proc proc rw\n";
    auto table = core::readMountTable(info);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1].mountPoint, "/media/user/MY KEY/");
    EXPECT_EQ(table[1].major, 8u);
    EXPECT_EQ(table[1].minor, 17u);
    EXPECT_EQ(table[1].fsType, "vfat");
    EXPECT_EQ(core::mountPointOf("/media/user/MY KEY/Prog/derode", table), "/media/user/MY KEY/");
    EXPECT_EQ(core::mountPointOf("/media/user/MY KEYS/x", table), "/");
    EXPECT_EQ(core::mountPointOf("/proc", table), "/proc/");
}

TEST(Locations, DataRootLiesOnTheProgramsDriveOrFallsBackToTheUsersDataHome)
{
    core::UserFolders user;
    user.home = "/home/anne";
    EXPECT_EQ(user.dataHome(), "/home/anne/.local/share/");
    EXPECT_EQ(user.configHome(), "/home/anne/.config/");
    EXPECT_EQ(core::registryFileFor(user), "/home/anne/.config/Devared/Derode.reg");
    user.xdgDataHome = "/x/data";
    user.xdgConfigHome = "relative/ignored";
    EXPECT_EQ(user.dataHome(), "/x/data/");
    EXPECT_EQ(core::registryFileFor(user), "/home/anne/.config/Devared/Derode.reg");

    // The data root is the program drive's root + "Derode_data/" when usable, else the data home's.
    test::TempDir drive;
    fs::create_directories(drive.path() / "Prog");
    std::vector<core::MountEntry> table{{"/", "/", "ext4", "/dev/sda1", 8, 1},
                                        {drive.str(), "/", "vfat", "/dev/sdb1", 8, 17},
                                        {"/nonexistent-drive/", "/", "vfat", "/dev/sdc1", 8, 33}};
    EXPECT_EQ(core::dataRootFor(drive.str() + "Prog/", user, table), drive.str() + "Derode_data/");
    EXPECT_FALSE(fs::exists(drive.path() / "Derode_data"));  // made by the first league, not here
    EXPECT_EQ(core::dataRootFor("/nonexistent-drive/Prog/", user, table), "/x/data/Derode_data/");
    std::ofstream(drive.path() / "Derode_data") << "a file in the way";
    EXPECT_EQ(core::dataRootFor(drive.str() + "Prog/", user, table), "/x/data/Derode_data/");

    core::Locations where = core::computeLocations("/opt/derode", user);
    EXPECT_EQ(where.programFolder, "/opt/derode/");
    EXPECT_EQ(where.ownerData(), "/opt/derode/OwnerData/");
    EXPECT_EQ(where.leagueFolder("Lundi"), where.dataRoot + "Lundi/");
}

TEST(Locations, ProgramFolderIsTheExecutablesFolder)
{
    std::string folder = core::programFolderOfExecutable();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + "test_core"));
}

TEST(SingleInstance, SecondHolderOfTheLockSeesTheFirst)
{
    test::TempDir dir;
    EXPECT_EQ(core::singleInstanceLockPath("__derodeV2__", "/run/user/1000", "/tmp", 1000),
              "/run/user/1000/__derodeV2__.lock");
    EXPECT_EQ(core::singleInstanceLockPath("__derodeV2__", "", "/tmp", 1000), "/tmp/__derodeV2__-1000.lock");
    const std::string lock = dir.str() + "__derodeV2__.lock";
    EXPECT_FALSE(core::ALREADYRUNNING("__derodeV2__", lock));
    EXPECT_TRUE(core::ALREADYRUNNING("__derodeV2__", lock));

    // Another process sees the copy that runs.
    pid_t child = ::fork();
    if (child == 0)
        ::_exit(core::ALREADYRUNNING("__derodeV2__", lock) ? 7 : 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 7);
}
