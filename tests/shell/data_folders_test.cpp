#include <gtest/gtest.h>

#include <filesystem>

#include "shell/data_folders.h"
#include "shell/shell_port.h"
#include "tests/shell/program_in_temp_folder.h"

namespace {

class ArgumentZero {
 public:
  explicit ArgumentZero(const std::string& path) : saved_(CommandLineArgs) { CommandLineArgs = {path}; }
  ~ArgumentZero() { CommandLineArgs = saved_; }

 private:
  std::vector<std::string> saved_;
};

TEST(ProgramFolder, IsArgumentZeroUpToItsLastDelimiterOfEitherKind) {
  {
    ArgumentZero args("C:\\Program Files\\Orvana\\Tonemark\\Tonemark.exe");
    EXPECT_EQ(ProgramFolder(), "C:\\Program Files\\Orvana\\Tonemark\\");
  }
  {
    ArgumentZero args("/opt/tone\\mark/bin/tonemark");
    EXPECT_EQ(ProgramFolder(), "/opt/tone\\mark/bin/");
  }
  {
    ArgumentZero args("D:/Tools\\Tonemark.exe");
    EXPECT_EQ(ProgramFolder(), "D:/Tools\\");
  }
  {
    ArgumentZero args("tonemark");
    EXPECT_EQ(ProgramFolder(), "");
  }
}

TEST(ProgramFolder, IsEmptyWithoutACommandLine) {
  const std::vector<std::string> saved = CommandLineArgs;
  CommandLineArgs.clear();
  EXPECT_EQ(ProgramFolder(), "");
  CommandLineArgs = saved;
}

TEST(IsPortableFolder, InstalledWhenTheProgramFilesPathIsInsideInAnyLetterCase) {
  EXPECT_FALSE(IsPortableFolder("C:\\Program Files\\Orvana\\Tonemark\\", "C:\\Program Files"));
  EXPECT_FALSE(IsPortableFolder("c:\\PROGRAM FILES\\Orvana\\Tonemark\\", "C:\\Program Files"));
  // A substring test: the program-files path may sit anywhere inside.
  EXPECT_FALSE(IsPortableFolder("\\\\server\\share\\C:\\Program Files\\x\\", "C:\\Program Files"));
  EXPECT_FALSE(IsPortableFolder("/home/me/usr/local/bin/", "/usr/local/"));
}

TEST(IsPortableFolder, PortableElsewhereAndWhenTheSystemNamesNoProgramFiles) {
  EXPECT_TRUE(IsPortableFolder("D:\\Tools\\", "C:\\Program Files"));
  EXPECT_TRUE(IsPortableFolder("C:\\Program\\", "C:\\Program Files"));
  EXPECT_TRUE(IsPortableFolder("/usr/localbin/", "/usr/local/"));
  EXPECT_TRUE(IsPortableFolder("D:\\Tools\\", ""));
}

TEST(LiesUnderFolder, ComparesWholeFolderNames) {
  EXPECT_TRUE(LiesUnderFolder("/usr/local/bin/", "/usr/local/"));
  EXPECT_TRUE(LiesUnderFolder("/usr/local/", "/usr/local"));
  EXPECT_TRUE(LiesUnderFolder("/usr//local/./bin/", "/usr/local/"));
  EXPECT_TRUE(LiesUnderFolder("/opt/tonemark/", "/"));
  EXPECT_FALSE(LiesUnderFolder("/home/me/usr/local/bin/", "/usr/local/"));
  EXPECT_FALSE(LiesUnderFolder("/usr/localbin/", "/usr/local/"));
  EXPECT_FALSE(LiesUnderFolder("/USR/LOCAL/bin/", "/usr/local/"));
  EXPECT_FALSE(LiesUnderFolder("usr/local/bin/", "/usr/local/"));
  EXPECT_FALSE(LiesUnderFolder("/usr/local/bin/", ""));
}

// A portable copy in ~/usr/tonemark/ keeps its curves beside it, not in the
// user's configuration folder.
TEST(DataFolders, OnLinuxOnlyAFolderUnderTheInstallPrefixIsInstalled) {
  if (ShellPort::PathDelimiter() != '/') GTEST_SKIP() << "Windows keeps its substring test";
  const std::string prefix = ShellPort::SpecialFolderPath(ShellPort::TSpecialFolder::ProgramFiles);
  {
    ArgumentZero args("/home/me" + prefix + "tonemark/tonemark");
    EXPECT_TRUE(IsPortable());
  }
  {
    ArgumentZero args(prefix + "bin/tonemark");
    EXPECT_FALSE(IsPortable());
  }
}

TEST(DataFolders, APortableProgramKeepsEverythingInItsOwnFolder) {
  ProgramInTempFolder program;
  EXPECT_TRUE(IsPortable());
  EXPECT_EQ(CommonDataFolder(ProductSubFolder), program.folder.Folder());
  EXPECT_EQ(UserDataFolder(ProductSubFolder), program.folder.Folder());
}

TEST(ShortcutFileName, ReplacesOrAddsTheExtensionOfTheFileName) {
  EXPECT_EQ(ShortcutFileName("C:\\Program Files\\Orvana\\Tonemark\\Tonewatch.exe", ".lnk"),
            "Tonewatch.lnk");
  EXPECT_EQ(ShortcutFileName("/usr/local/bin/tonewatch", ".desktop"), "tonewatch.desktop");
  EXPECT_EQ(ShortcutFileName("C:\\a.b\\Tone.watch.exe", ".lnk"), "Tone.watch.lnk");
  EXPECT_EQ(ShortcutFileName("/opt/v1.2/tonewatch", ".desktop"), "tonewatch.desktop");
}

TEST(ForceFolder, DrivesAndRootsNeedNothing) {
  EXPECT_TRUE(ForceFolder("C:\\"));
  EXPECT_TRUE(ForceFolder("C:"));
  EXPECT_TRUE(ForceFolder("/"));
  EXPECT_TRUE(ForceFolder(""));
}

TEST(ForceFolder, ATwoCharacterPathCountsAsADriveAndIsNotCreated) {
  const TempFolder temp;
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(temp.Path());
  EXPECT_TRUE(ForceFolder("zq/"));
  EXPECT_FALSE(std::filesystem::exists(temp.Path() / "zq"));
  std::filesystem::current_path(saved);
}

TEST(ForceFolder, CreatesThreeMissingLevels) {
  const TempFolder temp;
  EXPECT_TRUE(ForceFolder(temp.Folder() + "one/two/three/"));
  EXPECT_TRUE(std::filesystem::is_directory(temp.Path() / "one" / "two" / "three"));
  // Existing all the way: nothing to do.
  EXPECT_TRUE(ForceFolder(temp.Folder() + "one/two/three"));
}

TEST(ForceFolder, FailsWhereAFileStandsInTheWay) {
  const TempFolder temp;
  WriteBytes(temp.File("file"), "x");
  EXPECT_FALSE(ForceFolder(temp.Folder() + "file/sub/"));
  EXPECT_FALSE(std::filesystem::exists(temp.Path() / "file" / "sub"));
}

}  // namespace
