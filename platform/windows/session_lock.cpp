#include "platform/windows/session_lock.h"

#include "platform/windows/main_window_view.h"

namespace {
// Without a prefix the name lives in the user's own log-on session.
constexpr const char* SessionMutexName = "Orvana.Tonemark";
}  // namespace

TWindowsSessionLock::~TWindowsSessionLock() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

bool TWindowsSessionLock::Take() {
  mutex_ = CreateMutexA(nullptr, TRUE, SessionMutexName);
  if (mutex_ == nullptr) return true;  // no lock to be had: the session runs unguarded, as before
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;
  CloseHandle(mutex_);
  mutex_ = nullptr;
  return false;
}

void TWindowsSessionLock::RaiseHolder() {
  HWND window = FindWindowA(MainWindowClassName, nullptr);
  if (window == nullptr) return;  // a scripted session, or one still starting
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // Started by the user a moment ago, this process may give the foreground away.
  SetForegroundWindow(window);
}
