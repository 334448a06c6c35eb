#include "ramp/file_error.h"
#include "shell/data_folders.h"
#include "shell/shell_port.h"

namespace {

// The entry's full path, or empty when the system has no start-up folder.
std::string StartupEntryPath(const std::string& target) {
  const std::string folder = ShellPort::StartupFolder();
  if (folder.empty()) return "";
  return folder + ShellPort::PathDelimiter() +
         ShortcutFileName(target, ShellPort::StartupEntryExtension());
}

}  // namespace

std::string ShortcutFileName(const std::string& target, const std::string& extension) {
  const std::string name = target.substr(FolderOf(target).size());
  const size_t dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

bool CreateStartupShortcut(const std::string& target, std::string* whyNot) {
  const std::string entry = StartupEntryPath(target);
  const bool saved = !entry.empty() && ShellPort::SaveStartupEntry(entry, target);
  if (whyNot != nullptr) *whyNot = saved || entry.empty() ? "" : UnableToWriteMessage(entry);
  return saved;
}

bool DeleteStartupShortcut(const std::string& target) {
  const std::string entry = StartupEntryPath(target);
  if (!entry.empty() && ShellPort::FileExists(entry)) ShellPort::DeleteFileAt(entry);
  return true;
}
