// The loader's hidden window: the name by which a second copy finds it, and the
// place where resume broadcasts, display changes, session changes and the
// request to close arrive.
#pragma once

#include <windows.h>

constexpr const char* LoaderWindowClass = "TonewatchWnd";

LRESULT CALLBACK LoaderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the window class and creates the window, hidden; nullptr on failure.
HWND CreateLoaderWindow(HINSTANCE instance);

// Subscribes the window to power-setting notifications where the system offers
// them, so that it keeps receiving power broadcasts on systems that need it.
void RegisterPowerNotification(HWND window);

// Subscribes the window to the changes of this session (unlock, console
// connect); the window ends the subscription when it is destroyed.
void RegisterSessionNotification(HWND window);

// Asks every running loader of this desktop to close, and waits until each
// has ended.
void CloseRunningLoader();
