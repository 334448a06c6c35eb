#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "lang/multilang.h"
#include "shell/data_folders.h"
#include "tests/shell/program_in_temp_folder.h"

namespace {

using Table = std::vector<std::pair<std::string, std::string>>;

// A portable program in a temporary folder, with an empty language table.
class Multilang : public ::testing::Test {
 protected:
  void SetUp() override {
    TextTable.clear();
    LanguageList.clear();
    std::filesystem::create_directory(LanguagesFolder());
  }
  void TearDown() override {
    TextTable.clear();
    LanguageList.clear();
  }

  std::filesystem::path LanguagesFolder() const { return program.folder.Path() / "Tonemark.languages"; }
  void WriteInProgramFolder(const std::string& name, const std::string& bytes) const {
    WriteBytes(program.folder.File(name), bytes);
  }
  void WriteInLanguagesFolder(const std::string& name, const std::string& bytes) const {
    // Joined as bytes: names keep the system's code page on Windows.
    WriteBytes(program.folder.Folder() + "Tonemark.languages/" + name, bytes);
  }
  static void Load(const std::string& language) {
    LoadLanguage(language, LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  }
  static void BuildList() { BuildLanguageList(LanguagesFolderName, ProductSubFolder, ProductSubFolder); }

  ProgramInTempFolder program;
};

TEST_F(Multilang, ALanguageMergesOverTheOnesLoadedBefore) {
  WriteInLanguagesFolder("English.lang", "BOK=OK\r\nBCancel=Cancel\r\nLGamma=Gamma:\r\n");
  WriteInLanguagesFolder("Deutsch.lang", "BCancel=Abbrechen\r\nBOK=OK!\r\n");
  WriteInLanguagesFolder("Fran\xE7" "ais.lang", "BOK=Valider\r\nLPos=Point :\r\n");

  Load("English");
  Load("Deutsch");
  EXPECT_EQ(TextTable, (Table{{"BOK", "OK!"}, {"BCancel", "Abbrechen"}, {"LGamma", "Gamma:"}}));

  // A run-time switch keeps, for the keys the new language lacks, the texts
  // of the language shown before.
  Load("Fran\xE7" "ais");
  EXPECT_EQ(TextTable, (Table{{"BOK", "Valider"},
                              {"BCancel", "Abbrechen"},
                              {"LGamma", "Gamma:"},
                              {"LPos", "Point :"}}));
}

TEST_F(Multilang, AKeyTwiceInOneFileKeepsTheLaterText) {
  WriteInProgramFolder("English.lang", "BOK=first\r\nBOK=second\r\n");
  Load("English");
  EXPECT_EQ(TextTable, (Table{{"BOK", "second"}}));
}

TEST_F(Multilang, TranslateMatchesKeysExactlyAndShowsAnUnknownKeyItself) {
  WriteInProgramFolder("English.lang", "BOK=OK\r\nBOK =spaced\r\n");
  Load("English");
  EXPECT_EQ(Translate("BOK"), "OK");
  EXPECT_EQ(Translate("bok"), "bok");
  EXPECT_EQ(Translate("TabWelcome"), "TabWelcome");
  EXPECT_EQ(Translate(""), "");
}

TEST_F(Multilang, AMissingLanguageLeavesTheTableAsItWas) {
  WriteInProgramFolder("English.lang", "BOK=OK\r\n");
  Load("English");
  Load("Nowhere");
  EXPECT_EQ(TextTable, (Table{{"BOK", "OK"}}));
}

TEST_F(Multilang, TheProgramFolderComesBeforeTheLanguagesFolder) {
  WriteInProgramFolder("English.lang", "BOK=from the program folder\r\n");
  WriteInLanguagesFolder("English.lang", "BOK=from the languages folder\r\n");
  Load("English");
  EXPECT_EQ(Translate("BOK"), "from the program folder");
}

TEST_F(Multilang, TheLanguagesFolderServesWhenTheProgramFolderHasNoFile) {
  WriteInLanguagesFolder("English.lang", "BOK=from the languages folder\r\n");
  // A folder of that name is no language file.
  std::filesystem::create_directory(program.folder.Path() / "English.lang");
  Load("English");
  EXPECT_EQ(Translate("BOK"), "from the languages folder");
}

TEST_F(Multilang, TheListHoldsEachNameOnceInSearchOrder) {
  WriteInProgramFolder("English.lang", "");
  WriteInProgramFolder("Deutsch.lang", "");
  WriteInProgramFolder("notes.txt", "");
  WriteInProgramFolder("Old.lang.bak", "");
  WriteInLanguagesFolder("English.lang", "");
  WriteInLanguagesFolder("english.lang.txt", "");
  std::filesystem::create_directory(LanguagesFolder() / "Folder.lang");

  BuildList();
  ASSERT_EQ(LanguageList.size(), 3u);
  // The file system decides the order within one folder.
  std::vector<std::string> programFolder(LanguageList.begin(), LanguageList.begin() + 2);
  std::sort(programFolder.begin(), programFolder.end());
  EXPECT_EQ(programFolder, (std::vector<std::string>{"Deutsch", "English"}));
  EXPECT_EQ(LanguageList[2], "Folder");
}

TEST_F(Multilang, NamesDifferingInLetterCaseAreDifferentLanguages) {
  WriteInProgramFolder("English.lang", "");
  WriteInLanguagesFolder("english.lang", "");
  BuildList();
  EXPECT_EQ(LanguageList, (std::vector<std::string>{"English", "english"}));
}

TEST_F(Multilang, TheListIsBuiltAfresh) {
  LanguageList = {"Stale"};
  BuildList();
  EXPECT_EQ(LanguageList, std::vector<std::string>{});
}

}  // namespace
