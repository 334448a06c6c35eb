#include "tests/platform/windows_window/tonemark_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/sim/sim_ramp_file.h"
#include "platform/windows/main_window_view.h"

namespace {

constexpr DWORD PollMs = 100;

struct FindArguments {
  DWORD processId;
  const char* className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM argument) {
  auto& find = *reinterpret_cast<FindArguments*>(argument);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (processId == find.processId && lstrcmpiA(className, find.className) == 0 &&
      (!find.visibleOnly || IsWindowVisible(window)))
    find.found.push_back(window);
  return TRUE;
}

void Send(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

INPUT MouseInput(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    Sleep(PollMs);
  }
  return true;
}

std::string WinePath(const char* unixPath) {
  std::string path = unixPath ? unixPath : "";
  if (!path.empty() && path[0] == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
  return path;
}

TGammaRamp IdentityRamp() {
  TGammaRamp ramp{};
  for (int i = 0; i < 768; ++i) ramp[i] = static_cast<uint16_t>(i % 256 * 257);
  return ramp;
}

TonemarkSession::TonemarkSession(const std::string& displaysIni) {
  // No window manager runs on Xvfb: Wine is to stack and activate the windows
  // itself, as Windows does, rather than leave that to a manager.
  HKEY driver = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &driver,
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(driver, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(driver);
  }
  std::filesystem::create_directories(folder_.Path() / "program" / "Tonemark.languages");
  std::filesystem::create_directories(folder_.Path() / "sim");
  program_ = (folder_.Path() / "program" / "").string();
  sim_ = (folder_.Path() / "sim" / "").string();
  WriteBytes(sim_ + "displays.ini", displaysIni);
  const std::string built = WinePath(std::getenv("TONEMARK_EXE"));
  EXPECT_TRUE(CopyFileA(built.c_str(), (program_ + "Tonemark.exe").c_str(), FALSE)) << built;
  const std::filesystem::path languages = std::filesystem::path(built).parent_path() / "Tonemark.languages";
  std::filesystem::copy_file(languages / "English.lang", folder_.Path() / "program" / "Tonemark.languages" / "English.lang");
}

TonemarkSession::~TonemarkSession() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, SessionTimeoutMs);
  }
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
}

bool TonemarkSession::Start() {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  const HANDLE errors = CreateFileA(folder_.File("stderr.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = errors;
  startup.hStdOutput = errors;
  SetEnvironmentVariableA("TONEMARK_SIM", sim_.c_str());
  SetEnvironmentVariableA("TONEMARK_SCRIPT", nullptr);
  std::string commandLine = "\"" + program_ + "Tonemark.exe\"";
  const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      program_.c_str(), &startup, &process_);
  SetEnvironmentVariableA("TONEMARK_SIM", nullptr);
  CloseHandle(errors);
  if (!started) return false;
  // Shown, and with the keyboard, before the test's input may go to it.
  return WaitUntil([this] {
    window_ = TopLevel(MainWindowClassName);
    return window_ != nullptr && IsWindowVisible(window_) && GetForegroundWindow() == window_;
  });
}

HWND TonemarkSession::TopLevel(const char* className) const {
  FindArguments find{process_.dwProcessId, className, false, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&find));
  return find.found.empty() ? nullptr : find.found.front();
}

RECT TonemarkSession::WindowRect(HWND window) const {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::vector<HWND> TonemarkSession::Children(const char* className) const {
  FindArguments find{process_.dwProcessId, className, true, {}};
  EnumChildWindows(window_, CollectWindow, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

std::vector<RECT> TonemarkSession::ChildRects(const char* className) const {
  std::vector<RECT> rects;
  for (HWND child : Children(className)) rects.push_back(WindowRect(child));
  return rects;
}

void TonemarkSession::Click(int x, int y) {
  SetCursorPos(x, y);
  Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void TonemarkSession::Keys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, false));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) inputs.push_back(KeyInput(*key, true));
  Send(inputs);
}

bool TonemarkSession::WaitForExit(DWORD& exitCode) {
  if (WaitForSingleObject(process_.hProcess, SessionTimeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(process_.hProcess, &exitCode);
}

TGammaRamp TonemarkSession::Ramp(int monitor) const {
  TGammaRamp ramp = IdentityRamp();  // a ramp file appears with the first load
  ReadRampFile(sim_ + "ramp" + std::to_string(monitor) + ".txt", ramp);
  return ramp;
}

void PointBackTo127(TonemarkSession& session, const char* level) {
  HWND selector = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND edit : session.Children("Edit")) {
      char text[16] = {};
      SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));  // another process's control
      if (std::string(text) == level) selector = edit;
    }
    return selector != nullptr;
  }, PageTimeoutMs)) << "no edit shows " << level;
  SendMessageA(selector, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("127"));
}
