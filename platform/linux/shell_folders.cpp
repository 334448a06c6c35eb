// The shell port's folders and files on Linux: the install prefix and the XDG
// base folders stand for the Windows special folders.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/shell_xdg.h"
#include "shell/shell_port.h"

#ifndef TONEMARK_INSTALL_PREFIX
#error "TONEMARK_INSTALL_PREFIX names the configured install prefix"
#endif

namespace {

constexpr mode_t NewFolderMode = 0777;  // narrowed by the user's umask

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

namespace ShellPort {

std::string SpecialFolderPath(TSpecialFolder folder) {
  switch (folder) {
    case TSpecialFolder::ProgramFiles: {
      const std::string prefix = WithoutTrailingSlashes(TONEMARK_INSTALL_PREFIX);
      return prefix == "/" ? prefix : prefix + "/";
    }
    case TSpecialFolder::CommonAppData:
      return XdgConfigHome();
    case TSpecialFolder::UserAppData:
      return XdgDataHome();
  }
  return "";
}

char PathDelimiter() { return '/'; }

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) { return IsFolder(path); }

bool CreateFolder(const std::string& path) { return mkdir(path.c_str(), NewFolderMode) == 0; }

bool DeleteFileAt(const std::string& path) { return unlink(path.c_str()) == 0; }

std::vector<std::string> FolderEntriesEndingWith(const std::string& folder,
                                                 const std::string& extension) {
  std::vector<std::string> names;
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return names;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name.size() >= extension.size() &&
        name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
      names.push_back(name);
  }
  closedir(directory);
  return names;
}

}  // namespace ShellPort
