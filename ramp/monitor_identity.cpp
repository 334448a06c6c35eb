#include "ramp/monitor_identity.h"

#include <algorithm>
#include <cstdio>

#include "ramp/edid.h"

namespace {

constexpr int SerialNumberOffset = 12;
constexpr char FieldJoint = '+';
constexpr const char* ConnectorMark = "@";

constexpr int DescriptorOffsets[] = {54, 72, 90, 108};
constexpr int DescriptorTextLength = 13;
constexpr uint8_t TagSerialNumber = 0xFF;
constexpr uint8_t TagMonitorName = 0xFC;

// The text of the last descriptor with the tag, trimmed; empty without one.
std::string DescriptorText(const TEdid& edid, uint8_t tag) {
  std::string found;
  for (int offset : DescriptorOffsets) {
    const uint8_t* block = edid.data() + offset;
    if (block[0] != 0 || block[1] != 0 || block[2] != 0 || block[4] != 0 || block[3] != tag) continue;
    const char* text = reinterpret_cast<const char*>(block + 5);
    found.assign(text, std::find(text, text + DescriptorTextLength, '\n'));
  }
  return TrimText(found);
}

// Letters, digits and "-._:" stand as they are; every other byte is %XX.
std::string Encoded(const std::string& text) {
  std::string encoded;
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        c == '-' || c == '.' || c == '_' || c == ':') {
      encoded += c;
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", byte);
      encoded += hex;
    }
  }
  return encoded;
}

}  // namespace

TMonitorFacts MonitorFactsFromEdid(const std::vector<uint8_t>& bytes, const std::string& connector) {
  TMonitorFacts facts;
  facts.Connector = connector;
  TEdid edid{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), edid.size()), edid.begin());
  facts.Model = EdidModelCode(edid);
  if (facts.Model.empty()) return facts;
  const uint32_t serial = edid[SerialNumberOffset] | edid[SerialNumberOffset + 1] << 8 |
                          edid[SerialNumberOffset + 2] << 16 | uint32_t{edid[SerialNumberOffset + 3]} << 24;
  if (serial != 0) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", serial);
    facts.SerialNumber = hex;
  }
  facts.SerialText = DescriptorText(edid, TagSerialNumber);
  facts.NameText = DescriptorText(edid, TagMonitorName);
  return facts;
}

std::string MonitorIdentity(const TMonitorFacts& facts) {
  const std::string where = ConnectorMark + Encoded(facts.Connector);
  if (facts.Model.empty()) return where;
  std::string identity = Encoded(facts.Model) + FieldJoint + facts.SerialNumber + FieldJoint +
                         Encoded(facts.SerialText) + FieldJoint + Encoded(facts.NameText);
  if (facts.SerialNumber.empty() && facts.SerialText.empty()) identity += FieldJoint + where;
  return identity;
}
