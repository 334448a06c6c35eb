// A stand-in for Tonemark.exe beside the loader under test: each start appends
// "<tick count> <command line>" to starts.txt in the stand-in's own folder.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string record = std::string(path, length);
  record = record.substr(0, record.find_last_of("\\/") + 1) + "starts.txt";
  const std::string line =
      std::to_string(GetTickCount64()) + " " + GetCommandLineA() + "\r\n";
  // Two stand-ins may start together; retry while the other one holds the file.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = CreateFileA(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(50);
  }
  return 1;
}
