// A resident program tells the user without a modal box: a balloon on an
// icon of its own that shows in the notification area only for as long as
// the balloon does, and goes with it.
#pragma once

#include <windows.h>

// The icon's timer on `window`: at its end the icon is taken away.
constexpr UINT_PTR BalloonTimer = 22;

void ShowBalloon(HWND window, const char* title, const char* text);

// Takes the icon away (from BalloonTimer, and when the loader ends).
void RemoveBalloon(HWND window);
