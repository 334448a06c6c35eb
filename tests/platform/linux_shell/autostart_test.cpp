#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/shell_desktop_entry.h"
#include "shell/data_folders.h"
#include "tests/platform/linux_shell/xdg_environment.h"

namespace {

int ValidateDesktopEntry(const std::string& path) {
  return std::system(("desktop-file-validate '" + path + "' >&2").c_str());
}

class Autostart : public ::testing::Test {
 protected:
  std::string EntryPath() const { return environment.ConfigHome() + "/autostart/tonewatch.desktop"; }

  XdgEnvironment environment;
};

TEST_F(Autostart, CreatingTwiceLeavesOneValidEntryThatStartsTheLoader) {
  EXPECT_TRUE(CreateStartupShortcut("/opt/orvana/tonewatch"));
  EXPECT_TRUE(CreateStartupShortcut("/opt/orvana/tonewatch"));
  const auto folder = std::filesystem::path(environment.ConfigHome()) / "autostart";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  EXPECT_EQ(ReadBytes(EntryPath()),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=tonewatch\n"
            "Exec=\"/opt/orvana/tonewatch\"\n"
            "TryExec=/opt/orvana/tonewatch\n"
            "Terminal=false\n");
  EXPECT_EQ(ValidateDesktopEntry(EntryPath()), 0);
}

TEST_F(Autostart, DeletingRemovesTheEntryAndAMissingOneIsNoError) {
  CreateStartupShortcut("/opt/orvana/tonewatch");
  EXPECT_TRUE(DeleteStartupShortcut("/opt/orvana/tonewatch"));
  EXPECT_FALSE(std::filesystem::exists(EntryPath()));
  EXPECT_TRUE(DeleteStartupShortcut("/opt/orvana/tonewatch"));
}

TEST_F(Autostart, ARelativeTargetIsStartedByItsAbsolutePath) {
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(environment.temp.Path());
  CreateStartupShortcut("bin/tonewatch");
  std::filesystem::current_path(saved);
  EXPECT_NE(ReadBytes(EntryPath()).find("Exec=\"" + environment.temp.Folder() + "bin/tonewatch\"\n"),
            std::string::npos);
}

TEST_F(Autostart, ARelativeConfigHomeFallsBackToTheHomeFolder) {
  environment.Set("XDG_CONFIG_HOME", "relative");
  EXPECT_TRUE(CreateStartupShortcut("/opt/orvana/tonewatch"));
  EXPECT_TRUE(std::filesystem::exists(environment.Home() + "/.config/autostart/tonewatch.desktop"));
}

TEST(DesktopEntryText, QuotesAndEscapesEveryAwkwardPath) {
  const std::string text = DesktopEntryText("/opt/My Tools/100% \"$HOME\" `x` a\\b/tonewatch");
  // Inside the quotes ", `, $ and \ take a backslash, % doubles, and the
  // string escapes then double every backslash.
  EXPECT_NE(text.find("Exec=\"/opt/My Tools/100%% \\\\\"\\\\$HOME\\\\\" \\\\`x\\\\` a\\\\\\\\b/tonewatch\"\n"),
            std::string::npos)
      << text;
  const TempFolder temp;
  WriteBytes(temp.File("awkward.desktop"), text);
  EXPECT_EQ(ValidateDesktopEntry(temp.File("awkward.desktop")), 0);
}

}  // namespace
