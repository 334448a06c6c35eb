#include "loader/shown_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "loader/status_text.h"

namespace {

std::string Ramp(int first) {
  std::string values;
  for (int i = 0; i < 768; ++i) values += (i ? " " : "") + std::to_string(i == 0 ? first : i % 256 * 257);
  return values;
}

const std::string TwoDisplays =
    "[Display1]\r\nIdentity=ACM-1A2B-5555\r\nDevice=DP-1\r\nBackend=x11\r\nCurve=Tonemark2.lut\r\n"
    "Loaded=1765280000\r\nResult=kept\r\nReason=\r\nFuture=ignored\r\nRamp=" + Ramp(7) + "\r\n"
    "[Display2]\nIdentity=ACM-1A2B-HDMI-1\nDevice=HDMI-1\nBackend=x11\nCurve=Tonemark1.lut\nLoaded=1765280001\n"
    "Result=refused\nReason=the display takes no ramp\nRamp=\n"
    "[Display3]\nIdentity=ACM-9999\nDevice=DP-2\nBackend=x11\nCurve=\nResult=kept\nRamp=" + Ramp(0) + "\n";

std::unique_ptr<TShownFile> Read(const std::string& text) {
  auto shown = std::make_unique<TShownFile>();
  ReadShownText(text.data(), text.size(), *shown);
  return shown;
}

TEST(ShownFile, ReadsEachDisplaysSectionAndItsRamp) {
  auto shown = Read(TwoDisplays);
  ASSERT_EQ(shown->Count, 3);
  const TShownDisplay& first = shown->Displays[0];
  EXPECT_STREQ(first.Identity, "ACM-1A2B-5555");
  EXPECT_STREQ(first.Device, "DP-1");
  EXPECT_STREQ(first.Backend, "x11");
  EXPECT_STREQ(first.Curve, "Tonemark2.lut");
  EXPECT_EQ(first.Loaded, 1765280000);
  EXPECT_STREQ(first.Result, "kept");
  ASSERT_TRUE(first.HasRamp);
  EXPECT_EQ(first.Ramp[0], 7);
  EXPECT_EQ(first.Ramp[255], 65535);
  EXPECT_EQ(first.Ramp[256 + 1], 257);
  EXPECT_FALSE(shown->Displays[1].HasRamp);
  EXPECT_STREQ(shown->Displays[1].Reason, "the display takes no ramp");
}

TEST(ShownFile, ARampOfAnyOtherLengthOrRangeIsNoRamp) {
  for (const std::string& ramp : {Ramp(0) + " 5", Ramp(0).substr(2), Ramp(65536), Ramp(0) + " x", "x" + Ramp(0)}) {
    auto shown = Read("[Display1]\nRamp=" + ramp + "\n");
    ASSERT_EQ(shown->Count, 1);
    EXPECT_FALSE(shown->Displays[0].HasRamp) << ramp.substr(0, 20);
  }
}

TEST(ShownFile, KeepsSixteenDisplaysAndCutsLongValues) {
  std::string text;
  for (int i = 0; i < 20; ++i) text += "[Display" + std::to_string(i + 1) + "]\nIdentity=" + std::string(300, 'a' + i) + "\n";
  auto shown = Read(text);
  ASSERT_EQ(shown->Count, 16);
  EXPECT_EQ(std::string(shown->Displays[15].Identity), std::string(159, 'p'));
  EXPECT_EQ(Read("")->Count, 0);
  EXPECT_EQ(Read("Identity=x\n")->Count, 0);
}

TEST(ShownFile, StatusWithoutARunningWatchSaysWhatTheLastLoadRunLeft) {
  auto shown = Read(TwoDisplays);
  auto status = std::make_unique<TWatchStatus>();
  StatusFromShown(*shown, false, "Tonewatch is not running", *status);
  std::string report(4096, '\0');
  FormatWatchStatus(*status, false, 0, report.data(), report.size());
  report.resize(report.find('\0'));
  EXPECT_EQ(report,
            "Tonewatch is not running; as the last load run left the displays:\n"
            "Display 1: ACM-1A2B-5555 (DP-1)\n  curve: Tonemark2.lut\n  last loaded: 2025-12-09 11:33:20 UTC\n"
            "  re-loads today: 0\n  not watched: Tonewatch is not running\n"
            "Display 2: ACM-1A2B-HDMI-1 (HDMI-1)\n  curve: Tonemark1.lut\n  last loaded: 2025-12-09 11:33:21 UTC\n"
            "  re-loads today: 0\n  refused its ramp: the display takes no ramp\n"
            "Display 3: ACM-9999 (DP-2)\n  curve: none of its own\n  last loaded: never\n"
            "  re-loads today: 0\n  no curve of its own: never touched\n");
  StatusFromShown(*shown, true, "", *status);
  EXPECT_EQ(status->Displays[0].State, WatchLoaded);
  char date[40];
  FormatUtc(951782400, date, sizeof date);  // a leap day
  EXPECT_STREQ(date, "2000-02-29 00:00:00 UTC");
}

}  // namespace
