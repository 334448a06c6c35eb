// Tonemark /load: the stored curves applied to every display, nobody watching.
#pragma once

#include <string>
#include <vector>

// With this set to "1", load mode loads the linear ramp on every display and
// reads no curve file: the way back from a curve that leaves a screen black.
inline const char* const SafeLoadVariable = "TONEMARK_SAFE";
inline const char* const WarningCaption = "Warning";

// Loads the curves from the data folder (or the linear ramps, see above).
// A curve that leaves its display almost uniformly black or white is loaded
// as stored and named in a warning. Curve files that cannot be read and
// displays that did not keep their ramp are thrown as one error, so that the
// run ends with exit code 1; the other displays are loaded all the same.
void RunLoadMode();

// "/load /reapply <identity>": that monitor's own curve loaded at once and
// read back, its section of Tonemark.shown rewritten. Thrown as an error (exit
// code 1) when the display did not keep it or refused it, no connected monitor
// has that identity, or it has no curve of its own (then it is not touched).
// Its messages go to standard error, never to a message box (main() sees to it).
inline const char* const ReapplyArgument = "/reapply";
bool ReapplyAsked(const std::vector<std::string>& args);
void RunReapply(const std::string& identity);
