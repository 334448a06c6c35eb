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
#include <sstream>
#include <string>

#include "loader/tray_menu.h"
#include "loader/windows/tray_icon.h"
#include "tests/loader_windows/loader_sandbox.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The icon exists when the shell lets it be modified.
bool IconShown(HWND loader) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = loader;
  data.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Choose(HWND loader, TTrayCommand command) { PostMessageA(loader, WM_COMMAND, TrayCommandBase + command, 0); }

HWND WaitForMenu() {
  HWND menu = nullptr;
  WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); }, 20000);
  return menu;
}

// The screen's pixels in `area`, as a 24-bit BMP file.
void SaveScreen(const RECT& area, const std::string& path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB};
  const int stride = (width * 3 + 3) & ~3;
  std::string pixels(size_t(stride) * height, '\0');
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof header + pixels.size()), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof header};
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
  std::string Settings() const { return ReadText(Folder + "Tonemark.settings"); }
  std::string LastStart() const {
    const auto starts = Sandbox.Starts();
    return starts.empty() ? "" : starts.back().CommandLine;
  }
  std::string Load() const { return "\"" + Folder + "Tonemark.exe\" /load"; }
};

TEST_F(TrayFixture, TheIconShowsOnlyWhenTheSettingsOrTrayAskForIt) {
  HANDLE loader = Sandbox.StartLoader("/delay 300");
  HWND window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Sandbox.WaitForStarts(1));
  EXPECT_FALSE(IconShown(window));
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 0;
  ASSERT_TRUE(WaitForExit(loader, code));

  WriteText(Folder + "Tonemark.settings", "[Settings]\r\nLanguage=English\r\n[Tonewatch]\r\nTray=1\r\n");
  loader = Sandbox.StartLoader("/delay 300");
  window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IconShown(window); }, 20000));
  // A second start changes nothing: one launch, and the first icon stays.
  HANDLE second = Sandbox.StartLoader("/tray");
  ASSERT_TRUE(WaitForExit(second, code));
  EXPECT_TRUE(IconShown(window));
  EXPECT_EQ(FindWindowA("TonewatchWnd", nullptr), window);
  // Explorer started again, without the icon: it comes back.
  NOTIFYICONDATAW gone{};
  gone.cbSize = sizeof gone;
  gone.hWnd = window;
  gone.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  EXPECT_FALSE(IconShown(window));
  PostMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return IconShown(window); }, 20000));
  // "/notray" wins over the settings.
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForExit(loader, code));
  Sandbox.StartLoader("/delay 300 /notray");
  window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  Sleep(2000);
  EXPECT_FALSE(IconShown(window));
}

// Two simulated displays as a load run left them: the first calibrated and
// showing it, the second without a curve of its own.
void WriteShownDisplays(const std::string& folder) {
  const std::string sim = folder + "sim";
  CreateDirectoryA(sim.c_str(), nullptr);
  std::string ramp;
  for (int channel = 0; channel < 3; ++channel)
    for (int level = 0; level < 256; ++level) ramp += (ramp.empty() ? "" : " ") + std::to_string(level * 257);
  WriteText(sim + "\\ramp1.txt", ramp);
  WriteText(folder + "Tonemark.shown",
            "[Display1]\r\nIdentity=SIM1\r\nDevice=sim:1\r\nBackend=sim\r\nCurve=Tonemark1.lut\r\nLoaded=1\r\n"
            "Result=kept\r\nReason=\r\nRamp=" + ramp + "\r\n"
            "[Display2]\r\nIdentity=SIM2\r\nDevice=sim:2\r\nBackend=sim\r\nCurve=\r\nLoaded=1\r\n"
            "Result=kept\r\nReason=\r\nRamp=\r\n");
  SetEnvironmentVariableA("TONEMARK_SIM", sim.c_str());
}

TEST_F(TrayFixture, TheMenuIsDrawnAndReachedByKeyboard) {
  WriteText(Folder + "Tonemark.settings", "[Settings]\r\nLanguage=German\r\n");
  WriteShownDisplays(Folder);
  HANDLE loader = Sandbox.StartLoader("/delay 300 /tray");
  (void)loader;
  HWND window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Sandbox.WaitForStarts(1));
  ASSERT_TRUE(WaitUntil([&] { return IconShown(window); }, 20000));
  SetCursorPos(400, 500);
  PostMessageA(window, TrayCallbackMessage, 0, MAKELPARAM(WM_CONTEXTMENU, 1));
  HWND menu = WaitForMenu();
  ASSERT_NE(menu, nullptr);
  Sleep(500);
  RECT area;
  GetWindowRect(menu, &area);
  EXPECT_GT(area.bottom - area.top, 100);
  const char* shots = std::getenv("TONEMARK_SCREENSHOTS");
  if (shots != nullptr) {
    CreateDirectoryA(shots, nullptr);
    SaveScreen(area, std::string(shots) + "\\tonewatch_tray_menu.bmp");
  }
  // "&Jetzt erneut laden": its access key runs a load.
  PostMessageA(menu, WM_CHAR, 'j', 0);
  ASSERT_TRUE(Sandbox.WaitForStarts(2));
  EXPECT_EQ(LastStart(), Load());
  EXPECT_TRUE(WaitUntil([] {
    HWND menu = FindWindowA("#32768", nullptr);
    return menu == nullptr || !IsWindowVisible(menu);
  }, 10000));
  SetEnvironmentVariableA("TONEMARK_SIM", nullptr);
}

TEST_F(TrayFixture, EachCommandDoesWhatItSays) {
  WriteText(Folder + "Tonemark.settings", "[Settings]\r\nLanguage=English\r\n[Tonewatch]\r\nTray=1\r\n");
  HANDLE loader = Sandbox.StartLoader("/delay 300");
  HWND window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Sandbox.WaitForStarts(1));

  Choose(window, TrayReapply);
  ASSERT_TRUE(Sandbox.WaitForStarts(2));
  EXPECT_EQ(LastStart(), Load());

  Choose(window, TrayPauseHour);
  ASSERT_TRUE(Sandbox.WaitForStarts(3));
  EXPECT_EQ(LastStart(), Load() + " [TONEMARK_SAFE=1]");
  EXPECT_NE(Settings().find("[Tonewatch]\r\nTray=1\r\nPausedUntil=1"), std::string::npos) << Settings();
  // The pause holds every other run back: a display change, Re-apply.
  PostMessageA(window, WM_DISPLAYCHANGE, 0, 0);
  Choose(window, TrayReapply);
  Sleep(3000);
  EXPECT_EQ(Sandbox.Starts().size(), 3u);

  // Across a restart: the launch at start keeps the linear ramp.
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 0;
  ASSERT_TRUE(WaitForExit(loader, code));
  loader = Sandbox.StartLoader("/delay 300");
  window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Sandbox.WaitForStarts(4));
  EXPECT_EQ(LastStart(), Load() + " [TONEMARK_SAFE=1]");

  Choose(window, TrayTurnOn);
  ASSERT_TRUE(Sandbox.WaitForStarts(5));
  EXPECT_EQ(LastStart(), Load());
  EXPECT_NE(Settings().find("PausedUntil=\r\n"), std::string::npos) << Settings();

  Choose(window, TrayPauseUntilOn);
  ASSERT_TRUE(Sandbox.WaitForStarts(6));
  EXPECT_NE(Settings().find("PausedUntil=forever\r\n"), std::string::npos) << Settings();
  Choose(window, TrayTurnOn);
  ASSERT_TRUE(Sandbox.WaitForStarts(7));

  Choose(window, TrayCalibrate);
  ASSERT_TRUE(Sandbox.WaitForStarts(8));
  EXPECT_EQ(LastStart(), "\"" + Folder + "Tonemark.exe\"");

  Choose(window, TrayQuit);
  ASSERT_TRUE(WaitForExit(loader, code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
