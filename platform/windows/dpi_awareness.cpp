#include "platform/windows/dpi_awareness.h"

#include "platform/windows/win32.h"
#include <shellscalingapi.h>

void DeclarePerMonitorDpiAwareness() {
  // Looked up at run time: neither call exists on every Windows the program runs on.
  using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto setContext = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
  if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
  // Refused as already set, by the manifest: nothing more to do.
  if (setContext && GetLastError() == ERROR_ACCESS_DENIED) return;
  using SetAwareness = HRESULT(WINAPI*)(PROCESS_DPI_AWARENESS);
  if (const HMODULE shcore = LoadLibraryA("shcore.dll"))
    if (const auto setAwareness = reinterpret_cast<SetAwareness>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "SetProcessDpiAwareness"))))
      setAwareness(PROCESS_PER_MONITOR_DPI_AWARE);
}
