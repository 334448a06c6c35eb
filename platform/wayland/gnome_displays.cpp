// The ramps of GNOME's displays: read through DisplayConfig's GetCrtcGamma,
// loaded through a calibration session or SetCrtcGamma, resampled between
// the model's 256 entries and the CRTC's size.
#include "platform/wayland/gnome_displays.h"

#include "lang/multilang.h"
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/mutter_names.h"
#include "platform/wayland/sd_bus_library.h"
#include "ramp/ramp_resample.h"

namespace {

constexpr uint64_t CallTimeoutUs = 5'000'000;
// Mutter's answer to a call based on a configuration that has changed since.
constexpr const char* StaleSerialError = "org.freedesktop.DBus.Error.AccessDenied";
constexpr const char* IntrospectInterface = "org.freedesktop.DBus.Introspectable";

// Mutter's words for a failed call; empty when it gave none.
std::string ErrorText(const TSdBusCall& call) {
  if (call.Error.message != nullptr) return call.Error.message;
  return call.Error.name != nullptr ? call.Error.name : "";
}

// The red, green and blue tables of `entries`, one array each.
bool AppendChannels(const TSdBusLibrary& sd, sd_bus_message* message, const std::vector<uint16_t>& entries) {
  const size_t size = entries.size() / 3;
  for (int channel = 0; channel < 3; ++channel)
    if (sd.AppendArray(message, 'q', entries.data() + channel * size, size * sizeof(uint16_t)) < 0) return false;
  return true;
}

// One CRTC's ramp through DisplayConfig; `call` holds Mutter's error.
bool SetCrtcGamma(const TSdBusLibrary& sd, sd_bus* bus, uint32_t serial, uint32_t crtc,
                  const std::vector<uint16_t>& entries, TSdBusCall& call) {
  sd_bus_message* message = nullptr;
  if (sd.NewMethodCall(bus, &message, MutterDisplayConfigService, MutterDisplayConfigPath,
                       MutterDisplayConfigInterface, "SetCrtcGamma") < 0)
    return false;
  const bool built = sd.Append(message, "uu", serial, crtc) >= 0 && AppendChannels(sd, message, entries);
  const bool done = built && sd.Call(bus, message, 0, &call.Error, &call.Reply) >= 0;
  sd.MessageUnref(message);
  return done;
}

}  // namespace

TGnomeDisplays::TGnomeDisplays(std::string drmFolder)
    : TOutputDisplays(GnomeBackendLabel, std::move(drmFolder)), sd_(SdBusLibrary()) {
  if (sd_ == nullptr || sd_->OpenUser(&bus_) < 0) {
    bus_ = nullptr;
    return;
  }
  sd_->SetTimeout(bus_, CallTimeoutUs);
}

// Leaving the bus ends the calibration sessions: Mutter puts its own ramps back.
TGnomeDisplays::~TGnomeDisplays() {
  if (bus_ != nullptr) sd_->FlushCloseUnref(bus_);
}

bool TGnomeDisplays::MutterAnswers() {
  std::vector<TWaylandOutput> outputs;
  std::vector<TCrtcState> crtcs;
  return AskResources(outputs, crtcs).Empty();
}

bool TGnomeDisplays::CalibrationSessionsAvailable() {
  if (calibration_ < 0 && bus_ == nullptr) calibration_ = 0;
  if (calibration_ < 0) {
    // GNOME 49 and later describe CalibrateMonitor on the ColorManager object.
    TSdBusCall call(*sd_);
    const char* xml = nullptr;
    calibration_ = bus_ != nullptr &&
                   sd_->CallMethod(bus_, MutterColorManagerService, MutterColorManagerPath, IntrospectInterface,
                                   "Introspect", &call.Error, &call.Reply, "") >= 0 &&
                   sd_->Read(call.Reply, "s", &xml) > 0 && std::string(xml).find("\"CalibrateMonitor\"") != std::string::npos;
  }
  return calibration_ == 1;
}

bool TGnomeDisplays::GivesRampsBackAtExit() { return !keepAfterExit_ && CalibrationSessionsAvailable(); }

bool TGnomeDisplays::NightLightActive() {
  // Without libsystemd there is no library to free a call with either.
  if (bus_ == nullptr) return false;
  TSdBusCall call(*sd_);
  int active = 0;
  return sd_->GetPropertyTrivial(bus_, GnomeColorService, GnomeColorPath, GnomeColorInterface, "NightLightActive",
                                 &call.Error, 'b', &active) >= 0 &&
         active != 0;
}

bool TGnomeDisplays::EnsureSession(size_t index) {
  TCrtcState& state = crtcs_[index];
  if (!state.Session.empty()) return true;
  if (!state.Refusal.Empty()) return false;
  TSdBusCall call(*sd_);
  const char* path = nullptr;
  if (sd_->CallMethod(bus_, MutterColorManagerService, MutterColorManagerPath, MutterColorManagerInterface,
                      "CalibrateMonitor", &call.Error, &call.Reply, "s", Outputs[index].Name.c_str()) < 0 ||
      sd_->Read(call.Reply, "o", &path) <= 0) {
    state.Refusal = {GnomeRefusesKey, ErrorText(call)};
    return false;
  }
  uint32_t size = 0;
  TSdBusCall property(*sd_);
  if (sd_->GetPropertyTrivial(bus_, MutterColorManagerService, path, MutterCalibrationInterface, "GammaLutSize",
                              &property.Error, 'u', &size) < 0 ||
      size == 0) {
    state.GammaSize = 0;
    state.Refusal = {GnomeNoRampKey};
    return false;
  }
  state.Session = path;
  state.GammaSize = static_cast<int>(size);
  return true;
}

bool TGnomeDisplays::ReadCrtcGamma(size_t index, std::vector<uint16_t>& entries) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    TSdBusCall call(*sd_);
    if (sd_->CallMethod(bus_, MutterDisplayConfigService, MutterDisplayConfigPath, MutterDisplayConfigInterface,
                        "GetCrtcGamma", &call.Error, &call.Reply, "uu", serial_, crtcs_[index].Crtcs.front()) < 0) {
      if (call.ErrorIs(StaleSerialError) && attempt == 0 && RefreshSerial(index)) continue;
      return false;
    }
    entries.clear();
    size_t size = 0;
    for (int channel = 0; channel < 3; ++channel) {
      const void* data = nullptr;
      size_t bytes = 0;
      if (sd_->ReadArray(call.Reply, 'q', &data, &bytes) < 0) return false;
      const size_t count = bytes / sizeof(uint16_t);
      if (channel > 0 && count != size) return false;
      size = count;
      const auto* values = static_cast<const uint16_t*>(data);
      entries.insert(entries.end(), values, values + count);
    }
    crtcs_[index].GammaSize = static_cast<int>(size);
    if (size == 0) crtcs_[index].Refusal = {GnomeNoRampKey};
    return size > 0;
  }
  return false;
}

bool TGnomeDisplays::WriteCrtcGamma(size_t index, const std::vector<uint16_t>& entries) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    bool stale = false;
    for (const uint32_t crtc : crtcs_[index].Crtcs) {
      TSdBusCall call(*sd_);
      if (SetCrtcGamma(*sd_, bus_, serial_, crtc, entries, call)) continue;
      if (!call.ErrorIs(StaleSerialError)) return false;
      stale = true;
      break;
    }
    if (!stale) return true;
    if (attempt > 0 || !RefreshSerial(index)) return false;
  }
  return false;
}

bool TGnomeDisplays::WriteSessionGamma(size_t index, const std::vector<uint16_t>& entries) {
  sd_bus_message* message = nullptr;
  if (sd_->NewMethodCall(bus_, &message, MutterColorManagerService, crtcs_[index].Session.c_str(),
                         MutterCalibrationInterface, "SetCrtcGammaLut") < 0)
    return false;
  const bool built = AppendChannels(*sd_, message, entries);
  TSdBusCall call(*sd_);
  const bool done = built && sd_->Call(bus_, message, 0, &call.Error, &call.Reply) >= 0;
  sd_->MessageUnref(message);
  return done;
}

bool TGnomeDisplays::GetRamp(TDisplayHandle display, TGammaRamp& ramp) {
  const size_t index = IndexOf(display);
  if (bus_ == nullptr || OutputOf(display) == nullptr || crtcs_[index].GammaSize == 0) return false;
  // A calibration session first: the ramp read is then the one it starts from.
  if (GivesRampsBackAtExit() && !EnsureSession(index)) return false;
  std::vector<uint16_t> entries;
  if (!ReadCrtcGamma(index, entries)) return false;
  ramp = RampFromCardEntries(entries, crtcs_[index].GammaSize);
  return true;
}

bool TGnomeDisplays::SetRamp(TDisplayHandle display, const TGammaRamp& ramp) {
  const size_t index = IndexOf(display);
  if (bus_ == nullptr || OutputOf(display) == nullptr || crtcs_[index].GammaSize == 0) return false;
  if (GivesRampsBackAtExit()) {
    return EnsureSession(index) && WriteSessionGamma(index, RampToCardEntries(ramp, crtcs_[index].GammaSize));
  }
  // DisplayConfig tells a CRTC's size only with its ramp.
  std::vector<uint16_t> present;
  if (crtcs_[index].GammaSize < 0 && !ReadCrtcGamma(index, present)) return false;
  return WriteCrtcGamma(index, RampToCardEntries(ramp, crtcs_[index].GammaSize));
}

int32_t TGnomeDisplays::RampSize(TDisplayHandle display) {
  const TWaylandOutput* output = OutputOf(display);
  return output != nullptr && crtcs_[IndexOf(display)].GammaSize > 0 ? crtcs_[IndexOf(display)].GammaSize
                                                                     : LevelCount;
}

std::string TGnomeDisplays::RampRefusal(TDisplayHandle display) {
  return OutputOf(display) != nullptr ? crtcs_[IndexOf(display)].Refusal.Text() : "";
}
