#include "platform/windows/display_advanced_color.h"

#include <windows.h>

#include <vector>

namespace {

// The active path whose source is the GDI output, or false.
bool PathOfOutput(const std::string& gdiDeviceName, DISPLAYCONFIG_PATH_INFO& found) {
  UINT32 pathCount = 0, modeCount = 0;
  if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) return false;
  std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
  std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
  if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  for (UINT32 i = 0; i < pathCount; ++i) {
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
    source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
    source.header.size = sizeof source;
    source.header.adapterId = paths[i].sourceInfo.adapterId;
    source.header.id = paths[i].sourceInfo.id;
    if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS) continue;
    char name[CCHDEVICENAME]{};
    WideCharToMultiByte(CP_ACP, 0, source.viewGdiDeviceName, -1, name, sizeof name, nullptr, nullptr);
    if (gdiDeviceName == name) {
      found = paths[i];
      return true;
    }
  }
  return false;
}

}  // namespace

bool SystemAdvancedColorEnabled(const std::string& gdiDeviceName) {
  DISPLAYCONFIG_PATH_INFO path{};
  if (!PathOfOutput(gdiDeviceName, path)) return false;
  DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO color{};
  color.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO;
  color.header.size = sizeof color;
  color.header.adapterId = path.targetInfo.adapterId;
  color.header.id = path.targetInfo.id;
  return DisplayConfigGetDeviceInfo(&color.header) == ERROR_SUCCESS && color.advancedColorEnabled;
}
