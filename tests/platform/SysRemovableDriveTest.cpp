// Finding the USB stick from a mount list and block-device folder the test writes: which mounts
// count as a removable drive, and "\Hard Disk2" following the stick as it comes and goes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/RemovableDrive.h"
#include "tests/platform/SysTempDir.h"

namespace {

using plat::FindRemovableMount;

class RemovableDrive : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::mkdir(dir_.Sub("block").c_str(), 0755), 0);
    // sda: the fixed system disk; sdb: a stick that says it is removable; sdc: a USB disk that
    // says it is not, but whose device hangs off a USB controller; mmcblk0: a fixed card.
    Disk("sda", false);
    Disk("sdb", true);
    UsbDisk("sdc");
    Disk("mmcblk0", false);
    plat::SetRemovableDriveSources(dir_.Sub("mounts").c_str(), dir_.Sub("block").c_str());
  }
  void TearDown() override {
    plat::SetRemovableDriveSources(nullptr, nullptr);
    plat::SetUsbDir(nullptr);
  }
  // As in /sys/block: a link to the disk's device folder, which holds its removable flag.
  void Disk(const char* name, bool removable) {
    const std::string device = dir_.Sub("device-") + name;
    ASSERT_EQ(::mkdir(device.c_str(), 0755), 0);
    std::ofstream(device + "/removable") << (removable ? "1\n" : "0\n");
    ASSERT_EQ(::symlink(device.c_str(), (dir_.Sub("block/") + name).c_str()), 0);
  }
  void UsbDisk(const char* name) {
    const std::string target = std::string("../devices/pci0000:00/0000:00:14.0/usb2/2-1/host2/block/") + name;
    ASSERT_EQ(::symlink(target.c_str(), (dir_.Sub("block/") + name).c_str()), 0);
  }
  void Mounts(const std::string& text) { std::ofstream(dir_.Sub("mounts")) << text; }
  std::string Found() {
    char out[512];
    return FindRemovableMount(out, sizeof out) ? out : "";
  }
  SysTempDir dir_;
};

TEST_F(RemovableDrive, OnlyWritableMountsOfRemovableDrivesCount) {
  struct Case {
    const char* mounts;
    const char* found;
  };
  const Case cases[] = {
      {"/dev/sda1 / ext4 rw,relatime 0 0\n/dev/sda2 /data ext4 rw 0 0\n", ""},
      {"/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/panel/STICK vfat rw,nosuid 0 0\n", "/media/panel/STICK"},
      {"/dev/sdz1 /run/media/panel/DATA vfat rw 0 0\n", "/run/media/panel/DATA"},
      {"/dev/sdb1 /media/panel/STICK vfat ro,nosuid 0 0\n", ""},
      {"/dev/sdb1 /mnt/usb vfat rw 0 0\n", "/mnt/usb"},
      {"/dev/sdb /mnt/whole vfat rw 0 0\n", "/mnt/whole"},
      {"/dev/sdc1 /srv/usbdisk ext4 rw 0 0\n", "/srv/usbdisk"},
      {"/dev/mmcblk0p2 /mnt/card ext4 rw 0 0\n", ""},
      {"/dev/sdb1 / ext4 rw 0 0\n/dev/sdb2 /boot/efi vfat rw 0 0\n", ""},
      {"tmpfs /media tmpfs rw 0 0\n", ""},
      {"/dev/sdb1 /media/panel/MY\\040STICK vfat rw 0 0\n", "/media/panel/MY STICK"},
  };
  for (const Case& c : cases) {
    Mounts(c.mounts);
    EXPECT_EQ(Found(), c.found) << c.mounts;
  }
}

TEST_F(RemovableDrive, UsbPathsFollowTheStickAsItComesAndGoes) {
  const std::string stick = dir_.Sub("stick");
  ASSERT_EQ(::mkdir(stick.c_str(), 0755), 0);
  plat::SetFileRoot(dir_.c_str());
  plat::SetUsbAutoDetect();
  // A "Hard Disk2" folder below the root is not a stick.
  ASSERT_EQ(::mkdir(dir_.Sub("Hard Disk2").c_str(), 0755), 0);
  Mounts("/dev/sda1 / ext4 rw 0 0\n");
  EXPECT_FALSE(plat::FolderExists("\\Hard Disk2"));

  Mounts("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + stick + " vfat rw 0 0\n");
  EXPECT_TRUE(plat::FolderExists("\\Hard Disk2"));
  plat::FileHandle f;
  ASSERT_EQ(plat::OpenFile("\\Hard Disk2\\DryerShutdownHistory.txt", plat::OpenMode::CreateNew, f),
            plat::FileResult::Ok);
  plat::CloseFile(f);
  EXPECT_EQ(::access((stick + "/DryerShutdownHistory.txt").c_str(), F_OK), 0);

  Mounts("/dev/sda1 / ext4 rw 0 0\n");
  EXPECT_FALSE(plat::FolderExists("\\Hard Disk2"));
}

}  // namespace
