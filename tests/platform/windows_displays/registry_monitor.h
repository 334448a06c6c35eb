// Test monitor instances in the (Wine) registry, each a key
// HKLM\SYSTEM\CurrentControlSet\Enum\DISPLAY\<model>\<instance>\Device Parameters
// with an "EDID" value.
// What the object added is removed when it goes; a model of the test's own
// (Owned) is cleared whole, before and after, so no earlier run's keys remain.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows/display_registry.h"

inline std::vector<uint8_t> NumberedBytes(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

class RegistryMonitorModel {
 public:
  enum Ownership { Owned, Shared };

  RegistryMonitorModel(const std::string& model, Ownership ownership)
      : key_(DisplayEnumKey + model) {
    HKEY existing = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &existing) == ERROR_SUCCESS)
      RegCloseKey(existing);
    else
      ownership = Owned;
    owned_ = ownership == Owned;
    if (owned_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str());
  }
  ~RegistryMonitorModel() {
    for (const std::string& instance : instances_)
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, (key_ + "\\" + instance).c_str());
    if (owned_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str());
  }
  RegistryMonitorModel(const RegistryMonitorModel&) = delete;
  RegistryMonitorModel& operator=(const RegistryMonitorModel&) = delete;

  // An instance with "Device Parameters"; an "EDID" value only when edid is given.
  void AddInstance(const std::string& instance, const std::vector<uint8_t>* edid) {
    instances_.push_back(instance);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (key_ + "\\" + instance + "\\Device Parameters").c_str(),
                              0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (edid != nullptr) {
      EXPECT_EQ(RegSetValueExA(key, "EDID", 0, REG_BINARY, edid->data(),
                               static_cast<DWORD>(edid->size())),
                ERROR_SUCCESS);
    }
    RegCloseKey(key);
  }

  // The instance's "Driver" value: the driver key its monitor's device ID ends with.
  void SetDriver(const std::string& instance, const std::string& driver) {
    EXPECT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, (key_ + "\\" + instance).c_str(), "Driver", REG_SZ,
                              driver.c_str(), static_cast<DWORD>(driver.size() + 1)),
              ERROR_SUCCESS);
  }

  // An instance key with nothing under it.
  void AddBareInstance(const std::string& instance) {
    instances_.push_back(instance);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (key_ + "\\" + instance).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

 private:
  std::string key_;
  bool owned_ = false;
  std::vector<std::string> instances_;
};
