#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "shell/open_through_shell.h"
#include "tests/platform/linux_shell/xdg_environment.h"

namespace {

using namespace std::chrono_literals;

// Stand-ins for the desktop's openers, found first on PATH. Each writes the
// arguments it got to a file named after it, then ends with `exitCode`.
class Openers : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(Bin());
    environment.Set("PATH", Bin() + ":" + std::getenv("PATH"));
  }

  std::string Bin() const { return environment.temp.Folder() + "bin"; }
  std::string Record(const std::string& opener) const {
    return environment.temp.Folder() + opener + ".args";
  }

  void WriteOpener(const std::string& name, int exitCode, const std::string& before = "") const {
    const std::string path = Bin() + "/" + name;
    WriteBytes(path, "#!/bin/sh\n" + before + "printf '%s|' \"$@\" > '" + Record(name) +
                         ".tmp'\nmv '" + Record(name) + ".tmp' '" + Record(name) + "'\nexit " +
                         std::to_string(exitCode) + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  }

  // The record's text once it exists; empty after a few seconds without it.
  std::string AwaitRecord(const std::string& opener) const {
    for (int i = 0; i < 100 && !std::filesystem::exists(Record(opener)); ++i)
      std::this_thread::sleep_for(50ms);
    return ReadBytes(Record(opener));
  }

  XdgEnvironment environment;
};

const std::string AwkwardTarget = "/tmp/a b/$HOME \"q\" `x`;.jpg";

TEST_F(Openers, TheDesktopOpenerGetsTheTargetAsItStands) {
  WriteOpener("xdg-open", 0);
  WriteOpener("gio", 0);
  OpenThroughShell(AwkwardTarget);
  EXPECT_EQ(AwaitRecord("xdg-open"), AwkwardTarget + "|");
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(std::filesystem::exists(Record("gio")));
}

TEST_F(Openers, GioOpensWhenTheDesktopOpenerFails) {
  WriteOpener("xdg-open", 3);
  WriteOpener("gio", 0);
  OpenThroughShell("https://example.org/uninstall?a=1&b=2");
  EXPECT_EQ(AwaitRecord("xdg-open"), "https://example.org/uninstall?a=1&b=2|");
  EXPECT_EQ(AwaitRecord("gio"), "open|https://example.org/uninstall?a=1&b=2|");
}

TEST_F(Openers, TheCallerDoesNotWaitForTheOpener) {
  const std::string release = environment.temp.Folder() + "release";
  WriteOpener("xdg-open", 0,
              "i=0; while [ ! -e '" + release + "' ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i+1)); done\n");
  const auto start = std::chrono::steady_clock::now();
  OpenThroughShell("/tmp/x.jpg");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_FALSE(std::filesystem::exists(Record("xdg-open")));
  WriteBytes(release, "");
  EXPECT_EQ(AwaitRecord("xdg-open"), "/tmp/x.jpg|");
}

}  // namespace
