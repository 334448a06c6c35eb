#include "loader/windows/balloon.h"

#include <shellapi.h>

#include <cstdio>

namespace {

// Apart from any other icon the loader shows.
constexpr UINT BalloonIconId = 0x7457;
constexpr UINT BalloonShowsMs = 30000;
bool Shown = false;

NOTIFYICONDATAA IconData(HWND window) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = BalloonIconId;
  return data;
}

}  // namespace

void ShowBalloon(HWND window, const char* title, const char* text) {
  NOTIFYICONDATAA data = IconData(window);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_INFO;
  data.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION
  std::snprintf(data.szTip, sizeof data.szTip, "Tonewatch");
  std::snprintf(data.szInfoTitle, sizeof data.szInfoTitle, "%s", title);
  std::snprintf(data.szInfo, sizeof data.szInfo, "%s", text);
  data.dwInfoFlags = NIIF_INFO;
  Shown = Shell_NotifyIconA(Shown ? NIM_MODIFY : NIM_ADD, &data) != FALSE || Shown;
  SetTimer(window, BalloonTimer, BalloonShowsMs, nullptr);
}

void RemoveBalloon(HWND window) {
  KillTimer(window, BalloonTimer);
  if (!Shown) return;
  NOTIFYICONDATAA data = IconData(window);
  Shell_NotifyIconA(NIM_DELETE, &data);
  Shown = false;
}
