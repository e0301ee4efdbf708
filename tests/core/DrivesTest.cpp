#include "core/Drives.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace derode;
namespace fs = std::filesystem;

// A fake system: a fixed disk, a USB key with a label and a card reader marked removable.
TEST(Drives, ListTypeRemovableAndLabelFromMountTableAndSysfs)
{
    test::TempDir dir;
    const fs::path sys = dir.path() / "sys";
    for (const char* d : {"pci/ata1/block/sda/sda1", "pci/usb2/2-1/block/sdb/sdb1", "pci/mmc/block/mmcblk0/mmcblk0p1"})
        fs::create_directories(sys / "devices" / d);
    std::ofstream(sys / "devices/pci/ata1/block/sda/removable") << "0\n";
    std::ofstream(sys / "devices/pci/mmc/block/mmcblk0/removable") << "1\n";
    std::ofstream(sys / "devices/pci/ata1/block/sda/sda1/partition") << "1\n";
    fs::create_directories(sys / "dev/block");
    fs::create_directory_symlink(sys / "devices/pci/ata1/block/sda/sda1", sys / "dev/block/8:1");
    fs::create_directory_symlink(sys / "devices/pci/usb2/2-1/block/sdb/sdb1", sys / "dev/block/8:17");
    fs::create_directory_symlink(sys / "devices/pci/mmc/block/mmcblk0/mmcblk0p1", sys / "dev/block/179:1");

    const fs::path devices = dir.path() / "dev";
    fs::create_directories(devices / "disk/by-label");
    std::ofstream(devices / "sdb1") << "";
    fs::create_symlink(devices / "sdb1", devices / "disk/by-label/MA\\x20CLE");
    // A label holding a backslash not followed by two hex digits is taken as written.
    std::ofstream(devices / "sdc1") << "";
    fs::create_symlink(devices / "sdc1", devices / "disk/by-label/A\\xZZ");

    for (const char* m : {"root", "key", "card", "other"})
        fs::create_directories(dir.path() / m);
    const std::string info = dir.str() + "mountinfo";
    std::ofstream(info) << "1 0 8:1 / " << dir.str() << "root rw - ext4 /dev/sda1 rw\n"
                        << "2 1 0:5 / /proc rw - proc proc rw\n"
                        << "3 1 0:30 / " << dir.str() << "root rw - tmpfs tmpfs rw\n"
                        << "4 1 8:17 / " << dir.str() << "key rw - vfat " << devices.string() << "/sdb1 rw\n"
                        << "5 1 179:1 / " << dir.str() << "card rw - vfat /dev/mmcblk0p1 rw\n"
                        << "6 1 8:1 /etc/hosts " << dir.str() << "hosts rw - ext4 /dev/sda1 rw\n"
                        << "7 1 8:33 / " << dir.str() << "other rw - vfat " << devices.string() << "/sdc1 rw\n";

    core::DriveSources sources{info, (sys / "dev/block").string() + "/", (devices / "disk/by-label").string() + "/"};
    EXPECT_EQ(core::GETLOGICALDRIVESEX(sources),
              (std::vector<std::string>{dir.str() + "root/", dir.str() + "key/", dir.str() + "card/", dir.str() + "other/"}));
    EXPECT_EQ(core::driveType(dir.str() + "root", sources), core::DRIVE_FIXED);
    EXPECT_EQ(core::driveType(dir.str() + "key/", sources), core::DRIVE_REMOVABLE);
    EXPECT_EQ(core::driveType(dir.str() + "card/", sources), core::DRIVE_REMOVABLE);
    EXPECT_EQ(core::driveType(dir.str() + "key/sub/", sources), core::DRIVE_NO_ROOT_DIR);
    EXPECT_TRUE(core::ISMEDIAREMOVEABLE(dir.str() + "key/", sources));
    EXPECT_FALSE(core::ISMEDIAREMOVEABLE(dir.str() + "root/", sources));

    std::string label = "x";
    EXPECT_TRUE(core::GETDISKLABEL(dir.str() + "key/", label, sources));
    EXPECT_EQ(label, "MA CLE");
    EXPECT_TRUE(core::GETDISKLABEL(dir.str() + "other/", label, sources));
    EXPECT_EQ(label, "A\\xZZ");
    EXPECT_TRUE(core::GETDISKLABEL(dir.str() + "root/", label, sources));
    EXPECT_EQ(label, "");
    EXPECT_FALSE(core::GETDISKLABEL("", label, sources));
    EXPECT_FALSE(core::ISDISKREADY(dir.str() + "unmounted-reader/", sources));
}

TEST(Drives, WriteTestAndFolderTest)
{
    test::TempDir dir;
    EXPECT_TRUE(core::ISDISKWRITEABLE(dir.str()));
    EXPECT_TRUE(fs::is_empty(dir.path()));  // the test leaves nothing behind
    EXPECT_FALSE(core::ISDISKWRITEABLE(""));
    EXPECT_TRUE(core::ISDIR(dir.str()));
    EXPECT_FALSE(core::ISDIR(dir.str() + "nowhere/"));
}
