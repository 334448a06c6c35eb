#include "loader/command_line.h"

#include <gtest/gtest.h>

namespace {

TLoaderOptions Parse(std::vector<std::string> args) { return ParseLoaderCommandLine(args); }

TEST(LoaderCommandLine, NothingOrAnUnknownArgumentWaitsTenSeconds) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {""}, {"/load"}, {"/Delay", "5"}, {"delay", "5"}, {"/delay5"}, {"/UNINSTALL"}}) {
    TLoaderOptions options = Parse(args);
    EXPECT_FALSE(options.Uninstall) << testing::PrintToString(args);
    EXPECT_EQ(options.DelayMs, 10000) << testing::PrintToString(args);
  }
}

TEST(LoaderCommandLine, UninstallOnlyAsTheFirstArgument) {
  EXPECT_TRUE(Parse({"/uninstall"}).Uninstall);
  EXPECT_TRUE(Parse({"/uninstall", "/delay", "5"}).Uninstall);
  EXPECT_FALSE(Parse({"/delay", "/uninstall"}).Uninstall);
  EXPECT_FALSE(Parse({"x", "/uninstall"}).Uninstall);
  EXPECT_FALSE(Parse({"/uninstall "}).Uninstall);
}

TEST(LoaderCommandLine, DelayCountsWholeSeconds) {
  EXPECT_EQ(Parse({"/delay", "30"}).DelayMs, 30000);
  EXPECT_EQ(Parse({"/delay", "1"}).DelayMs, 1000);
  EXPECT_EQ(Parse({"/delay", "007"}).DelayMs, 7000);
  EXPECT_EQ(Parse({"/delay", "30", "/delay", "5"}).DelayMs, 30000);
}

TEST(LoaderCommandLine, DelayReadsLeadingDigitsAfterBlanks) {
  EXPECT_EQ(Parse({"/delay", "5abc"}).DelayMs, 5000);
  EXPECT_EQ(Parse({"/delay", "  12"}).DelayMs, 12000);
  EXPECT_EQ(Parse({"/delay", "\t3 4"}).DelayMs, 3000);
  EXPECT_EQ(Parse({"/delay", "2.9"}).DelayMs, 2000);
}

TEST(LoaderCommandLine, DelayWithoutDigitsOrZeroFallsBackToTenSeconds) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"/delay"}, {"/delay", ""}, {"/delay", "0"}, {"/delay", "000"}, {"/delay", "word"},
           {"/delay", "-5"}, {"/delay", "+5"}, {"/delay", "abc5"}, {"/delay", "   "}}) {
    EXPECT_EQ(Parse(args).DelayMs, 10000) << testing::PrintToString(args);
  }
}

TEST(LoaderCommandLine, DelayTooLongForSignedMillisecondsFallsBackToTenSeconds) {
  EXPECT_EQ(Parse({"/delay", "2147483"}).DelayMs, 2147483000);
  EXPECT_EQ(Parse({"/delay", "2147484"}).DelayMs, 10000);
  EXPECT_EQ(Parse({"/delay", "4294968"}).DelayMs, 10000);
  EXPECT_EQ(Parse({"/delay", "99999999999999999999999999"}).DelayMs, 10000);
  EXPECT_EQ(Parse({"/delay", "2147484abc"}).DelayMs, 10000);
}

TEST(LoaderCommandLine, MainArgumentsSkipTheProgramPath) {
  const char* uninstall[] = {"/opt/tonewatch", "/uninstall"};
  EXPECT_TRUE(ParseLoaderArguments(2, uninstall).Uninstall);

  const char* delay[] = {"/opt/tonewatch", "/delay", "5abc", "ignored"};
  TLoaderOptions options = ParseLoaderArguments(4, delay);
  EXPECT_FALSE(options.Uninstall);
  EXPECT_EQ(options.DelayMs, 5000);

  const char* delayAlone[] = {"/opt/tonewatch", "/delay"};
  EXPECT_EQ(ParseLoaderArguments(2, delayAlone).DelayMs, 10000);

  const char* programOnly[] = {"/delay"};
  EXPECT_EQ(ParseLoaderArguments(1, programOnly).DelayMs, 10000);
  EXPECT_FALSE(ParseLoaderArguments(0, nullptr).Uninstall);
}

TEST(LoaderCommandLine, NoLoadLeavesOutTheLaunchAtStart) {
  EXPECT_FALSE(Parse({"/noload"}).LoadAtStart);
  EXPECT_TRUE(Parse({}).LoadAtStart);
  EXPECT_TRUE(Parse({"/delay", "/noload"}).LoadAtStart);
}

TEST(LoaderCommandLine, TrayAndNoTrayCountAnywhereAndTheLastWins) {
  EXPECT_EQ(Parse({}).Tray, TrayAsSettingsSay);
  EXPECT_EQ(Parse({"/tray"}).Tray, TrayShown);
  EXPECT_EQ(Parse({"/notray"}).Tray, TrayHidden);
  TLoaderOptions delayed = Parse({"/delay", "5", "/tray"});
  EXPECT_EQ(delayed.Tray, TrayShown);
  EXPECT_EQ(delayed.DelayMs, 5000);
  EXPECT_EQ(Parse({"/tray", "/notray"}).Tray, TrayHidden);
  EXPECT_EQ(Parse({"/Tray"}).Tray, TrayAsSettingsSay);
  EXPECT_EQ(Parse({"/tray "}).Tray, TrayAsSettingsSay);
}

}  // namespace

namespace {

TEST(LoaderCommandLine, WatchSetsTheSecondsOrLeavesThemToTheSettings) {
  EXPECT_EQ(Parse({}).WatchSeconds, -1);
  EXPECT_EQ(Parse({"/watch", "5"}).WatchSeconds, 5);
  EXPECT_EQ(Parse({"/watch", "0"}).WatchSeconds, 0);
  EXPECT_EQ(Parse({"/watch", " 2s"}).WatchSeconds, 2);
  EXPECT_EQ(Parse({"/watch", "off"}).WatchSeconds, -1);
  EXPECT_EQ(Parse({"/watch"}).WatchSeconds, -1);
  EXPECT_EQ(Parse({"/watch", "99999999999"}).WatchSeconds, 86400);
  EXPECT_EQ(Parse({"/watch", "5"}).DelayMs, 10000);
}

TEST(LoaderCommandLine, StatusOnlyAsTheFirstArgument) {
  EXPECT_TRUE(Parse({"/status"}).Status);
  EXPECT_FALSE(Parse({"/delay", "/status"}).Status);
  EXPECT_FALSE(Parse({"/Status"}).Status);
}

}  // namespace
