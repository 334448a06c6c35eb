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

// Windows 11's query (24H2 on): it names the mode in use, wide colour
// included, which the older query reports as enabled without saying which.
// Declared here, as the cross compiler's headers predate it.
constexpr auto GetAdvancedColorInfo2 = static_cast<DISPLAYCONFIG_DEVICE_INFO_TYPE>(15);
enum : UINT32 { ColorModeSdr = 0, ColorModeWideColor = 1, ColorModeHdr = 2 };
struct TAdvancedColorInfo2 {
  DISPLAYCONFIG_DEVICE_INFO_HEADER header;
  UINT32 flags;
  DISPLAYCONFIG_COLOR_ENCODING colorEncoding;
  UINT32 bitsPerColorChannel;
  UINT32 activeColorMode;
};

template <typename TInfo>
bool AskTarget(const DISPLAYCONFIG_PATH_INFO& path, DISPLAYCONFIG_DEVICE_INFO_TYPE type, TInfo& info) {
  info.header.type = type;
  info.header.size = sizeof info;
  info.header.adapterId = path.targetInfo.adapterId;
  info.header.id = path.targetInfo.id;
  return DisplayConfigGetDeviceInfo(&info.header) == ERROR_SUCCESS;
}

}  // namespace

TAdvancedColor SystemAdvancedColor(const std::string& gdiDeviceName) {
  DISPLAYCONFIG_PATH_INFO path{};
  if (!PathOfOutput(gdiDeviceName, path)) return TAdvancedColor::Unknown;
  TAdvancedColorInfo2 modern{};
  if (AskTarget(path, GetAdvancedColorInfo2, modern)) {
    if (modern.activeColorMode == ColorModeHdr) return TAdvancedColor::Hdr;
    if (modern.activeColorMode == ColorModeWideColor) return TAdvancedColor::WideColor;
    if (modern.activeColorMode == ColorModeSdr) return TAdvancedColor::Off;
    return TAdvancedColor::Unknown;
  }
  DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO older{};
  if (!AskTarget(path, DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO, older)) return TAdvancedColor::Unknown;
  if (!older.advancedColorEnabled) return TAdvancedColor::Off;
  // The older query tells wide colour from HDR only where wide colour is enforced.
  return older.wideColorEnforced ? TAdvancedColor::WideColor : TAdvancedColor::Hdr;
}
