// What goes over the loader's gamma socket ("Orvana.Tonewatch.gamma" beside
// its control socket), on a wlroots desktop where the loader holds the
// outputs' gamma controls. Tonemark's own copy of these records is in
// platform/wayland/loader_gamma_tables.cpp: the two must match.
//
// A client sends one request and reads its answer before the next. Requests:
//   'S' output: the output's table size, asking the compositor again for a
//       control it refused or took away;
//   'T' output, a table's file attached: shows the table (red, green, blue,
//       the output's size each, 16-bit entries) and keeps the file;
//   'G' output: the file of the table last shown, attached when there is one;
//   'R': lets go of every output for this connection's calibration session,
//       until the connection closes; the loader then takes them back and
//       loads the stored curves.
#pragma once

#include <stdint.h>

constexpr int GammaOutputNameSize = 60;

struct TGammaRequest {
  char Kind;
  char Output[GammaOutputNameSize];
};

enum TGammaStatus : int32_t {
  GammaHeld = 0,       // Size entries per channel
  GammaRefused = 1,    // the compositor refused the control
  GammaTakenAway = 2,  // another program took the control over
  GammaGone = 3,       // no such output
  GammaEditing = 4,    // let go for a calibration session
};

struct TGammaAnswer {
  int32_t Status;
  uint32_t Size;
};
