// The watch: every few seconds (3 unless the settings or "/watch N" say
// otherwise) it reads the ramp of each display that a load run calibrated and
// verified, and compares it with what Tonemark.shown says the display then
// showed. A display another program has set is re-loaded at once through
// "tonemark /load /reapply <identity>", unless a rule leaves it alone: a
// calibration window is open, a program of the leave-alone list runs, the
// desktop's night light is on, or the display was replaced again soon after
// each of three re-loads in a row (then it is given up, said once in a
// notification, until the next load run). Rules are checked only when a
// ramp differs, so an idle watch is one ramp read per display per period.
// Not on Wayland: there the compositor or the loader's own held controls
// keep the calibration.
#pragma once

#include <stdint.h>

// From "/watch N", before the loop starts; -1 (or no call): the settings' value.
void ChooseWatchSeconds(int32_t watchSeconds);

struct TDisplayWatch;

// Reads X ramps over the display watch's connection, which must outlive the watch.
void OpenRampWatch(const TDisplayWatch& display);

// Shortens timeoutMs (-1: none) to the next look, or, while a re-load runs,
// to the next look at whether it has ended. The watch takes no slot of the
// loop's poll: the loader's slots stay within the fewest descriptors a
// system may grant it.
void AddRampWatchToPoll(int& timeoutMs, uint64_t now);

// loadRunGoing: the loader's own load run has not ended; the ramps are then
// on their way and not looked at. After a look the display watch reads the
// events that the look's replies brought along: the number of configuration
// changes among them.
int ProcessRampWatch(uint64_t now, bool loadRunGoing, TDisplayWatch& display);

void CloseRampWatch();
