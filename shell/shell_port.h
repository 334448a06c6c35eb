// What the shell needs from the operating system: its special folders, files
// and folders by name, the start-at-log-on entry, opening a document, and the
// INI functions behind the settings file.
//
// Each build has exactly one implementation, chosen at link time: the library
// tonemark_platform_linux_shell (platform/linux/shell_*.cpp) or
// tonemark_platform_windows_shell (platform/windows/shell_*.cpp).
// tonemark_shell_folders links the one of the build's OS, so every program and
// test that links the shell gets the real one; nothing is installed at start.
//
// Paths are byte strings in the system's ANSI code page (Windows) or as the
// file system holds them (Linux). No function here throws.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ShellPort {

enum class TSpecialFolder {
  ProgramFiles,   // Windows CSIDL_PROGRAM_FILES; Linux the install prefix and "/"
  CommonAppData,  // Windows CSIDL_COMMON_APPDATA; Linux $XDG_CONFIG_HOME
  UserAppData,    // Windows CSIDL_APPDATA; Linux $XDG_DATA_HOME
};

// The folder as the system names it, normally without a trailing delimiter
// (the Linux program-files answer keeps its "/"); empty when the system has
// no answer.
std::string SpecialFolderPath(TSpecialFolder folder);

// The delimiter that this system puts between folder names: '\' or '/'.
char PathDelimiter();

// True for an existing file that is not a folder.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates one folder whose parent exists; false when it cannot.
bool CreateFolder(const std::string& path);
bool DeleteFileAt(const std::string& path);

// The names of the entries of `folder` (ending with a delimiter) whose names
// end with `extension`, folders included, in the order in which the file
// system lists them. Empty when the folder cannot be read.
std::vector<std::string> FolderEntriesEndingWith(const std::string& folder,
                                                 const std::string& extension);

// The folder whose entries the desktop starts at log-on (Windows: the Startup
// folder from the registry; Linux: $XDG_CONFIG_HOME/autostart), without a
// trailing delimiter; empty when there is none.
std::string StartupFolder();
// The extension of an entry in it: ".lnk" or ".desktop".
std::string StartupEntryExtension();
// Writes, or overwrites, the entry at `entryPath` that starts `target` without
// arguments. False when it could not be saved.
bool SaveStartupEntry(const std::string& entryPath, const std::string& target);

// Asks the desktop to open a file or web address with the user's program for
// it, and falls back to the file manager. Returns without waiting for either.
void OpenDocument(const std::string& target);

// Reads `key` of `section` in the INI file at `path`, section and key
// matched without regard to letter case; `fallback` when the file or the key
// is missing.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback);
// Sets each key of `section` to its value, replacing the key's line or adding
// one, and leaves every other section and key as it was. False when the
// system refused the write.
bool WriteIniStrings(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace ShellPort
