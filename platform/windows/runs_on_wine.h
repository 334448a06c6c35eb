// Wine leaves the per-user colour calls (Wcs…) unimplemented, and calling
// one ends the process: code that would call them asks here first.
#pragma once

#include <windows.h>

inline bool RunsOnWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
