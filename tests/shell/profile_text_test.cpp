#include <gtest/gtest.h>

#include "shell/profile_text.h"

namespace {

TEST(ProfileValue, MatchesSectionAndKeyInAnyLetterCase) {
  const std::string text = "[SETTINGS]\r\nlanguage=Deutsch\r\n";
  EXPECT_EQ(ProfileValue(text, "Settings", "Language"), "Deutsch");
  EXPECT_EQ(ProfileValue(text, "settings", "LANGUAGE"), "Deutsch");
}

TEST(ProfileValue, TellsAnAbsentKeyFromAnEmptyOne) {
  const std::string text = "[Settings]\r\nLanguage=\r\nBare\r\n[Other]\r\nZoom=3\r\n";
  EXPECT_EQ(ProfileValue(text, "Settings", "Language"), "");
  EXPECT_EQ(ProfileValue(text, "Settings", "Bare"), "");
  EXPECT_EQ(ProfileValue(text, "Settings", "Zoom"), std::nullopt);
  EXPECT_EQ(ProfileValue(text, "Missing", "Language"), std::nullopt);
  EXPECT_EQ(ProfileValue("", "Settings", "Language"), std::nullopt);
}

TEST(ProfileValue, IgnoresBlanksAroundNamesAndValuesAndOnePairOfQuotes) {
  const std::string text = "  [ Settings ]  \n\t Language \t=  Deutsch  \nPath=\"C:\\a b\\\"\n";
  EXPECT_EQ(ProfileValue(text, "Settings", "Language"), "Deutsch");
  EXPECT_EQ(ProfileValue(text, "Settings", "Path"), "C:\\a b\\");
}

TEST(ProfileValue, TakesTheFirstOfRepeatedSectionsAndKeys) {
  const std::string text = "[S]\nK=1\nK=2\n[s]\nK=3\n";
  EXPECT_EQ(ProfileValue(text, "S", "K"), "1");
}

TEST(ProfileValue, KeepsCommentsAndKeysOfOtherSectionsApart) {
  const std::string text = "Language=top\r\n[Settings]\r\n;Language=comment\r\n[X]\r\nLanguage=x\r\n";
  EXPECT_EQ(ProfileValue(text, "Settings", "Language"), std::nullopt);
}

TEST(WithProfileValues, WritesANewFileSectionFirstKeysInOrder) {
  EXPECT_EQ(WithProfileValues("", "Settings", {{"Language", "English"}, {"ReferenceImage", "r.jpg"}}),
            "[Settings]\r\nLanguage=English\r\nReferenceImage=r.jpg\r\n");
}

TEST(WithProfileValues, ReplacesAKeyInPlaceAndLeavesEveryOtherLineAlone) {
  const std::string text =
      "; comment\n[Window]\nLanguage=Other\n\n[settings]\nZoom = 3\nLANGUAGE = Deutsch\n\n[Tail]\nA=1";
  EXPECT_EQ(WithProfileValues(text, "Settings", {{"Language", "Svenska"}}),
            "; comment\n[Window]\nLanguage=Other\n\n[settings]\nZoom = 3\nLanguage=Svenska\n\n[Tail]\nA=1");
}

TEST(WithProfileValues, AddsAKeyAfterTheLastEntryOfItsSection) {
  const std::string text = "[Settings]\r\nLanguage=Deutsch\r\n\r\n[Tail]\r\nA=1\r\n";
  EXPECT_EQ(WithProfileValues(text, "SETTINGS", {{"ReferenceImage", "r.jpg"}}),
            "[Settings]\r\nLanguage=Deutsch\r\nReferenceImage=r.jpg\r\n\r\n[Tail]\r\nA=1\r\n");
}

TEST(WithProfileValues, AddsAMissingSectionAtTheEnd) {
  EXPECT_EQ(WithProfileValues("[Tail]\nA=1", "Settings", {{"Language", "English"}}),
            "[Tail]\nA=1\r\n\r\n[Settings]\r\nLanguage=English\r\n");
  EXPECT_EQ(WithProfileValues("[Settings]", "Settings", {{"Language", "English"}}),
            "[Settings]\r\nLanguage=English\r\n");
}

TEST(WithProfileValues, ALastLineEndedByACarriageReturnAloneIsEndedBeforeANewKey) {
  EXPECT_EQ(WithProfileValues("[Settings]\r\nA=1\r", "Settings", {{"Language", "English"}}),
            "[Settings]\r\nA=1\r\nLanguage=English\r\n");
}

TEST(WithProfileValues, AValueStopsAtALineBreakSoThatItCannotAddKeys) {
  EXPECT_EQ(WithProfileValues("", "Settings", {{"ReferenceImage", "/tmp/a\nLanguage=x"}}),
            "[Settings]\r\nReferenceImage=/tmp/a\r\n");
}

}  // namespace
