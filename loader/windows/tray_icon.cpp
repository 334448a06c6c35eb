#include "loader/windows/tray_icon.h"

#include <shellapi.h>

#include <cstring>
#include <ctime>
#include <string>

#include "loader/tray_icon_pixels.h"
#include "loader/tray_menu.h"
#include "loader/tray_settings.h"
#include "loader/watch_status.h"
#include "loader/windows/launch.h"
#include "loader/windows/load_runs.h"
#include "loader/windows/pause.h"
#include "loader/windows/settings_file.h"

namespace {

// Apart from the watch's balloon icon.
constexpr UINT TrayIconId = 1;

TTrayChoice Choice = TrayAsSettingsSay;
bool Wanted = false;
bool Shown = false;
UINT TaskbarCreated = 0;
TTrayLanguage Language = TrayEnglish;
HICON Icon = nullptr;
wchar_t ShownTip[128] = {};

std::wstring Wide(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length : 1, L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
  wide.resize(std::wcslen(wide.c_str()));
  return wide;
}

// The smallest picture at least as large as the system's small icon, drawn
// into a 32-bit icon with its alpha.
HICON MakeIcon() {
  const int wanted = GetSystemMetrics(SM_CXSMICON);
  const TTrayIconPixels* pixels = &TrayIcons[TrayIconCount - 1];
  for (int i = 0; i < TrayIconCount; ++i)
    if (TrayIcons[i].Size >= wanted) {
      pixels = &TrayIcons[i];
      break;
    }
  const int size = pixels->Size;
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = -size;  // rows from the top, as the pixels are
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (colour == nullptr) return nullptr;
  std::memcpy(bits, pixels->Argb, size_t(size) * size * 4);  // 0xAARRGGBB words are BGRA bytes
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

TTrayState State() {
  return {&CurrentWatchStatus(), PausedUntil(), static_cast<int64_t>(std::time(nullptr)), Language};
}

NOTIFYICONDATAW IconData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = TrayIconId;
  return data;
}

void AddIcon(HWND window) {
  NOTIFYICONDATAW data = IconData(window);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = TrayCallbackMessage;
  data.hIcon = Icon;
  char tip[TrayTooltipSize];
  BuildTrayTooltip(State(), tip, sizeof tip);
  lstrcpynW(data.szTip, Wide(tip).c_str(), ARRAYSIZE(data.szTip));
  lstrcpynW(ShownTip, data.szTip, ARRAYSIZE(ShownTip));
  Shown = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  // Version 4 tells a keyboard's Enter or menu key apart from the mouse.
  data.uVersion = NOTIFYICON_VERSION_4;
  if (Shown) Shell_NotifyIconW(NIM_SETVERSION, &data);
}

void ShowMenu(HWND window, POINT at) {
  TTrayMenu menu;
  BuildTrayMenu(State(), menu);
  HMENU popup = CreatePopupMenu();
  for (int i = 0; i < menu.Count; ++i) {
    const TTrayItem& item = menu.Items[i];
    if (item.Separator) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (item.Enabled ? MF_ENABLED : MF_GRAYED);
    AppendMenuW(popup, flags, TrayCommandBase + item.Command, Wide(item.Label).c_str());
  }
  // A menu of a window in the background would not close on a click elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
  DestroyMenu(popup);
}

void Obey(HWND window, TTrayCommand command) {
  switch (command) {
    case TrayReapply: RequestLoadRun(); break;
    case TrayPauseHour: StartPause(window, static_cast<int64_t>(std::time(nullptr)) + PauseHourSeconds); break;
    case TrayPauseUntilOn: StartPause(window, PausedForever); break;
    case TrayTurnOn: EndPause(window); break;
    case TrayCalibrate: LaunchCalibration(); break;
    case TrayQuit: PostMessageW(window, WM_CLOSE, 0, 0); break;
    default: break;
  }
  UpdateTrayIcon(window);
}

}  // namespace

void ChooseTray(TTrayChoice choice) { Choice = choice; }

void OpenTrayIcon(HWND window) {
  const TTraySettings settings = ReadTraySettingsFile();
  Language = settings.Language;
  Wanted = Choice == TrayShown || (Choice == TrayAsSettingsSay && settings.Tray);
  if (!Wanted || window == nullptr) return;
  TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  Icon = MakeIcon();
  AddIcon(window);
}

bool HandleTrayMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Wanted) return false;
  if (message == TaskbarCreated && TaskbarCreated != 0) {
    AddIcon(window);  // Explorer started again, without the icon
    return true;
  }
  if (message == TrayCallbackMessage) {
    const UINT event = LOWORD(lParam);
    if (event == WM_CONTEXTMENU || event == NIN_SELECT || event == NIN_KEYSELECT || event == WM_RBUTTONUP) {
      POINT at;
      GetCursorPos(&at);
      ShowMenu(window, at);
    }
    return true;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == 0 && LOWORD(wParam) > TrayCommandBase &&
      LOWORD(wParam) <= TrayCommandBase + TrayQuit) {
    Obey(window, static_cast<TTrayCommand>(LOWORD(wParam) - TrayCommandBase));
    return true;
  }
  return false;
}

void UpdateTrayIcon(HWND window) {
  if (!Shown) return;
  char tip[TrayTooltipSize];
  BuildTrayTooltip(State(), tip, sizeof tip);
  const std::wstring wide = Wide(tip);
  if (std::wcsncmp(wide.c_str(), ShownTip, ARRAYSIZE(ShownTip) - 1) == 0) return;
  NOTIFYICONDATAW data = IconData(window);
  data.uFlags = NIF_TIP;
  lstrcpynW(data.szTip, wide.c_str(), ARRAYSIZE(data.szTip));
  lstrcpynW(ShownTip, data.szTip, ARRAYSIZE(ShownTip));
  Shell_NotifyIconW(NIM_MODIFY, &data);
}

void RemoveTrayIcon(HWND window) {
  if (Shown) {
    NOTIFYICONDATAW data = IconData(window);
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
  Shown = false;
  if (Icon != nullptr) DestroyIcon(Icon);
  Icon = nullptr;
}
