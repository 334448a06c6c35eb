#include "ramp/ramp_guardian.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <sstream>

#include "ramp/display_discovery.h"
#include "ramp/displays_port.h"

namespace {

class TNoGuardian : public TRampGuardian {
 public:
  void Hold(const std::string&) override {}
  void Release() override {}
};

TNoGuardian NoGuardian;
TRampGuardian* CurrentGuardian = &NoGuardian;

constexpr const char* EndLine = "end";

}  // namespace

void SetRampGuardian(TRampGuardian& guardian) { CurrentGuardian = &guardian; }

TRampGuardian& RampGuardian() { return *CurrentGuardian; }

std::string SavedRampsText() {
  std::ostringstream text;
  const size_t count = std::min(SavedRamps.size(), Displays.size());
  text << count << '\n';
  for (size_t i = 0; i < count; ++i) {
    text << Displays[i].MonitorInfo.DeviceName << '\n';
    for (uint16_t entry : SavedRamps[i]) text << entry << ' ';
    text << '\n';
  }
  text << EndLine << '\n';
  return text.str();
}

bool ReadSavedRamps(std::istream& in, std::vector<TSavedRamp>& ramps) {
  ramps.clear();
  std::string line;
  size_t count = 0;
  if (!std::getline(in, line) || !(std::istringstream(line) >> count)) return false;
  for (size_t i = 0; i < count; ++i) {
    TSavedRamp saved;
    if (!std::getline(in, saved.DeviceName) || !std::getline(in, line)) return false;
    std::istringstream values(line);
    for (uint16_t& entry : saved.Ramp)
      if (!(values >> entry)) return false;
    ramps.push_back(saved);
  }
  return std::getline(in, line) && line == EndLine;
}

void LoadSavedRamps(const std::vector<TSavedRamp>& ramps) {
  EnumerateDisplays();
  // A display that went away moves the others up in the list: each ramp
  // follows its device name, wherever that display now stands.
  for (const TSavedRamp& saved : ramps)
    for (int32_t i = 0; i < DisplayCount; ++i)
      if (Displays[i].MonitorInfo.DeviceName == saved.DeviceName) {
        DisplaysPort().SetRamp(Displays[i].DC, saved.Ramp);
        break;
      }
}

int RunRampGuardian(std::istream& session, std::ostream& answer) {
  std::vector<TSavedRamp> ramps;
  if (!ReadSavedRamps(session, ramps)) return 0;
  const int command = session.get();
  if (command == GuardianRelease) return 0;
  LoadSavedRamps(ramps);
  ReleaseDisplays();
  if (command == GuardianRestoreNow) answer.put(GuardianRestoreNow).flush();
  return 0;
}
