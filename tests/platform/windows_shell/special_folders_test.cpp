#include <gtest/gtest.h>

#include <filesystem>

#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "shell/shell_port.h"
#include "tests/temp_folder.h"

namespace {

using ShellPort::TSpecialFolder;
using ShellPort::SpecialFolderPath;

class ArgumentZero {
 public:
  explicit ArgumentZero(const std::string& path) : saved_(CommandLineArgs) { CommandLineArgs = {path}; }
  ~ArgumentZero() { CommandLineArgs = saved_; }

 private:
  std::vector<std::string> saved_;
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(WindowsSpecialFolders, AreTheShellsFolders) {
  EXPECT_EQ(SpecialFolderPath(TSpecialFolder::ProgramFiles), "C:\\Program Files");
  EXPECT_EQ(SpecialFolderPath(TSpecialFolder::CommonAppData), "C:\\ProgramData");
  EXPECT_TRUE(EndsWith(SpecialFolderPath(TSpecialFolder::UserAppData), "\\AppData\\Roaming"))
      << SpecialFolderPath(TSpecialFolder::UserAppData);
}

TEST(WindowsDataFolders, AnInstalledProgramUsesTheApplicationDataFolders) {
  ArgumentZero args("C:\\Program Files\\Orvana\\Tonemark\\Tonemark.exe");
  EXPECT_FALSE(IsPortable());
  EXPECT_EQ(CommonDataFolder(ProductSubFolder), "C:\\ProgramData\\Orvana\\Tonemark\\");
  EXPECT_EQ(UserDataFolder(ProductSubFolder),
            SpecialFolderPath(TSpecialFolder::UserAppData) + "\\Orvana\\Tonemark\\");
}

TEST(WindowsDataFolders, TheProgramFilesTestIsASubstringTestInAnyLetterCase) {
  ArgumentZero args("c:\\program files (x86)\\Orvana\\Tonemark.exe");
  EXPECT_FALSE(IsPortable());
}

TEST(WindowsDataFolders, ACopyElsewhereIsPortable) {
  ArgumentZero args("D:\\Tools\\Tonemark.exe");
  EXPECT_TRUE(IsPortable());
  EXPECT_EQ(CommonDataFolder(ProductSubFolder), "D:\\Tools\\");
  EXPECT_EQ(UserDataFolder(ProductSubFolder), "D:\\Tools\\");
}

TEST(WindowsForceFolder, CreatesThreeLevelsGivenWithBackslashes) {
  const TempFolder temp;
  EXPECT_TRUE(ForceFolder(temp.Folder() + "one\\two\\three\\"));
  EXPECT_TRUE(std::filesystem::is_directory(temp.Path() / "one" / "two" / "three"));
  EXPECT_TRUE(ForceFolder("C:\\"));
}

}  // namespace
