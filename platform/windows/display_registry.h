// The EDID copies that Windows keeps in the registry, one per monitor instance,
// under HKLM\SYSTEM\CurrentControlSet\Enum\DISPLAY\<model code>.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The key under HKEY_LOCAL_MACHINE that holds one sub-key per monitor model.
constexpr const char* DisplayEnumKey = "SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\";

// The "EDID" value of the first instance, in the registry's listing order,
// whose "Device Parameters" has one that reads whole; nothing when none does.
std::optional<std::vector<uint8_t>> ReadRegistryEdid(const std::string& modelCode);

// The "EDID" value of the instance that is this monitor: the one whose
// "Driver" value is the driver key a monitor's device ID ends with
// ("MONITOR\DEL40B5\{4d36e96e-...}\0001"). Nothing when no instance has it.
std::optional<std::vector<uint8_t>> ReadRegistryEdidOfDriver(const std::string& modelCode, const std::string& driver);
