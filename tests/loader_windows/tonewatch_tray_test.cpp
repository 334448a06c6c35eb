// Tonewatch.exe's notification-area icon under Wine: added with "/tray" (and
// only then), its menu drawn by TrackPopupMenu and reached by keyboard, and
// each command doing what it says: Re-apply starts a load run, a pause a
// run with TONEMARK_SAFE=1 that is stored and holds back the others, turning
// it on again a load run, Calibrate… Tonemark.exe itself, Quit the end.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "loader/tray_menu.h"
#include "loader/windows/tray_icon.h"
#include "tests/loader_windows/loader_sandbox.h"

namespace {

// NIM_MODIFY succeeds only while the icon exists.
bool Notify(HWND loader, DWORD message) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data, data.hWnd = loader, data.uID = 1;
  return Shell_NotifyIconW(message, &data) != FALSE;
}
bool IconShown(HWND loader) { return Notify(loader, NIM_MODIFY); }
bool MenuShown() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu != nullptr && IsWindowVisible(menu);
}

// The screen's pixels in `area`, as a 24-bit BMP file.
void SaveScreen(const RECT& area, const std::string& path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB};
  std::string pixels(size_t((width * 3 + 3) & ~3) * height, '\0');
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
  BITMAPFILEHEADER file{0x4D42, DWORD(offset + pixels.size()), 0, 0, offset};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), pixels.size());
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

struct TrayFixture : testing::Test {
  LoaderSandbox Sandbox;
  std::string Folder = Sandbox.InstallFolder();
  HANDLE Loader = nullptr;
  HWND Window = nullptr;

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(Folder + name, std::ios::binary) << text;
  }
  std::string Settings() const {
    std::ifstream in(Folder + "Tonemark.settings", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // Starts the loader and waits for its window and its launch at start (start number `starts`).
  bool Start(const std::string& arguments, size_t starts) {
    Loader = Sandbox.StartLoader(arguments);
    Window = WaitForLoaderWindow();
    return Window != nullptr && Sandbox.WaitForStarts(starts);
  }
  bool Stop() {
    DWORD code = 0;
    PostMessageA(Window, WM_CLOSE, 0, 0);
    return WaitForExit(Loader, code);
  }
  // The command line of start number `count`, once it came.
  std::string StartNumber(size_t count) const {
    return Sandbox.WaitForStarts(count) ? Sandbox.Starts().back().CommandLine : "<no start>";
  }
  std::string Choose(TTrayCommand command, size_t count) {
    PostMessageA(Window, WM_COMMAND, TrayCommandBase + command, 0);
    return StartNumber(count);
  }
  std::string Load() const { return "\"" + Folder + "Tonemark.exe\" /load"; }
};

TEST_F(TrayFixture, TheIconShowsOnlyWhenTheSettingsOrTrayAskForIt) {
  ASSERT_TRUE(Start("/delay 300", 1));
  EXPECT_FALSE(IconShown(Window));
  ASSERT_TRUE(Stop());
  // "/notray" wins over the settings.
  Write("Tonemark.settings", "[Tonewatch]\r\nTray=1\r\n");
  ASSERT_TRUE(Start("/delay 300 /notray", 2));
  Sleep(2000);
  EXPECT_FALSE(IconShown(Window));
}

TEST_F(TrayFixture, TheMenuIsDrawnAndReachedByKeyboard) {
  // Two simulated displays as a load run left them: the first calibrated and
  // showing it, the second without a curve of its own.
  const std::string sim = Folder + "sim";
  CreateDirectoryA(sim.c_str(), nullptr);
  std::string ramp;
  for (int level = 0; level < 3 * 256; ++level) ramp += (ramp.empty() ? "" : " ") + std::to_string(level % 256 * 257);
  Write("sim\\ramp1.txt", ramp);
  Write("Tonemark.shown", "[Display1]\r\nIdentity=SIM1\r\nDevice=sim:1\r\nBackend=sim\r\nCurve=Tonemark1.lut\r\n"
                          "Loaded=1\r\nResult=kept\r\nReason=\r\nRamp=" + ramp + "\r\n"
                          "[Display2]\r\nIdentity=SIM2\r\nDevice=sim:2\r\nBackend=sim\r\nCurve=\r\nLoaded=1\r\n"
                          "Result=kept\r\nReason=\r\nRamp=\r\n");
  SetEnvironmentVariableA("TONEMARK_SIM", sim.c_str());
  Write("Tonemark.settings", "[Settings]\r\nLanguage=German\r\n");
  ASSERT_TRUE(Start("/delay 300 /tray", 1));
  ASSERT_TRUE(WaitUntil([&] { return IconShown(Window); }, 20000));
  SetCursorPos(400, 500);
  PostMessageA(Window, TrayCallbackMessage, 0, MAKELPARAM(WM_CONTEXTMENU, 1));
  ASSERT_TRUE(WaitUntil(MenuShown, 20000));
  Sleep(500);
  HWND menu = FindWindowA("#32768", nullptr);
  RECT area;
  GetWindowRect(menu, &area);
  EXPECT_GT(area.bottom - area.top, 100);
  if (const char* shots = std::getenv("TONEMARK_SCREENSHOTS")) {
    CreateDirectoryA(shots, nullptr);
    SaveScreen(area, std::string(shots) + "\\tonewatch_tray_menu.bmp");
  }
  // "&Jetzt erneut laden": its access key runs a load and closes the menu.
  PostMessageA(menu, WM_CHAR, 'j', 0);
  EXPECT_EQ(StartNumber(2), Load());
  EXPECT_TRUE(WaitUntil([] { return !MenuShown(); }, 10000));
  SetEnvironmentVariableA("TONEMARK_SIM", nullptr);
}

TEST_F(TrayFixture, EachCommandDoesWhatItSays) {
  Write("Tonemark.settings", "[Settings]\r\nLanguage=English\r\n[Tonewatch]\r\nTray=1\r\n");
  ASSERT_TRUE(Start("/delay 300", 1));
  EXPECT_TRUE(WaitUntil([&] { return IconShown(Window); }, 20000));
  // A second start launches once and ends: the first loader and its icon stay.
  DWORD code = 1;
  ASSERT_TRUE(WaitForExit(Sandbox.StartLoader("/tray"), code));
  ASSERT_TRUE(Sandbox.WaitForStarts(2));
  EXPECT_EQ(FindWindowA("TonewatchWnd", nullptr), Window);
  // Explorer started again, without the icon: it comes back.
  ASSERT_TRUE(Notify(Window, NIM_DELETE));
  PostMessageA(Window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return IconShown(Window); }, 20000));

  EXPECT_EQ(Choose(TrayReapply, 3), Load());
  EXPECT_EQ(Choose(TrayPauseHour, 4), Load() + " [TONEMARK_SAFE=1]");
  EXPECT_NE(Settings().find("[Tonewatch]\r\nTray=1\r\nPausedUntil=1"), std::string::npos) << Settings();
  // The pause holds every other run back: a display change, Re-apply.
  PostMessageA(Window, WM_DISPLAYCHANGE, 0, 0);
  PostMessageA(Window, WM_COMMAND, TrayCommandBase + TrayReapply, 0);
  Sleep(3000);
  EXPECT_EQ(Sandbox.Starts().size(), 4u);
  // Across a restart: the launch at start keeps the linear ramp.
  ASSERT_TRUE(Stop());
  ASSERT_TRUE(Start("/delay 300", 5));
  EXPECT_EQ(StartNumber(5), Load() + " [TONEMARK_SAFE=1]");

  EXPECT_EQ(Choose(TrayTurnOn, 6), Load());
  EXPECT_NE(Settings().find("PausedUntil=\r\n"), std::string::npos) << Settings();
  Choose(TrayPauseUntilOn, 7);
  EXPECT_NE(Settings().find("PausedUntil=forever\r\n"), std::string::npos) << Settings();
  // Calibrate… is not a load run: the pause does not hold it back.
  EXPECT_EQ(Choose(TrayCalibrate, 8), "\"" + Folder + "Tonemark.exe\"");
  PostMessageA(Window, WM_COMMAND, TrayCommandBase + TrayQuit, 0);
  ASSERT_TRUE(WaitForExit(Loader, code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
