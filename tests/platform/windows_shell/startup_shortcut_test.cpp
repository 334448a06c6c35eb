#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <filesystem>

#include "shell/data_folders.h"
#include "shell/shell_port.h"
#include "tests/temp_folder.h"

namespace {

constexpr const char* ShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Points the registry's Startup folder of Wine's private prefix at a
// temporary folder for the life of the object, and puts the old value back.
class StartupFolderInTemp {
 public:
  StartupFolderInTemp() {
    RegCreateKeyExA(HKEY_CURRENT_USER, ShellFoldersKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                    nullptr, &key_, nullptr);
    char old[MAX_PATH * 4] = {};
    DWORD size = sizeof old - 1;
    hadValue_ = RegQueryValueExA(key_, "Startup", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    old_ = old;
    Set(Folder());
  }
  ~StartupFolderInTemp() {
    if (hadValue_) Set(old_);
    else RegDeleteValueA(key_, "Startup");
    RegCloseKey(key_);
  }
  StartupFolderInTemp(const StartupFolderInTemp&) = delete;
  StartupFolderInTemp& operator=(const StartupFolderInTemp&) = delete;

  std::string Folder() const { return temp.Path().string(); }
  void Remove() { RegDeleteValueA(key_, "Startup"); }

  TempFolder temp;

 private:
  void Set(const std::string& value) {
    RegSetValueExA(key_, "Startup", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }

  HKEY key_ = nullptr;
  bool hadValue_ = false;
  std::string old_;
};

struct LinkContents {
  std::string Path;
  std::string Arguments;
};

// Reads a shell link back through the same shell object that wrote it.
LinkContents ReadShellLink(const std::string& linkPath) {
  LinkContents contents;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    const std::wstring wide(linkPath.begin(), linkPath.end());
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
      char text[MAX_PATH * 4] = {};
      if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, 0))) contents.Path = text;
      text[0] = '\0';
      if (SUCCEEDED(link->GetArguments(text, sizeof text))) contents.Arguments = text;
    }
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return contents;
}

size_t EntryCount(const std::filesystem::path& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(WindowsStartupShortcut, TheStartupFolderComesFromTheRegistry) {
  StartupFolderInTemp startup;
  EXPECT_EQ(ShellPort::StartupFolder(), startup.Folder());
}

TEST(WindowsStartupShortcut, CreatingTwiceLeavesOneLinkToTheLoader) {
  StartupFolderInTemp startup;
  const TempFolder program;
  const std::string target = program.File("Tonewatch.exe");
  WriteBytes(target, "MZ");
  EXPECT_TRUE(CreateStartupShortcut(target));
  EXPECT_TRUE(CreateStartupShortcut(target));
  EXPECT_EQ(EntryCount(startup.temp.Path()), 1u);
  const LinkContents link = ReadShellLink(startup.Folder() + "\\Tonewatch.lnk");
  EXPECT_EQ(link.Path, target);
  EXPECT_EQ(link.Arguments, "");
}

TEST(WindowsStartupShortcut, DeletingRemovesTheLinkAndAMissingOneIsNoError) {
  StartupFolderInTemp startup;
  const std::string target = "C:\\Program Files\\Orvana\\Tonemark\\Tonewatch.exe";
  CreateStartupShortcut(target);
  ASSERT_TRUE(std::filesystem::exists(startup.temp.Path() / "Tonewatch.lnk"));
  EXPECT_TRUE(DeleteStartupShortcut(target));
  EXPECT_EQ(EntryCount(startup.temp.Path()), 0u);
  EXPECT_TRUE(DeleteStartupShortcut(target));
}

// Nothing placed is reported as such: the session tells the user that the
// loader will not start at log-on.
TEST(WindowsStartupShortcut, WithoutAStartupValueNothingIsSavedAndCreatingSaysSo) {
  StartupFolderInTemp startup;
  startup.Remove();
  EXPECT_EQ(ShellPort::StartupFolder(), "");
  std::string whyNot = "unchanged";
  EXPECT_FALSE(CreateStartupShortcut("C:\\Program Files\\Orvana\\Tonemark\\Tonewatch.exe", &whyNot));
  EXPECT_EQ(whyNot, "");
  EXPECT_EQ(EntryCount(startup.temp.Path()), 0u);
}

}  // namespace
