#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ramp/atomic_file.h"
#include "ramp/file_error.h"
#include "tests/temp_folder.h"

namespace {

std::vector<std::string> Names(const TempFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    names.push_back(entry.path().filename().string());
  return names;
}

TEST(AtomicFile, TwoWritersOfOneFileStageApartAndTheLastRenameWins) {
  const TempFolder folder;
  const std::string path = folder.File("Tonemark1.lut");
  WriteBytes(path, "old");
  const TStagedFile first = StageFile(path, "first");
  const TStagedFile second = StageFile(path, "second");
  EXPECT_NE(first.Temporary, second.Temporary);
  EXPECT_EQ(std::filesystem::path(first.Temporary).parent_path(), folder.Path());
  EXPECT_EQ(ReadBytes(first.Temporary), "first");
  EXPECT_EQ(ReadBytes(path), "old");

  CommitStagedFile(second);
  CommitStagedFile(first);
  EXPECT_EQ(ReadBytes(path), "first");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"Tonemark1.lut"});
}

TEST(AtomicFile, ADiscardedWriteLeavesThePreviousFileAndNoTemporary) {
  const TempFolder folder;
  const std::string path = folder.File("Tonemark.settings");
  WriteBytes(path, "[Settings]\r\n");
  DiscardStagedFile(StageFile(path, "changed"));
  EXPECT_EQ(ReadBytes(path), "[Settings]\r\n");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"Tonemark.settings"});
}

TEST(AtomicFile, ARefusedRenameNamesThePathAndLeavesNoTemporary) {
  const TempFolder folder;
  const std::string path = folder.File("Tonemark1.lut");
  std::filesystem::create_directories(folder.Path() / "Tonemark1.lut" / "inside");
  try {
    WriteFileAtomically(path, "bytes");
    ADD_FAILURE() << "the write reported success";
  } catch (const TFileError& error) {
    EXPECT_EQ(error.what(), "Unable to write to " + path);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "Tonemark1.lut" / "inside"));
  EXPECT_EQ(Names(folder), std::vector<std::string>{"Tonemark1.lut"});
}

}  // namespace
