#include "platform/windows/display_registry.h"

#include <windows.h>

namespace {
constexpr const char* DeviceParametersKey = "\\Device Parameters";
constexpr const char* EdidValue = "EDID";
constexpr const char* DriverValue = "Driver";
// Registry key names are at most 255 characters.
constexpr DWORD LongestKeyName = 256;

std::vector<std::string> SubkeyNames(const std::string& path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return names;
  char name[LongestKeyName];
  for (DWORD index = 0;; ++index) {
    DWORD length = LongestKeyName;
    const LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) names.emplace_back(name, length);
  }
  RegCloseKey(key);
  return names;
}

std::optional<std::vector<uint8_t>> ReadEdidValue(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::vector<uint8_t>> edid;
  DWORD size = 0;
  if (RegQueryValueExA(key, EdidValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<uint8_t> data(size);
    DWORD read = size;
    // A value that changed size since it was measured is skipped, not taken in part.
    if (RegQueryValueExA(key, EdidValue, nullptr, nullptr, data.data(), &read) == ERROR_SUCCESS &&
        read == size)
      edid = std::move(data);
  }
  RegCloseKey(key);
  return edid;
}
// A string value of the key, or empty.
std::string ReadStringValue(const std::string& path, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char text[LongestKeyName] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  const bool read = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
                    type == REG_SZ;
  RegCloseKey(key);
  return read ? std::string(text) : "";
}
}  // namespace

std::optional<std::vector<uint8_t>> ReadRegistryEdid(const std::string& modelCode) {
  const std::string modelKey = DisplayEnumKey + modelCode;
  for (const std::string& instance : SubkeyNames(modelKey))
    if (auto edid = ReadEdidValue(modelKey + "\\" + instance + DeviceParametersKey)) return edid;
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> ReadRegistryEdidOfDriver(const std::string& modelCode, const std::string& driver) {
  if (driver.empty()) return std::nullopt;
  const std::string modelKey = DisplayEnumKey + modelCode;
  for (const std::string& instance : SubkeyNames(modelKey)) {
    const std::string instanceKey = modelKey + "\\" + instance;
    if (lstrcmpiA(ReadStringValue(instanceKey, DriverValue).c_str(), driver.c_str()) != 0) continue;
    if (auto edid = ReadEdidValue(instanceKey + DeviceParametersKey)) return edid;
  }
  return std::nullopt;
}
