#include "loader/ini_text.h"

#include <gtest/gtest.h>

#include <string>

#include "loader/tray_settings.h"

namespace {

std::string Find(const char* text, const char* section, const char* key) {
  char value[32];
  return FindIniValue(text, section, key, value, sizeof value) ? value : "<absent>";
}

std::string Set(const char* text, const char* section, const char* key, const char* value) {
  char out[256];
  return SetIniValue(text, section, key, value, out, sizeof out) > 0 ? out : "<too long>";
}

TEST(IniText, FindsAKeyInItsSectionWithoutRegardToCaseOrBlanks) {
  const char* text = "[Settings]\r\nLanguage=German\r\n; Tray=0\r\n[ tonewatch ]\r\n tray = 1 \r\nWatch=\r\n";
  EXPECT_EQ(Find(text, "Tonewatch", "Tray"), "1");
  EXPECT_EQ(Find(text, "Tonewatch", "Watch"), "");
  EXPECT_EQ(Find(text, "Settings", "Tray"), "<absent>");
  EXPECT_EQ(Find(text, "Settings", "LANGUAGE"), "German");
  EXPECT_EQ(Find(text, "Missing", "Language"), "<absent>");
  EXPECT_EQ(Find("", "Tonewatch", "Tray"), "<absent>");
}

TEST(IniText, SetReplacesTheKeysLineAndKeepsEveryOtherByte) {
  EXPECT_EQ(Set("[Settings]\r\nLanguage=German\r\n[Tonewatch]\r\nPausedUntil=5\r\nTray=1\r\n", "Tonewatch",
                "PausedUntil", "forever"),
            "[Settings]\r\nLanguage=German\r\n[Tonewatch]\r\nPausedUntil=forever\r\nTray=1\r\n");
  EXPECT_EQ(Set("[tonewatch]\nPausedUntil = 5", "Tonewatch", "PausedUntil", ""), "[tonewatch]\nPausedUntil=");
}

TEST(IniText, SetAddsTheKeyAtTheEndOfItsSectionOrTheSectionAtTheEnd) {
  EXPECT_EQ(Set("[Tonewatch]\r\nTray=1\r\n\r\n[Settings]\r\nLanguage=French\r\n", "Tonewatch", "PausedUntil", "9"),
            "[Tonewatch]\r\nTray=1\r\nPausedUntil=9\r\n\r\n[Settings]\r\nLanguage=French\r\n");
  EXPECT_EQ(Set("[Settings]\nLanguage=French", "Tonewatch", "PausedUntil", "9"),
            "[Settings]\nLanguage=French\n[Tonewatch]\nPausedUntil=9\n");
  EXPECT_EQ(Set("[Tonewatch]", "Tonewatch", "Tray", "1"), "[Tonewatch]\nTray=1\n");
  EXPECT_EQ(Set("", "Tonewatch", "Tray", "1"), "[Tonewatch]\nTray=1\n");
}

TEST(IniText, SetRefusesWhatDoesNotFit) {
  char out[16];
  EXPECT_EQ(SetIniValue("[Tonewatch]\n", "Tonewatch", "PausedUntil", "1", out, sizeof out), 0u);
  EXPECT_EQ(SetIniValue("", "T", "K", "v", out, sizeof out), 8u);
  EXPECT_STREQ(out, "[T]\nK=v\n");
}

TEST(TraySettings, ReadsTheIconThePauseAndTheLanguage) {
  TTraySettings settings = ReadTraySettings("[Settings]\nLanguage=spanish\n[Tonewatch]\nTray=1\nPausedUntil=1700000000\n");
  EXPECT_TRUE(settings.Tray);
  EXPECT_EQ(settings.PausedUntil, 1700000000);
  EXPECT_EQ(settings.Language, TraySpanish);

  TTraySettings none = ReadTraySettings("");
  EXPECT_FALSE(none.Tray);
  EXPECT_EQ(none.PausedUntil, 0);
  EXPECT_EQ(none.Language, TrayEnglish);

  EXPECT_EQ(ReadTraySettings("[Tonewatch]\nPausedUntil=forever\n").PausedUntil, PausedForever);
  EXPECT_FALSE(ReadTraySettings("[Tonewatch]\nTray=yes\n").Tray);
  EXPECT_EQ(ReadTraySettings("[Tonewatch]\nPausedUntil=-5\n").PausedUntil, 0);
  EXPECT_EQ(ReadTraySettings("[Tonewatch]\nPausedUntil=99999999999999999999\n").PausedUntil, 0);
  EXPECT_EQ(ReadTraySettings("[Settings]\nLanguage=Klingon\n").Language, TrayEnglish);
}

TEST(TraySettings, APauseHoldsUntilItsEnd) {
  EXPECT_FALSE(PauseHolds(0, 100));
  EXPECT_TRUE(PauseHolds(101, 100));
  EXPECT_FALSE(PauseHolds(100, 100));
  EXPECT_TRUE(PauseHolds(PausedForever, 4000000000));
  char text[32];
  FormatPausedUntil(PausedForever, text, sizeof text);
  EXPECT_STREQ(text, "forever");
  FormatPausedUntil(1700003600, text, sizeof text);
  EXPECT_STREQ(text, "1700003600");
  FormatPausedUntil(0, text, sizeof text);
  EXPECT_STREQ(text, "");
}

}  // namespace
