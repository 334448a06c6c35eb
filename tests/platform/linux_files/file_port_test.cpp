#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "ramp/atomic_file.h"
#include "ramp/file_error.h"
#include "ramp/file_port.h"
#include "tests/platform/linux_files/full_disk.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

size_t EntryCount(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(LinuxFiles, AFullDiskLeavesThePreviousFileAndNoTemporary) {
  const TempFolder folder;
  const std::string path = folder.File("Tonemark1.lut");
  WriteBytes(path, "previous");
  for (const rlim_t room : {0, 100, 4096}) {
    const TFullDisk disk(room);
    EXPECT_THROW(WriteFileAtomically(path, std::string(5000, 'x')), TFileError) << room;
  }
  EXPECT_EQ(ReadBytes(path), "previous");
  EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(LinuxFiles, AWriteGoesThroughAChainOfLinksToTheirTarget) {
  const TempFolder folder;
  fs::create_directories(folder.Path() / "store");
  WriteBytes(folder.File("store/Tonemark1.lut"), "old");
  // An absolute link to a relative one in another folder.
  fs::create_symlink("Tonemark1.lut", folder.Path() / "store" / "relative.lut");
  fs::create_symlink(folder.Path() / "store" / "relative.lut", folder.Path() / "Tonemark1.lut");
  WriteFileAtomically(folder.File("Tonemark1.lut"), "new");
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "Tonemark1.lut"));
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "store" / "relative.lut"));
  EXPECT_EQ(ReadBytes(folder.File("store/Tonemark1.lut")), "new");
  EXPECT_EQ(EntryCount(folder.Path() / "store"), 2u);

  // A link whose target does not exist yet creates it.
  fs::create_symlink(folder.Path() / "store" / "Tonemark.settings", folder.Path() / "Tonemark.settings");
  WriteFileAtomically(folder.File("Tonemark.settings"), "[Settings]\r\n");
  EXPECT_EQ(ReadBytes(folder.File("store/Tonemark.settings")), "[Settings]\r\n");
}

// Flushed or not (the unflushed replace trades places with the old file).
TEST(LinuxFiles, AReplacedFileKeepsItsAccessRightsAndANewOneFollowsTheUmask) {
  for (const TFlush flush : {TFlush::ToDisk, TFlush::Unflushed}) {
    const TempFolder folder;
    const mode_t savedMask = umask(022);
    WriteBytes(folder.File("kept.lut"), "old");
    chmod(folder.File("kept.lut").c_str(), 0640);
    WriteFileAtomically(folder.File("kept.lut"), "new", flush);
    WriteFileAtomically(folder.File("fresh.lut"), "new", flush);
    umask(savedMask);
    struct stat kept, fresh;
    ASSERT_EQ(stat(folder.File("kept.lut").c_str(), &kept), 0);
    ASSERT_EQ(stat(folder.File("fresh.lut").c_str(), &fresh), 0);
    EXPECT_EQ(kept.st_mode & 0777, 0640u);
    EXPECT_EQ(fresh.st_mode & 0777, 0644u);
    EXPECT_EQ(ReadBytes(folder.File("kept.lut")), "new");
    EXPECT_EQ(EntryCount(folder.Path()), 2u);
  }
}

TEST(LinuxFiles, OnlyARegularFileWithinTheLimitIsRead) {
  const TempFolder folder;
  WriteBytes(folder.File("small"), "12345");
  ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0600), 0);
  std::string bytes = "untouched";
  using FilePort::TReadOutcome;
  EXPECT_EQ(FilePort::ReadFileBytes(folder.File("none"), 10, bytes), TReadOutcome::Missing);
  EXPECT_EQ(FilePort::ReadFileBytes(folder.Folder(), 10, bytes), TReadOutcome::Missing);
  EXPECT_EQ(FilePort::ReadFileBytes(folder.File("pipe"), 10, bytes), TReadOutcome::Missing);
  EXPECT_EQ(FilePort::ReadFileBytes(folder.File("small"), 4, bytes), TReadOutcome::Unreadable);
  EXPECT_EQ(bytes, "untouched");
  EXPECT_EQ(FilePort::ReadFileBytes(folder.File("small"), 5, bytes), TReadOutcome::Read);
  EXPECT_EQ(bytes, "12345");
}

}  // namespace
