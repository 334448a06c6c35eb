// While an editing session runs, the ramps saved at its start are trial
// state: unless the session ends with OK they go back into the displays,
// however the process ends. A process cannot act once it is killed, so a
// guardian outside it holds a copy of the saved ramps and loads them back
// when the session's process ends without releasing it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ramp/records.h"

class TRampGuardian {
 public:
  virtual ~TRampGuardian() = default;
  // Takes the saved ramps, as SavedRampsText writes them, to keep until
  // Release; should this process end first, they are loaded back.
  virtual void Hold(const std::string& savedRamps) = 0;
  // The session has ended, its ramps kept or already put back.
  virtual void Release() = 0;
};

// The guardian SaveRamps hands the ramps to; until main() sets one, none.
void SetRampGuardian(TRampGuardian& guardian);
TRampGuardian& RampGuardian();

struct TSavedRamp {
  std::string DeviceName;
  TGammaRamp Ramp{};
};

// SavedRamps with each display's device name: the count, then per display a
// line with the name and a line of 768 values, then "end".
std::string SavedRampsText();
// False unless the text is complete up to its "end".
bool ReadSavedRamps(std::istream& in, std::vector<TSavedRamp>& ramps);
// Discovers the displays and loads each saved ramp into the display with its
// device name, wherever it now stands; ramps of displays that are gone stay.
void LoadSavedRamps(const std::vector<TSavedRamp>& ramps);

// Commands on the guardian's input after the saved ramps.
constexpr char GuardianRestoreNow = 'R';  // answered with the same byte once done
constexpr char GuardianRelease = 'E';

// The guardian's life on `session`, the session process's end of their
// channel: reads the ramps, then waits. Loads them back on GuardianRestoreNow
// (answered on `answer`) or when the channel ends; leaves them on
// GuardianRelease or when the ramps never arrived whole. Returns an exit code.
int RunRampGuardian(std::istream& session, std::ostream& answer);
