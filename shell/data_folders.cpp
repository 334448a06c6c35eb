#include "shell/data_folders.h"

#include <algorithm>
#include <vector>

#include "shell/command_line.h"
#include "shell/shell_port.h"

namespace {

// A drive such as "C:" is never created, whatever the system says about it.
constexpr size_t MaxDriveLength = 2;

template <class IsDelimiter>
std::string FolderPart(const std::string& path, IsDelimiter isDelimiter) {
  const auto last = std::find_if(path.rbegin(), path.rend(), isDelimiter);
  return std::string(path.begin(), last.base());
}

std::string DataFolder(ShellPort::TSpecialFolder folder, const std::string& sub) {
  if (IsPortable()) return ProgramFolder();
  const std::string base = ShellPort::SpecialFolderPath(folder);
  if (base.empty()) return ProgramFolder();
  return base + ShellPort::PathDelimiter() + NativeSubFolder(sub);
}

}  // namespace

std::string UpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool IsPathDelimiter(char c) { return c == '\\' || c == '/'; }

bool IsFileSystemDelimiter(char c) { return c == '/' || c == ShellPort::PathDelimiter(); }

std::string FolderOf(const std::string& path) { return FolderPart(path, IsPathDelimiter); }

std::string NativeSubFolder(const std::string& sub) {
  std::string native = sub;
  std::replace_if(native.begin(), native.end(), IsPathDelimiter, ShellPort::PathDelimiter());
  return native;
}

std::string ProgramFolder() {
  if (CommandLineArgs.empty()) return "";
  return FolderOf(CommandLineArgs[0]);
}

bool IsPortableFolder(const std::string& programFolder, const std::string& programFilesFolder) {
  if (programFilesFolder.empty()) return true;
  return UpperCase(programFolder).find(UpperCase(programFilesFolder)) == std::string::npos;
}

bool LiesUnderFolder(const std::string& folder, const std::string& parent) {
  const auto components = [](const std::string& path) {
    std::vector<std::string> names;
    std::string name;
    for (const char c : path + '/') {
      if (c != '/') {
        name += c;
        continue;
      }
      if (!name.empty() && name != ".") names.push_back(name);
      name.clear();
    }
    return names;
  };
  if (parent.empty() || parent.front() != '/' || folder.empty() || folder.front() != '/') return false;
  const std::vector<std::string> inner = components(folder), outer = components(parent);
  return outer.size() <= inner.size() && std::equal(outer.begin(), outer.end(), inner.begin());
}

// Asked afresh on every call: nothing about the folders is cached. Windows
// looks for its program-files path anywhere in the folder's name; on a system
// whose only delimiter is "/", a folder that merely contains the prefix's
// letters (~/usr/tonemark/) is no installed copy.
bool IsPortable() {
  const std::string programFiles = ShellPort::SpecialFolderPath(ShellPort::TSpecialFolder::ProgramFiles);
  if (ShellPort::PathDelimiter() == '/') return !LiesUnderFolder(ProgramFolder(), programFiles);
  return IsPortableFolder(ProgramFolder(), programFiles);
}

std::string CommonDataFolder(const std::string& sub) {
  return DataFolder(ShellPort::TSpecialFolder::CommonAppData, sub);
}

std::string UserDataFolder(const std::string& sub) {
  return DataFolder(ShellPort::TSpecialFolder::UserAppData, sub);
}

bool ForceFolder(const std::string& folder) {
  std::string path = folder;
  if (!path.empty() && IsFileSystemDelimiter(path.back())) path.pop_back();
  if (path.size() <= MaxDriveLength || ShellPort::FolderExists(path)) return true;
  const std::string parent = FolderPart(path, IsFileSystemDelimiter);
  if (parent == path) return true;
  return ForceFolder(parent) && ShellPort::CreateFolder(path);
}
