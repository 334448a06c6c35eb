#include "ramp/monitor_identity.h"

#include <gtest/gtest.h>

#include "tests/ramp/edid_blocks.h"

namespace {

std::vector<uint8_t> Bytes(const TEdid& edid) { return {edid.begin(), edid.end()}; }

TEST(MonitorIdentity, AnEdidWithSerialsNamesTheMonitorWhereverItIsPlugged) {
  TEdid edid{};
  PutModelAbc1234(edid);
  edid[12] = 0x78;  // serial number 0x12345678, little-endian
  edid[13] = 0x56;
  edid[14] = 0x34;
  edid[15] = 0x12;
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  PutTextDescriptor(edid, 1, 0xFF, "SN 7\n");
  EXPECT_EQ(MonitorIdentity(MonitorFactsFromEdid(Bytes(edid), "DP-1")), "ABC1234+12345678+SN%207+Model%20X");
  EXPECT_EQ(MonitorIdentity(MonitorFactsFromEdid(Bytes(edid), "HDMI-2")), "ABC1234+12345678+SN%207+Model%20X");
}

TEST(MonitorIdentity, WithoutAnySerialTheConnectorTellsTwinsApart) {
  TEdid edid{};
  PutModelAbc1234(edid);
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  EXPECT_EQ(MonitorIdentity(MonitorFactsFromEdid(Bytes(edid), "\\\\.\\DISPLAY2")),
            "ABC1234+++Model%20X+@%5C%5C.%5CDISPLAY2");
  // A serial descriptor alone is a serial.
  PutTextDescriptor(edid, 1, 0xFF, "A=1;[x]\"\n");
  EXPECT_EQ(MonitorIdentity(MonitorFactsFromEdid(Bytes(edid), "DP-1")), "ABC1234++A%3D1%3B%5Bx%5D%22+Model%20X");
}

TEST(MonitorIdentity, WithoutAnEdidTheConnectorAlone) {
  EXPECT_EQ(MonitorIdentity(MonitorFactsFromEdid({}, "DP-1")), "@DP-1");
  EXPECT_EQ(MonitorIdentity(MonitorFactsFromEdid(std::vector<uint8_t>(128, 0), "eDP 1+2")), "@eDP%201%2B2");
}

}  // namespace
