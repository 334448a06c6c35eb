// A stand-in for Tonemark.exe beside the loader under test: each start appends
// "<tick count> <command line>" to starts.txt in the stand-in's own folder,
// followed by " [TONEMARK_SAFE=1]" when its environment holds that.
// When hold-ms.txt is there too, it then runs that many milliseconds, as a
// load stepping its ramps, and appends "<tick count> end" to ends.txt.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {
bool Append(const std::string& record, const std::string& line) {
  // Two stand-ins may start together; retry while the other one holds the file.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = CreateFileA(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return true;
    }
    Sleep(50);
  }
  return false;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  const std::string program(path, length);
  const std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
  char safe[8] = {};
  const bool isSafe = GetEnvironmentVariableA("TONEMARK_SAFE", safe, sizeof safe) > 0 && std::string(safe) == "1";
  if (!Append(folder + "starts.txt", std::to_string(GetTickCount64()) + " " + GetCommandLineA() +
                                         (isSafe ? " [TONEMARK_SAFE=1]" : "") + "\r\n"))
    return 1;
  HANDLE hold = CreateFileA((folder + "hold-ms.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hold == INVALID_HANDLE_VALUE) return 0;
  char text[16] = {};
  DWORD read = 0;
  ReadFile(hold, text, sizeof(text) - 1, &read, nullptr);
  CloseHandle(hold);
  Sleep(static_cast<DWORD>(std::atoi(text)));
  return Append(folder + "ends.txt", std::to_string(GetTickCount64()) + " end\r\n") ? 0 : 1;
}
