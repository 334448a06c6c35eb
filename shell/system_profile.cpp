#include "shell/system_profile.h"

#include <exception>

#include "lang/multilang.h"
#include "ramp/curve_assignment.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"

namespace {

constexpr size_t HeaderSize = 128;
constexpr size_t TagEntrySize = 12;
// The text that Tonemark's profiles carry in their copyright tag.
constexpr const char* TonemarkMark = "Made with Tonemark";
constexpr uint32_t VcgtTable = 0;

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint16_t BigEndian16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) << 8 | static_cast<uint8_t>(bytes[at + 1]));
}

// The bytes of the tag with the four-letter signature; empty when absent.
std::string Tag(const std::string& bytes, const char* signature) {
  if (bytes.size() < HeaderSize + 4) return "";
  const uint32_t count = BigEndian32(bytes, HeaderSize);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = HeaderSize + 4 + i * TagEntrySize;
    if (entry + TagEntrySize > bytes.size()) return "";
    if (bytes.compare(entry, 4, signature) != 0) continue;
    const uint32_t offset = BigEndian32(bytes, entry + 4), size = BigEndian32(bytes, entry + 8);
    if (offset > bytes.size() || size > bytes.size() - offset) return "";
    return bytes.substr(offset, size);
  }
  return "";
}

std::string Replaced(std::string text, const std::string& field, const std::string& value) {
  for (size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size()))
    text.replace(at, field.size(), value);
  return text;
}

}  // namespace

bool MadeWithTonemark(const std::string& profileBytes) {
  return Tag(profileBytes, "cprt").find(TonemarkMark) != std::string::npos;
}

std::optional<TGammaRamp> ProfileVideoCardRamp(const std::string& profileBytes) {
  const std::string vcgt = Tag(profileBytes, "vcgt");
  // Signature, reserved, table type; channels, entries, entry size; the data.
  constexpr size_t DataAt = 18;
  if (vcgt.size() < DataAt || BigEndian32(vcgt, 8) != VcgtTable) return std::nullopt;
  const uint16_t channels = BigEndian16(vcgt, 12), entries = BigEndian16(vcgt, 14), entrySize = BigEndian16(vcgt, 16);
  if (channels != 3 || entries != LevelCount || (entrySize != 1 && entrySize != 2) ||
      vcgt.size() < DataAt + size_t{3} * LevelCount * entrySize)
    return std::nullopt;
  TGammaRamp ramp{};
  for (size_t i = 0; i < ramp.size(); ++i)
    ramp[i] = entrySize == 2 ? BigEndian16(vcgt, DataAt + 2 * i)
                             : static_cast<uint16_t>(static_cast<uint8_t>(vcgt[DataAt + i]) * 257);
  return ramp;
}

std::string SystemProfileNotice(int32_t index, const TSystemProfile& profile, const TGammaRamp& stored) {
  const bool ours = MadeWithTonemark(profile.Bytes);
  if (ours && ProfileVideoCardRamp(profile.Bytes) == stored) return "";
  std::string text = Translate(ours ? "MSystemLoadsStaleProfile" : "MSystemLoadsOtherProfile");
  text = Replaced(text, "%d", std::to_string(index + 1));
  text = Replaced(text, "%s", index < DisplayCount ? Displays[index].Description : "");
  return Replaced(text, "%p", profile.Name);
}

std::optional<TGammaRamp> StoredRampOf(const std::string& folder, int32_t index) {
  TGammaRamp ramp{};
  TRampCurve curve;
  std::string deviceName;
  try {
    if (ReadCurveFile(curve, deviceName, DisplayCurvePath(folder, index))) BuildRamp(curve, ramp);
    else LinearRamp(ramp);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return ramp;
}
