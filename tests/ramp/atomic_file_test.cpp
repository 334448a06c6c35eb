// Files replaced together or not at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ramp/atomic_file.h"
#include "ramp/file_error.h"
#include "tests/temp_folder.h"

namespace {

// The folder's entries by name, sorted: temporaries left behind show here.
std::vector<std::string> Names(const TempFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

using TNames = std::vector<std::string>;

class StagedFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(folder.File("a"), "old a");
    WriteBytes(folder.File("c"), "old c");
  }
  TempFolder folder;
};

TEST_F(StagedFilesTest, NothingChangesBeforeCommitAndDiscardedTemporariesAreGone) {
  {
    TStagedFiles files;
    files.Stage(folder.File("a"), "new a");
    files.Stage(folder.File("b"), "new b");
    EXPECT_EQ(ReadBytes(folder.File("a")), "old a");
    EXPECT_FALSE(std::filesystem::exists(folder.File("b")));
  }
  EXPECT_EQ(ReadBytes(folder.File("a")), "old a");
  EXPECT_EQ(Names(folder), (TNames{"a", "c"}));

  TStagedFiles files;
  files.Stage(folder.File("a"), "new a");
  files.Stage(folder.File("b"), "new b");
  files.Commit();
  EXPECT_EQ(ReadBytes(folder.File("a")), "new a");
  EXPECT_EQ(ReadBytes(folder.File("b")), "new b");
}

TEST_F(StagedFilesTest, AFailedRenamePutsBackTheFilesReplacedBeforeIt) {
  TStagedFiles files;
  files.Stage(folder.File("a"), "new a");
  files.Stage(folder.File("b"), "new b");
  files.Stage(folder.File("c"), "new c");
  files.Stage(folder.File("d"), "new d");
  // A folder that appears at the last target after staging.
  std::filesystem::create_directories(folder.Path() / "d" / "inside");
  try {
    files.Commit();
    ADD_FAILURE() << "the commit reported success";
  } catch (const TFileError& error) {
    EXPECT_EQ(error.what(), "Unable to write to " + folder.File("d"));
  }
  EXPECT_EQ(ReadBytes(folder.File("a")), "old a");
  EXPECT_EQ(ReadBytes(folder.File("c")), "old c");
  EXPECT_EQ(Names(folder), (TNames{"a", "c", "d"}));
}

TEST_F(StagedFilesTest, AFolderAtTheTargetFailsTheStageAndLeavesNoTemporary) {
  std::filesystem::create_directory(folder.File("b"));
  TStagedFiles files;
  files.Stage(folder.File("a"), "new a");
  EXPECT_THROW(files.Stage(folder.File("b"), "new b"), TFileError);
  files.Discard();
  EXPECT_EQ(ReadBytes(folder.File("a")), "old a");
  EXPECT_EQ(Names(folder), (TNames{"a", "b", "c"}));
}

TEST_F(StagedFilesTest, TwoWritersOfOneFileStageApartAndTheLastRenameWins) {
  TStagedFiles first, second;
  first.Stage(folder.File("a"), "first");
  second.Stage(folder.File("a"), "second");
  EXPECT_EQ(Names(folder).size(), 4u) << "a temporary file each, beside the target";
  second.Commit();
  first.Commit();
  EXPECT_EQ(ReadBytes(folder.File("a")), "first");
  EXPECT_EQ(Names(folder), (TNames{"a", "c"}));
}

}  // namespace
