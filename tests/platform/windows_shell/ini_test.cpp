#include <gtest/gtest.h>

#include <filesystem>

#include "shell/shell_port.h"
#include "tests/temp_folder.h"

namespace {

using ShellPort::ReadIniString;
using ShellPort::WriteIniStrings;

TEST(WindowsIni, ReadsNamesInAnyLetterCaseAndTellsEmptyFromAbsent) {
  const TempFolder temp;
  const std::string path = temp.File("Tonemark.settings");
  WriteBytes(path, "[SETTINGS]\r\nlanguage=\r\nReferenceImage=D:\\r.jpg\r\n");
  EXPECT_EQ(ReadIniString(path, "Settings", "Language", "English"), "");
  EXPECT_EQ(ReadIniString(path, "settings", "REFERENCEIMAGE", "x"), "D:\\r.jpg");
  EXPECT_EQ(ReadIniString(path, "Settings", "Missing", "fallback"), "fallback");
  EXPECT_EQ(ReadIniString(temp.File("none.settings"), "Settings", "Language", "English"),
            "English");
}

TEST(WindowsIni, WritesOneSectionAndLeavesTheOthers) {
  const TempFolder temp;
  const std::string path = temp.File("Tonemark.settings");
  WriteBytes(path, "[Window]\r\nLanguage=Other\r\n[settings]\r\nZoom=3\r\nLanguage=Deutsch\r\n");
  ASSERT_TRUE(WriteIniStrings(path, "Settings",
                              {{"Language", "Svenska"}, {"ReferenceImage", "r.jpg"}}));
  EXPECT_EQ(ReadIniString(path, "Window", "Language", ""), "Other");
  EXPECT_EQ(ReadIniString(path, "Settings", "Zoom", ""), "3");
  EXPECT_EQ(ReadIniString(path, "Settings", "Language", ""), "Svenska");
  EXPECT_EQ(ReadIniString(path, "Settings", "ReferenceImage", ""), "r.jpg");
}

TEST(WindowsIni, ANewFileListsTheSectionThenTheKeysInOrder) {
  const TempFolder temp;
  const std::string path = temp.File("Tonemark.settings");
  ASSERT_TRUE(WriteIniStrings(path, "Settings",
                              {{"Language", "English"}, {"ReferenceImage", "r.jpg"}}));
  EXPECT_EQ(ReadBytes(path), "[Settings]\r\nLanguage=English\r\nReferenceImage=r.jpg\r\n");
}

TEST(WindowsIni, AFileInUtf16StaysInUtf16) {
  const TempFolder temp;
  const std::string path = temp.File("Tonemark.settings");
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("[Settings]\r\nZoom=3\r\n")) utf16 += std::string{c, '\0'};
  WriteBytes(path, utf16);
  ASSERT_TRUE(WriteIniStrings(path, "Settings", {{"Language", "Svenska"}}));
  EXPECT_EQ(ReadBytes(path).substr(0, 4), std::string("\xFF\xFE[\0", 4));
  EXPECT_EQ(ReadIniString(path, "Settings", "Language", ""), "Svenska");
  EXPECT_EQ(ReadIniString(path, "Settings", "Zoom", ""), "3");
}

TEST(WindowsIni, ARefusedWriteIsReported) {
  const TempFolder temp;
  std::filesystem::create_directory(temp.Path() / "Tonemark.settings");
  EXPECT_FALSE(WriteIniStrings(temp.File("Tonemark.settings"), "Settings",
                               {{"Language", "English"}}));
  EXPECT_FALSE(WriteIniStrings(temp.File("missing\\Tonemark.settings"), "Settings",
                               {{"Language", "English"}}));
}

}  // namespace
