#include <gtest/gtest.h>

#include <filesystem>

#include "lang/multilang.h"
#include "ramp/file_error.h"
#include "shell/settings_file.h"
#include "tests/shell/program_in_temp_folder.h"

namespace {

// A portable program, so the settings live beside it in a temporary folder.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentLanguage = "Klingon";
    ReferenceImagePath = "stale.jpg";
  }
  void TearDown() override {
    CurrentLanguage = "English";
    ReferenceImagePath = DefaultReferenceImage;
  }

  std::string Path() const { return program.folder.File("Tonemark.settings"); }

  ProgramInTempFolder program;
};

TEST_F(SettingsFile, LivesBesideAPortableProgram) { EXPECT_EQ(SettingsPath(), Path()); }

TEST_F(SettingsFile, FirstRunUsesTheDefaultsAndTheEndOfTheSessionWritesThem) {
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "English");
  EXPECT_EQ(ReferenceImagePath, "Tonemark.reference.jpg");
  EXPECT_FALSE(std::filesystem::exists(Path()));

  WriteSettings();
  CurrentLanguage = "x";
  ReferenceImagePath = "y";
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "English");
  EXPECT_EQ(ReferenceImagePath, "Tonemark.reference.jpg");
  const std::string text = ReadBytes(Path());
  const size_t section = text.find("[Settings]");
  const size_t language = text.find("Language=English");
  const size_t reference = text.find("ReferenceImage=Tonemark.reference.jpg");
  ASSERT_NE(section, std::string::npos);
  EXPECT_LT(section, language);
  EXPECT_LT(language, reference);
}

TEST_F(SettingsFile, ChangedValuesSurviveTheNextStart) {
  CurrentLanguage = "Fran\xE7" "ais";
  ReferenceImagePath = "C:\\Photos\\Caf\xE9 at night.jpg";
  WriteSettings();
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "Fran\xE7" "ais");
  EXPECT_EQ(ReferenceImagePath, "C:\\Photos\\Caf\xE9 at night.jpg");
}

TEST_F(SettingsFile, NamesMatchInAnyLetterCaseAndAnEmptyValueIsNotTheDefault) {
  WriteBytes(Path(), "[SETTINGS]\r\nlanguage=\r\nREFERENCEIMAGE=D:\\ref.jpg\r\n");
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "");
  EXPECT_EQ(ReferenceImagePath, "D:\\ref.jpg");
}

TEST_F(SettingsFile, AnAbsentKeyKeepsItsDefault) {
  WriteBytes(Path(), "[settings]\r\nLanguage=Deutsch\r\n");
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "Deutsch");
  EXPECT_EQ(ReferenceImagePath, "Tonemark.reference.jpg");
}

TEST_F(SettingsFile, KeysOfOtherSectionsAreNeitherReadNorChanged) {
  WriteBytes(Path(),
             "[Window]\r\nLanguage=Other\r\n\r\n[settings]\r\nLanguage=Deutsch\r\nZoom=3\r\n");
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "Deutsch");
  CurrentLanguage = "Svenska";
  ReferenceImagePath = "r.jpg";
  WriteSettings();
  const std::string text = ReadBytes(Path());
  EXPECT_NE(text.find("[Window]\r\nLanguage=Other\r\n"), std::string::npos);
  EXPECT_NE(text.find("Zoom=3"), std::string::npos);
  EXPECT_EQ(text.find("Deutsch"), std::string::npos);
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "Svenska");
  EXPECT_EQ(ReferenceImagePath, "r.jpg");
}

TEST_F(SettingsFile, AValueIsCutAt2047Bytes) {
  WriteBytes(Path(), "[Settings]\r\nReferenceImage=" + std::string(3000, 'p') + "\r\n");
  ReadSettings();
  EXPECT_EQ(ReferenceImagePath, std::string(2047, 'p'));
}

TEST_F(SettingsFile, ARefusedWriteRaisesTheMessageWithTheFullPath) {
  // A folder where the file should be: no system lets a file replace it.
  std::filesystem::create_directory(Path());
  try {
    WriteSettings();
    FAIL() << "the write was not refused";
  } catch (const TFileError& error) {
    std::string expected = "Unable to write to ";
    expected += Path();
    EXPECT_EQ(error.what(), expected);
  }
  EXPECT_TRUE(std::filesystem::is_directory(Path()));
}

}  // namespace
