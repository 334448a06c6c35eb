// EDID copies read from HKLM\SYSTEM\CurrentControlSet\Enum\DISPLAY\<model>,
// written into Wine's registry by the test and removed afterwards.
#include "platform/windows/display_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "ramp/display_discovery.h"
#include "platform/windows/display_gdi.h"
#include "ramp/edid.h"
#include "ramp/no_displays.h"
#include "tests/platform/windows_displays/registry_monitor.h"

namespace {
constexpr const char* Model = "TMK0001";

TEST(RegistryEdid, SkipsAnInstanceWithoutAnEdidAndTakesTheNextWhole) {
  RegistryMonitorModel model(Model, RegistryMonitorModel::Owned);
  model.AddInstance("1&aaa&0&UID256", nullptr);
  const std::vector<uint8_t> edid = NumberedBytes(256);
  model.AddInstance("1&bbb&0&UID257", &edid);

  const std::optional<std::vector<uint8_t>> read = ReadRegistryEdid(Model);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->size(), 256u);
  EXPECT_EQ(*read, edid);

  // Through the model, which keeps the base block only.
  TGdiDisplays gdi;
  SetDisplaysPort(gdi);
  TEdid block{};
  EXPECT_TRUE(ReadEdid(Model, block));
  static TNoDisplays none;
  SetDisplaysPort(none);
  EXPECT_EQ(block[1], 1);
  EXPECT_EQ(block[127], 127);
}

TEST(RegistryEdid, TheFirstInstanceInListingOrderWins) {
  RegistryMonitorModel model(Model, RegistryMonitorModel::Owned);
  const std::vector<uint8_t> second(128, 0x22), first(128, 0x11);
  model.AddInstance("5&b", &second);
  model.AddInstance("5&a", &first);
  const std::optional<std::vector<uint8_t>> read = ReadRegistryEdid(Model);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ((*read)[0], 0x11);
}

TEST(RegistryEdid, NothingForAnUnknownModelOrInstancesWithoutDeviceParameters) {
  EXPECT_FALSE(ReadRegistryEdid("TMK9999").has_value());
  RegistryMonitorModel model(Model, RegistryMonitorModel::Owned);
  model.AddBareInstance("7&a");
  EXPECT_FALSE(ReadRegistryEdid(Model).has_value());
}

TEST(RegistryEdid, AnEmptyEdidValueReadsAsEmpty) {
  RegistryMonitorModel model(Model, RegistryMonitorModel::Owned);
  const std::vector<uint8_t> empty;
  model.AddInstance("9&a", &empty);
  const std::optional<std::vector<uint8_t>> read = ReadRegistryEdid(Model);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(read->empty());
}
}  // namespace
