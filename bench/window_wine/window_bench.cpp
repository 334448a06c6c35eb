// window_bench.exe: Tonemark.exe's calibration window under Wine on a
// 3840 x 2160 screen (one simulated display of that size), against an empty
// Win32 window in the same run:
// - start to first frame: from starting the program until the bar's silver
//   shows at the screen's bottom-right pixel;
// - click to new frame: a real click (SendInput) on GammaUpDown's up arrow
//   until the curve graph on screen has changed (the up-down, the handler,
//   the ramp loaded into the simulated display, the new frame); the empty
//   window's click repaints the whole window.
// Environment: TONEMARK_EXE and EMPTY_WINDOW_EXE (Unix paths reach Wine as
// Z:\...); BENCH_STARTS and BENCH_CLICKS how many of each.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Width = 3840, Height = 2160;
constexpr COLORREF BarSilver = RGB(192, 192, 192);
constexpr auto TimeOut = std::chrono::seconds(60);
constexpr DWORD SettleMs = 60;
// The curve graph: 256 pixels square at 96 DPI, centred, 8 from the top.
constexpr RECT Graph{Width / 2 - 128, 8, Width / 2 + 128, 264};

std::string WinePath(const char* variable) {
  std::string path = std::getenv(variable) ? std::getenv(variable) : "";
  if (!path.empty() && path[0] == '/') {
    std::replace(path.begin(), path.end(), '/', '\\');
    path = "Z:" + path;
  }
  return path;
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename Test>
bool WaitFor(const Test& done) {
  const Clock::time_point start = Clock::now();
  while (!done())
    if (Clock::now() - start > TimeOut) return false;
  return true;
}

COLORREF ScreenPixel(int x, int y) {
  const HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return color;
}

std::vector<uint32_t> Capture(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width * height);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

PROCESS_INFORMATION Start(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    std::fprintf(stderr, "window_bench: cannot start %s\n", commandLine.c_str());
  return process;
}

void End(PROCESS_INFORMATION& process) {
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

// Milliseconds from the start until the bar's silver shows; negative when it never does.
double FirstFrame(const std::string& commandLine) {
  WaitFor([] { return ScreenPixel(Width - 2, Height - 2) != BarSilver; });
  const Clock::time_point start = Clock::now();
  PROCESS_INFORMATION process = Start(commandLine);
  const bool shown = WaitFor([] { return ScreenPixel(Width - 2, Height - 2) == BarSilver; });
  const double elapsed = MillisecondsSince(start);
  End(process);
  return shown ? elapsed : -1;
}

void Click(POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

std::vector<double> Clicks(int count, POINT at, const RECT& watched) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    Sleep(SettleMs);
    const std::vector<uint32_t> before = Capture(watched);
    const Clock::time_point start = Clock::now();
    Click(at);
    if (WaitFor([&] { return Capture(watched) != before; })) times.push_back(MillisecondsSince(start));
  }
  return times;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

BOOL CALLBACK CollectUpDown(HWND window, LPARAM found) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, "msctls_updown32") == 0 && IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

// The up arrow of the Gamma page's topmost up-down: GammaUpDown's.
POINT GammaUpArrow() {
  std::vector<HWND> upDowns;
  WaitFor([&] {
    upDowns.clear();
    EnumChildWindows(FindWindowA("TonemarkWindow", nullptr), CollectUpDown, reinterpret_cast<LPARAM>(&upDowns));
    return upDowns.size() == 4;
  });
  RECT top{0, Height, 0, Height};
  for (HWND upDown : upDowns) {
    RECT rect;
    GetWindowRect(upDown, &rect);
    if (rect.top < top.top) top = rect;
  }
  return {(top.left + top.right) / 2, top.top + (top.bottom - top.top) / 4};
}

void KeyChord(WORD modifier, WORD key) {
  INPUT inputs[4]{};
  for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[3].ki.wVk = modifier;
  inputs[1].ki.wVk = inputs[2].ki.wVk = key;
  inputs[2].ki.dwFlags = inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, inputs, sizeof(INPUT));
}

}  // namespace

int main() {
  const int starts = std::getenv("BENCH_STARTS") ? std::atoi(std::getenv("BENCH_STARTS")) : 9;
  const int clicks = std::getenv("BENCH_CLICKS") ? std::atoi(std::getenv("BENCH_CLICKS")) : 40;
  // Tonemark runs portable from a folder of its own, on one simulated display.
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tonemark-window-bench";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "Tonemark.languages");
  std::filesystem::create_directories(folder / "sim");
  const std::filesystem::path built = WinePath("TONEMARK_EXE");
  std::filesystem::copy_file(built, folder / "Tonemark.exe");
  std::filesystem::copy_file(built.parent_path() / "Tonemark.languages" / "English.lang",
                             folder / "Tonemark.languages" / "English.lang");
  std::ofstream(folder / "sim" / "displays.ini") << "[Monitor1]\r\nRect=0,0,3840,2160\r\n";
  SetEnvironmentVariableA("TONEMARK_SIM", (folder / "sim").string().c_str());
  SetEnvironmentVariableA("TONEMARK_SCRIPT", nullptr);
  const std::string tonemark = "\"" + (folder / "Tonemark.exe").string() + "\"";

  // The empty window's button stands where Tonemark's arrow does.
  PROCESS_INFORMATION session = Start(tonemark);
  WaitFor([] { return ScreenPixel(Width - 2, Height - 2) == BarSilver; });
  WaitFor([] { return GetForegroundWindow() == FindWindowA("TonemarkWindow", nullptr); });
  for (int page = 0; page < 3; ++page) KeyChord(VK_CONTROL, VK_TAB);  // to Gamma
  const POINT arrow = GammaUpArrow();
  const std::vector<double> clickTonemark = Clicks(clicks, arrow, Graph);
  End(session);
  const std::string empty = "\"" + WinePath("EMPTY_WINDOW_EXE") + "\" " + std::to_string(Width) + " " +
                            std::to_string(Height) + " " + std::to_string(arrow.x) + " " + std::to_string(arrow.y);
  session = Start(empty);
  WaitFor([] { return ScreenPixel(Width - 2, Height - 2) == BarSilver; });
  const std::vector<double> clickEmpty = Clicks(clicks, arrow, Graph);
  End(session);

  std::vector<double> startTonemark, startEmpty;
  for (int i = 0; i < starts; ++i) {
    startTonemark.push_back(FirstFrame(tonemark));
    startEmpty.push_back(FirstFrame(empty));
  }
  std::filesystem::remove_all(folder);

  const double startA = Median(startTonemark), startB = Median(startEmpty);
  const double clickA = Median(clickTonemark), clickB = Median(clickEmpty);
  std::printf("\n%-34s %12s %12s %8s\n", "Wine, 3840 x 2160", "Tonemark ms", "empty ms", "ratio");
  std::printf("%-34s %12.1f %12.1f %8.2f\n", "start to first frame (median)", startA, startB, startA / startB);
  std::printf("%-34s %12.2f %12.2f %8.2f\n", "click to new frame (median)", clickA, clickB, clickA / clickB);
  std::printf("(%zu of %d clicks changed the graph)\n", clickTonemark.size(), clicks);
  return 0;
}
