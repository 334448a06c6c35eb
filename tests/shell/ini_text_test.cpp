#include <gtest/gtest.h>

#include "shell/ini_text.h"

namespace {

TEST(IniValue, MatchesSectionAndKeyInAnyLetterCase) {
  const std::string text = "[SETTINGS]\r\nlanguage=Deutsch\r\n";
  EXPECT_EQ(IniValue(text, "Settings", "Language"), "Deutsch");
  EXPECT_EQ(IniValue(text, "settings", "LANGUAGE"), "Deutsch");
}

TEST(IniValue, TellsAnAbsentKeyFromAnEmptyOne) {
  const std::string text = "[Settings]\r\nLanguage=\r\nBare\r\n[Other]\r\nZoom=3\r\n";
  EXPECT_EQ(IniValue(text, "Settings", "Language"), "");
  EXPECT_EQ(IniValue(text, "Settings", "Bare"), "");
  EXPECT_EQ(IniValue(text, "Settings", "Zoom"), std::nullopt);
  EXPECT_EQ(IniValue(text, "Missing", "Language"), std::nullopt);
  EXPECT_EQ(IniValue("", "Settings", "Language"), std::nullopt);
}

TEST(IniValue, IgnoresBlanksAroundNamesAndValuesAndOnePairOfQuotes) {
  const std::string text = "  [ Settings ]  \n\t Language \t=  Deutsch  \nPath=\"C:\\a b\\\"\n";
  EXPECT_EQ(IniValue(text, "Settings", "Language"), "Deutsch");
  EXPECT_EQ(IniValue(text, "Settings", "Path"), "C:\\a b\\");
}

TEST(IniValue, TakesTheFirstOfRepeatedSectionsAndKeys) {
  const std::string text = "[S]\nK=1\nK=2\n[s]\nK=3\n";
  EXPECT_EQ(IniValue(text, "S", "K"), "1");
}

TEST(IniValue, KeepsCommentsAndKeysOfOtherSectionsApart) {
  const std::string text = "Language=top\r\n[Settings]\r\n;Language=comment\r\n[X]\r\nLanguage=x\r\n";
  EXPECT_EQ(IniValue(text, "Settings", "Language"), std::nullopt);
}

TEST(WithIniValues, WritesANewFileSectionFirstKeysInOrder) {
  EXPECT_EQ(WithIniValues("", "Settings", {{"Language", "English"}, {"ReferenceImage", "r.jpg"}}),
            "[Settings]\r\nLanguage=English\r\nReferenceImage=r.jpg\r\n");
}

TEST(WithIniValues, ReplacesAKeyInPlaceAndLeavesEveryOtherLineAlone) {
  const std::string text =
      "; comment\n[Window]\nLanguage=Other\n\n[settings]\nZoom = 3\nLANGUAGE = Deutsch\n\n[Tail]\nA=1";
  EXPECT_EQ(WithIniValues(text, "Settings", {{"Language", "Svenska"}}),
            "; comment\n[Window]\nLanguage=Other\n\n[settings]\nZoom = 3\nLanguage=Svenska\n\n[Tail]\nA=1");
}

TEST(WithIniValues, AddsAKeyAfterTheLastEntryOfItsSection) {
  const std::string text = "[Settings]\r\nLanguage=Deutsch\r\n\r\n[Tail]\r\nA=1\r\n";
  EXPECT_EQ(WithIniValues(text, "SETTINGS", {{"ReferenceImage", "r.jpg"}}),
            "[Settings]\r\nLanguage=Deutsch\r\nReferenceImage=r.jpg\r\n\r\n[Tail]\r\nA=1\r\n");
}

TEST(WithIniValues, AddsAMissingSectionAtTheEnd) {
  EXPECT_EQ(WithIniValues("[Tail]\nA=1", "Settings", {{"Language", "English"}}),
            "[Tail]\nA=1\r\n\r\n[Settings]\r\nLanguage=English\r\n");
  EXPECT_EQ(WithIniValues("[Settings]", "Settings", {{"Language", "English"}}),
            "[Settings]\r\nLanguage=English\r\n");
}

TEST(WithIniValues, ALastLineEndedByACarriageReturnAloneIsEndedBeforeANewKey) {
  EXPECT_EQ(WithIniValues("[Settings]\r\nA=1\r", "Settings", {{"Language", "English"}}),
            "[Settings]\r\nA=1\r\nLanguage=English\r\n");
}

TEST(WithIniValues, AValueStopsAtALineBreakSoThatItCannotAddKeys) {
  EXPECT_EQ(WithIniValues("", "Settings", {{"ReferenceImage", "/tmp/a\nLanguage=x"}}),
            "[Settings]\r\nReferenceImage=/tmp/a\r\n");
}

}  // namespace
