// The shell port's folders and files on Windows: the shell's special folders
// and the ANSI file functions, so that paths keep the system's code page.
#include <windows.h>
#include <shlobj.h>

#include "platform/windows/ansi_path.h"
#include "shell/shell_port.h"

namespace {

int Csidl(ShellPort::TSpecialFolder folder) {
  switch (folder) {
    case ShellPort::TSpecialFolder::ProgramFiles: return CSIDL_PROGRAM_FILES;
    case ShellPort::TSpecialFolder::CommonAppData: return CSIDL_COMMON_APPDATA;
    case ShellPort::TSpecialFolder::UserAppData: return CSIDL_APPDATA;
  }
  return CSIDL_PROGRAM_FILES;
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

}  // namespace

namespace ShellPort {

std::string SpecialFolderPath(TSpecialFolder folder) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, Csidl(folder), &items))) return "";
  // Asked in UTF-16, as the ANSI answer would carry '?' for some characters.
  wchar_t path[MAX_PATH + 1] = {};
  const bool found = SHGetPathFromIDListW(items, path) != FALSE;
  CoTaskMemFree(items);
  return found ? AnsiPath(path) : "";
}

char PathDelimiter() { return '\\'; }

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool DeleteFileAt(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::vector<std::string> FolderEntriesEndingWith(const std::string& folder,
                                                 const std::string& extension) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "*" + extension).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(entry.cFileName);
  while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

}  // namespace ShellPort
