// Tonewatch.exe's icon in the notification area (Shell_NotifyIcon), shown
// when the settings file says [Tonewatch] Tray=1 or "/tray" asks for it, and
// put back when Explorer starts again (TaskbarCreated). A click, or Enter or
// the menu key on it, opens the menu (TrackPopupMenu) of tray_menu.h; its
// tooltip says the calibration's state in one line.
#pragma once

#include <windows.h>

#include "loader/command_line.h"

// What the icon sends to the loader's window.
constexpr UINT TrayCallbackMessage = WM_APP + 2;
// WM_COMMAND identifiers: this plus a TTrayCommand.
constexpr UINT TrayCommandBase = 0x7400;

// Before OpenTrayIcon: "/tray" or "/notray", which outweigh the settings.
void ChooseTray(TTrayChoice choice);

void OpenTrayIcon(HWND window);

// The icon's messages, Explorer's restart and the menu's commands; false for
// any other message.
bool HandleTrayMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The tooltip follows the watch's state and the pause.
void UpdateTrayIcon(HWND window);

void RemoveTrayIcon(HWND window);
