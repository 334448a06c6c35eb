// The main() of every test program: before the first test, HOME and the XDG
// base folders point into a fresh temporary folder, removed at the end, so
// that no test reaches the user's own folders, however the program is started.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "tests/temp_folder.h"

int main(int argc, char** argv) {
  TempFolder home;
  const std::pair<const char*, const char*> folders[] = {
      {"HOME", "home"}, {"XDG_CONFIG_HOME", "home/.config"}, {"XDG_DATA_HOME", "home/.local/share"},
      {"XDG_CACHE_HOME", "home/.cache"}, {"XDG_RUNTIME_DIR", "runtime"}};
  for (const auto& [variable, folder] : folders) {
    const std::filesystem::path path = home.Path() / folder;
    std::filesystem::create_directories(path);
    setenv(variable, path.c_str(), 1);
  }
  std::filesystem::permissions(home.Path() / "runtime", std::filesystem::perms::owner_all);
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
