#include <gtest/gtest.h>

#include "ramp/edid.h"
#include "tests/ramp/edid_blocks.h"

namespace {

constexpr uint8_t Serial = 0xFF, Other = 0xFE, Name = 0xFC;

TEST(EdidDescription, JoinsMonitorNameAndSerialNumber) {
  TEdid edid{};
  PutTextDescriptor(edid, 1, Name, "Model X\n     ");
  PutTextDescriptor(edid, 3, Serial, "12345\n");
  EXPECT_EQ(EdidDescription(edid), "Model X 12345");
}

TEST(EdidDescription, UnspecifiedTextStandsInForAMissingName) {
  TEdid edid{};
  PutTextDescriptor(edid, 0, Other, "Panel\n");
  EXPECT_EQ(EdidDescription(edid), "Panel");
  // A name wins over the unspecified text, whatever their order.
  PutTextDescriptor(edid, 2, Name, "Real\n");
  EXPECT_EQ(EdidDescription(edid), "Real");
}

TEST(EdidDescription, EmptyWithoutTextAndIgnoresTimingsAndOtherTags) {
  TEdid edid{};
  EXPECT_EQ(EdidDescription(edid), "");
  PutTextDescriptor(edid, 0, Name, "\n");
  PutTextDescriptor(edid, 1, Serial, "\n");
  EXPECT_EQ(EdidDescription(edid), "");
  // A detailed timing (pixel clock in bytes 0-1) is not a descriptor.
  PutTextDescriptor(edid, 2, Name, "Timing");
  edid[54 + 36] = 0x3A;
  // 0xFD (range limits) is not a text tag.
  PutTextDescriptor(edid, 3, 0xFD, "Limits");
  EXPECT_EQ(EdidDescription(edid), "");
}

TEST(EdidDescription, ThirteenCharactersWithoutLineFeedAreTakenWhole) {
  TEdid edid{};
  PutTextDescriptor(edid, 0, Name, "ABCDEFGHIJKLM");
  EXPECT_EQ(EdidDescription(edid), "ABCDEFGHIJKLM");
}

TEST(EdidDescription, ALaterDescriptorWithTheSameTagReplacesTheEarlier) {
  TEdid edid{};
  PutTextDescriptor(edid, 0, Serial, "111\n");
  PutTextDescriptor(edid, 1, Serial, "222\n");
  PutTextDescriptor(edid, 2, Name, "  Wide  \n");
  EXPECT_EQ(EdidDescription(edid), "Wide   222");
}

TEST(EdidModelCode, MakerLettersAndProductCodeInHex) {
  TEdid edid{};
  PutModelAbc1234(edid);
  EXPECT_EQ(EdidModelCode(edid), "ABC1234");
  edid[8] = 0x10;  // "DEL"
  edid[9] = 0xAC;
  edid[10] = 0xB5;
  edid[11] = 0x40;
  EXPECT_EQ(EdidModelCode(edid), "DEL40B5");
  EXPECT_EQ(EdidModelCode(TEdid{}), "");
}

TEST(TrimText, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(TrimText(std::string("\t A b\0\r\n", 8)), "A b");
  EXPECT_EQ(TrimText("   "), "");
  EXPECT_EQ(TrimText("\xE9t\xE9"), "\xE9t\xE9");
}

}  // namespace
