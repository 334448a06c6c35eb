#include "loader/tray_menu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "loader/tray_settings.h"

namespace {

constexpr int64_t Now = 1700000000;

TDisplayStatus Display(const char* device, const char* curve, TWatchState state, const char* why = "",
                       int32_t reloads = 0) {
  TDisplayStatus display = {};
  snprintf(display.Device, sizeof display.Device, "%s", device);
  snprintf(display.Curve, sizeof display.Curve, "%s", curve);
  snprintf(display.Why, sizeof display.Why, "%s", why);
  display.State = state, display.ReloadsToday = reloads;
  return display;
}

struct TTrayCase {
  TWatchStatus Watch = {};
  TTrayState State = {&Watch, 0, Now, TrayEnglish};
  void Add(const TDisplayStatus& display) { Watch.Displays[Watch.Count++] = display; }
  std::vector<std::string> Labels() const {
    TTrayMenu menu;
    BuildTrayMenu(State, menu);
    std::vector<std::string> labels;
    for (const TTrayItem& item : std::vector<TTrayItem>(menu.Items, menu.Items + menu.Count))
      labels.push_back(item.Separator ? "-" : std::string(item.Enabled ? "" : "(off) ") + item.Label);
    return labels;
  }
  std::string Tooltip() const {
    char text[TrayTooltipSize];
    BuildTrayTooltip(State, text, sizeof text);
    return text;
  }
};

TEST(TrayMenu, ListsEachDisplayWithItsStateThenTheCommands) {
  TTrayCase tray;
  tray.Add(Display("DP-1", "Tonemark1.lut", WatchLoaded));
  tray.Add(Display("DP-2", "Tonemark2.lut", WatchLoaded, "", 2));
  tray.Add(Display("HDMI-1", "Tonemark3.lut", WatchLeftAlone, "redshift sets its ramp"));
  tray.Add(Display("sim:4", "Tonemark4.lut", WatchRefused, "R&D says no"));
  tray.Add(Display("", "", WatchNoCurve));
  tray.Add(Display("eDP-1", "Tonemark6.lut", WatchNotWatched));
  EXPECT_EQ(tray.Labels(), (std::vector<std::string>{
                               "(off) Display 1 (DP-1): calibrated",
                               "(off) Display 2 (DP-2): calibrated, re-loaded today: 2",
                               "(off) Display 3 (HDMI-1): left alone: redshift sets its ramp",
                               "(off) Display 4 (sim:4): refused: R&&D says no",
                               "(off) Display 5: no curve of its own",
                               "(off) Display 6 (eDP-1): not watched",
                               "-", "&Re-apply now", "&Pause for 1 hour", "Pause &until turned on again",
                               "-", "&Calibrate\u2026", "&Quit Tonewatch",
                           }));
}

TEST(TrayMenu, APauseOffersTheWayBackAndNoReapply) {
  TTrayCase tray;
  tray.Add(Display("DP-1", "Tonemark1.lut", WatchNotWatched));
  tray.State.PausedUntil = Now + 60;
  tray.State.Language = TrayGerman;
  EXPECT_EQ(tray.Labels(), (std::vector<std::string>{
                               "(off) Monitor 1 (DP-1): lineare Kurve (Pause)", "-", "(off) &Jetzt erneut laden",
                               "Kalibrierung wieder &einschalten", "-", "&Kalibrieren\u2026", "&Tonewatch beenden",
                           }));
  // Over, and without watched displays: only the commands, the pause's entries back.
  tray.State.PausedUntil = Now;
  tray.State.Watch = nullptr;
  const std::vector<std::string> labels = tray.Labels();
  ASSERT_EQ(labels.size(), 6u);
  EXPECT_EQ(labels[0], "&Jetzt erneut laden");
  EXPECT_EQ(labels[1], "1 Stunde &pausieren");
}

TEST(TrayTooltip, SaysThePauseTheFirstTroubleOrHowManyAreCalibrated) {
  TTrayCase tray;
  EXPECT_EQ(tray.Tooltip(), "Calibration on");
  tray.Add(Display("DP-1", "", WatchNoCurve));
  EXPECT_EQ(tray.Tooltip(), "No calibration stored");
  tray.Add(Display("DP-2", "Tonemark2.lut", WatchLoaded));
  EXPECT_EQ(tray.Tooltip(), "Calibration on: 1 display");
  tray.Add(Display("DP-3", "Tonemark3.lut", WatchLoaded));
  EXPECT_EQ(tray.Tooltip(), "Calibration on: 2 displays");
  tray.Add(Display("DP-4", "Tonemark4.lut", WatchRefused, "HDR"));
  EXPECT_EQ(tray.Tooltip(), "Display 4 refuses its calibration");
  tray.Watch.Displays[1].State = WatchLeftAlone;
  EXPECT_EQ(tray.Tooltip(), "Display 2 left alone: another program sets its ramp");
  tray.State.PausedUntil = Now + 51 * 60 + 1;  // minutes begun count
  EXPECT_EQ(tray.Tooltip(), "Paused for 52 min");
  tray.State.PausedUntil = PausedForever;
  tray.State.Language = TraySpanish;
  EXPECT_EQ(tray.Tooltip(), "Calibraci\u00f3n en pausa");
}

TEST(TrayLabels, AccessKeysBecomeUnderscoresOrGo) {
  char text[64];
  LabelWithUnderscores("R&&D my_file &_x", text, sizeof text);
  EXPECT_STREQ(text, "R&D my__file ___x");
  LabelWithoutMarks("&Pause for 1 hour && more", text, sizeof text);
  EXPECT_STREQ(text, "Pause for 1 hour & more");
  LabelWithUnderscores("abc&", text, 4);
  EXPECT_STREQ(text, "abc");
}

// The conversion letters of a format, in order.
std::string Conversions(const char* format) {
  std::string found;
  for (const char* at = strchr(format, '%'); at != nullptr; at = strchr(at + 1, '%')) found += at[1];
  return found;
}

TEST(TrayTexts, EveryLanguageHasEveryTextAndTheFormatsMatch) {
  for (int language = 0; language < TrayLanguageCount; ++language)
    for (int text = 0; text < TrayTextCount; ++text) {
      const char* translated = TrayText(static_cast<TTrayLanguage>(language), static_cast<TTrayText>(text));
      ASSERT_NE(translated, nullptr);
      EXPECT_NE(translated[0], '\0');
      EXPECT_EQ(Conversions(translated), Conversions(TrayText(TrayEnglish, static_cast<TTrayText>(text))))
          << language << " " << text;
    }
  EXPECT_EQ(TrayLanguageNamed("GERMAN"), TrayGerman);
  EXPECT_EQ(TrayLanguageNamed(""), TrayEnglish);
}

}  // namespace
