#include "loader/ini_text.h"

#include <gtest/gtest.h>

#include <string>

#include "loader/tray_settings.h"

namespace {

TEST(IniText, FindsAKeyInItsSectionWithoutRegardToCaseOrBlanks) {
  const char* text = "[Settings]\r\nLanguage=German\r\n; Tray=0\r\n[ tonewatch ]\r\n tray = 1 \r\nWatch=\r\n";
  const struct { const char *Section, *Key, *Expected; } cases[] = {
      {"Tonewatch", "Tray", "1"},      {"Tonewatch", "Watch", ""},          {"Settings", "Tray", "<absent>"},
      {"Settings", "LANGUAGE", "German"}, {"Missing", "Language", "<absent>"},
  };
  for (const auto& c : cases) {
    char value[32];
    EXPECT_EQ(FindIniValue(text, c.Section, c.Key, value, sizeof value) ? value : "<absent>", std::string(c.Expected))
        << c.Section << "/" << c.Key;
  }
}

TEST(IniText, SetReplacesTheKeyOrAddsItAtTheEndOfItsSectionKeepingEveryOtherByte) {
  const struct { const char *Text, *Key, *Value, *Expected; } cases[] = {
      {"[Settings]\r\nLanguage=German\r\n[Tonewatch]\r\nPausedUntil=5\r\nTray=1\r\n", "PausedUntil", "forever",
       "[Settings]\r\nLanguage=German\r\n[Tonewatch]\r\nPausedUntil=forever\r\nTray=1\r\n"},
      {"[tonewatch]\nPausedUntil = 5", "PausedUntil", "", "[tonewatch]\nPausedUntil="},
      {"[Tonewatch]\r\nTray=1\r\n\r\n[Settings]\r\nLanguage=French\r\n", "PausedUntil", "9",
       "[Tonewatch]\r\nTray=1\r\nPausedUntil=9\r\n\r\n[Settings]\r\nLanguage=French\r\n"},
      {"[Settings]\nLanguage=French", "PausedUntil", "9", "[Settings]\nLanguage=French\n[Tonewatch]\nPausedUntil=9\n"},
      {"[Tonewatch]", "Tray", "1", "[Tonewatch]\nTray=1\n"},
  };
  for (const auto& c : cases) {
    char out[256] = "";
    EXPECT_GT(SetIniValue(c.Text, "Tonewatch", c.Key, c.Value, out, sizeof out), 0u) << c.Text;
    EXPECT_STREQ(out, c.Expected);
  }
  // What does not fit is refused; what just fits is written whole.
  char out[16];
  EXPECT_EQ(SetIniValue("[Tonewatch]\n", "Tonewatch", "PausedUntil", "1", out, sizeof out), 0u);
  EXPECT_EQ(SetIniValue("", "T", "K", "v", out, sizeof out), 8u);
  EXPECT_STREQ(out, "[T]\nK=v\n");
}

TEST(TraySettings, ReadsTheIconThePauseAndTheLanguage) {
  const struct { const char* Text; bool Tray; int64_t PausedUntil; TTrayLanguage Language; } cases[] = {
      {"[Settings]\nLanguage=spanish\n[Tonewatch]\nTray=1\nPausedUntil=1700000000\n", true, 1700000000, TraySpanish},
      {"", false, 0, TrayEnglish},
      {"[Settings]\nLanguage=Klingon\n[Tonewatch]\nTray=yes\nPausedUntil=forever\n", false, PausedForever, TrayEnglish},
      {"[Tonewatch]\nPausedUntil=-5\n", false, 0, TrayEnglish},
      {"[Tonewatch]\nPausedUntil=99999999999999999999\n", false, 0, TrayEnglish},
  };
  for (const auto& c : cases) {
    const TTraySettings settings = ReadTraySettings(c.Text);
    EXPECT_EQ(settings.Tray, c.Tray) << c.Text;
    EXPECT_EQ(settings.PausedUntil, c.PausedUntil) << c.Text;
    EXPECT_EQ(settings.Language, c.Language) << c.Text;
  }
}

TEST(TraySettings, APauseHoldsUntilItsEndAndIsWrittenBack) {
  EXPECT_FALSE(PauseHolds(0, 100));
  EXPECT_FALSE(PauseHolds(100, 100));  // over at its end, held a second before
  EXPECT_TRUE(PauseHolds(101, 100) && PauseHolds(PausedForever, 4000000000));
  for (const auto& [until, expected] : {std::pair<int64_t, const char*>{PausedForever, "forever"},
                                        {1700003600, "1700003600"}, {0, ""}}) {
    char text[32];
    FormatPausedUntil(until, text, sizeof text);
    EXPECT_STREQ(text, expected);
  }
}

}  // namespace
