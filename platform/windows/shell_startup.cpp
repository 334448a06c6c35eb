// The start-at-log-on entry on Windows: a shell link in the user's Startup
// folder, whose path the registry's "Shell Folders" key holds.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "platform/windows/com_scope.h"
#include "shell/shell_port.h"

namespace {

constexpr const char* ShellFoldersKey =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* StartupValue = "Startup";

std::wstring WideFromAnsi(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return L"";
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.pop_back();  // the terminator
  return wide;
}

bool SaveShellLink(const std::string& linkPath, const std::string& target) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetArguments("")) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  if (saved) {
    saved = SUCCEEDED(file->Save(WideFromAnsi(linkPath).c_str(), FALSE));
    file->Release();
  }
  link->Release();
  return saved;
}

}  // namespace

namespace ShellPort {

std::string StartupFolder() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, ShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "";
  DWORD type = 0;
  DWORD size = 0;
  std::string folder;
  if (RegQueryValueExA(key, StartupValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
    std::vector<char> value(size + 1, '\0');
    if (RegQueryValueExA(key, StartupValue, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(value.data()), &size) == ERROR_SUCCESS)
      folder = value.data();  // stops at the stored terminator, if any
  }
  RegCloseKey(key);
  return folder;
}

std::string StartupEntryExtension() { return ".lnk"; }

bool SaveStartupEntry(const std::string& entryPath, const std::string& target) {
  const TComScope com;
  return SaveShellLink(entryPath, target);
}

}  // namespace ShellPort
