#include <gtest/gtest.h>

#include <filesystem>

#include "lang/multilang.h"
#include "ramp/file_error.h"
#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "shell/settings_file.h"
#include "shell/shell_port.h"
#include "tests/platform/linux_files/full_disk.h"
#include "tests/platform/linux_shell/xdg_environment.h"

namespace {

using ShellPort::TSpecialFolder;
using ShellPort::SpecialFolderPath;

const std::string InstallPrefix = TONEMARK_INSTALL_PREFIX;

TEST(LinuxSpecialFolders, AreTheXdgBaseFoldersAndTheInstallPrefix) {
  XdgEnvironment environment;
  EXPECT_EQ(SpecialFolderPath(TSpecialFolder::CommonAppData), environment.ConfigHome());
  EXPECT_EQ(SpecialFolderPath(TSpecialFolder::UserAppData), environment.DataHome());
  const std::string programFiles = SpecialFolderPath(TSpecialFolder::ProgramFiles);
  EXPECT_EQ(programFiles.back(), '/');
  EXPECT_EQ(std::filesystem::path(programFiles), std::filesystem::path(InstallPrefix + "/"));
}

TEST(LinuxSpecialFolders, DefaultUnderTheHomeFolder) {
  XdgEnvironment environment;
  environment.Set("XDG_CONFIG_HOME", std::nullopt);
  // The XDG rules ignore a relative path.
  environment.Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(SpecialFolderPath(TSpecialFolder::CommonAppData), environment.Home() + "/.config");
  EXPECT_EQ(SpecialFolderPath(TSpecialFolder::UserAppData), environment.Home() + "/.local/share");
  environment.Set("XDG_CONFIG_HOME", environment.ConfigHome() + "//");
  EXPECT_EQ(SpecialFolderPath(TSpecialFolder::CommonAppData), environment.ConfigHome());
}

// An installed program: its folder lies under the install prefix, so the data
// lives in the XDG folders. Folder names are compared as they stand, so a path
// that leaves the prefix again by ".." leads into a temporary folder, where
// all of it lies.
class InstalledProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    savedArgs_ = CommandLineArgs;
    CommandLineArgs = {ProgramDir() + "tonemark"};
    std::filesystem::create_directories(ProgramDir() + "Tonemark.languages");
    TextTable.clear();
    LanguageList.clear();
  }
  void TearDown() override {
    CommandLineArgs = savedArgs_;
    TextTable.clear();
    LanguageList.clear();
    CurrentLanguage = "English";
    ReferenceImagePath = DefaultReferenceImage;
  }

  std::string ProgramDir() const {
    std::string backToRoot;
    for (const auto& name : std::filesystem::path(InstallPrefix).relative_path())
      if (!name.empty()) backToRoot += "../";
    return InstallPrefix + "/" + backToRoot + environment.temp.Folder().substr(1) + "bin/";
  }
  std::string CommonDir() const { return environment.ConfigHome() + "/Orvana/Tonemark/"; }
  std::string UserDir() const { return environment.DataHome() + "/Orvana/Tonemark/"; }

  static void PutFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteBytes(path, bytes);
  }
  static void Load() {
    LoadLanguage("English", LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  }

  XdgEnvironment environment;

 private:
  std::vector<std::string> savedArgs_;
};

TEST_F(InstalledProgram, KeepsItsDataInTheXdgFolders) {
  EXPECT_FALSE(IsPortable());
  EXPECT_EQ(CommonDataFolder(ProductSubFolder), CommonDir());
  EXPECT_EQ(UserDataFolder(ProductSubFolder), UserDir());
  EXPECT_EQ(SettingsPath(), CommonDir() + "Tonemark.settings");
}

TEST_F(InstalledProgram, FindsALanguageInTheFourPlacesInOrder) {
  PutFile(UserDir() + "English.lang", "BOK=user\r\n");
  PutFile(CommonDir() + "English.lang", "BOK=common\r\n");
  PutFile(ProgramDir() + "Tonemark.languages/English.lang", "BOK=languages folder\r\n");
  PutFile(ProgramDir() + "English.lang", "BOK=program folder\r\n");
  const char* expected[] = {"user", "common", "languages folder", "program folder"};
  const std::string files[] = {UserDir() + "English.lang", CommonDir() + "English.lang",
                               ProgramDir() + "Tonemark.languages/English.lang",
                               ProgramDir() + "English.lang"};
  for (int place = 0; place < 4; ++place) {
    Load();
    EXPECT_EQ(Translate("BOK"), expected[place]);
    std::filesystem::remove(files[place]);
  }
  Load();
  EXPECT_EQ(Translate("BOK"), "program folder");
}

TEST_F(InstalledProgram, ListsLanguagesInTheReverseOrderOfTheSearch) {
  PutFile(ProgramDir() + "Deutsch.lang", "");
  PutFile(ProgramDir() + "Tonemark.languages/English.lang", "");
  PutFile(CommonDir() + "Svenska.lang", "");
  PutFile(CommonDir() + "Deutsch.lang", "");
  PutFile(UserDir() + "english.lang", "");
  PutFile(UserDir() + "English.lang", "");
  BuildLanguageList(LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  EXPECT_EQ(LanguageList, (std::vector<std::string>{"Deutsch", "English", "Svenska", "english"}));
}

TEST_F(InstalledProgram, TheFirstSessionEndCreatesTheMissingFoldersAndTheFile) {
  ReadSettings();
  WriteSettings();
  EXPECT_EQ(ReadBytes(CommonDir() + "Tonemark.settings"),
            "[Settings]\r\nLanguage=English\r\nReferenceImage=Tonemark.reference.jpg\r\n");
}

TEST_F(InstalledProgram, AFailedWriteLeavesThePreviousFile) {
  const std::string previous = "[Settings]\r\nLanguage=Deutsch\r\n";
  PutFile(SettingsPath(), previous);
  CurrentLanguage = "Svenska";
  try {
    const TFullDisk disk(10);
    WriteSettings();
    FAIL() << "the write was not refused";
  } catch (const TFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + CommonDir() + "Tonemark.settings");
  }
  EXPECT_EQ(ReadBytes(SettingsPath()), previous);
}

TEST_F(InstalledProgram, AFolderThatCannotBeCreatedFailsTheWrite) {
  WriteBytes(environment.ConfigHome(), "a file where the folder should be");
  EXPECT_THROW(WriteSettings(), TFileError);
}

}  // namespace
