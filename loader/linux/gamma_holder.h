// On a wlroots desktop (a compositor offering wlr gamma control) the loader
// holds each output's gamma control, since a table lasts only while its
// client holds the control: the load runs send their tables through the
// loader (gamma_requests.h). It takes a control when an output appears (and
// a load run a moment later), asks again a second after a `failed` that
// it did not cause (another program took the output over), asks again every
// few seconds for a control refused until it has it (and loads it then), lets
// go of the outputs for a calibration session and takes them back when it
// ends.
//
// A compositor that does not answer when the loader starts is tried again at
// growing intervals. When the compositor's connection breaks, the session is
// over: the loader ends with it.
#pragma once

#include <poll.h>
#include <stdint.h>

#include "loader/linux/clock.h"
#include "loader/linux/gamma_wire.h"

struct wl_display;
struct wl_registry;
struct wl_output;
struct zwlr_gamma_control_manager_v1;
struct zwlr_gamma_control_v1;

constexpr int MostHeldOutputs = 16;

enum TOutputState : uint8_t {
  OutputUnused,
  OutputIdle,  // not asked for yet: asked on the first request about it
  OutputAsked,
  OutputHeld,
  OutputRefused,
  OutputTakenAway,
  OutputReleased,  // to a calibration session
};

struct THeldOutput {
  TOutputState State = OutputUnused;
  uint32_t Global = 0;
  wl_output* Output = nullptr;
  zwlr_gamma_control_v1* Control = nullptr;
  char Name[GammaOutputNameSize] = {};
  uint32_t GammaSize = 0;
  int Table = -1;  // the file of the table last shown
  uint64_t AskAgainAt = NoDeadline;  // when refused, taken away, or handed back by a session
  int ReleasedTo = -1;  // the session's connection
};

struct TGammaHolder {
  wl_display* Display = nullptr;
  wl_registry* Registry = nullptr;
  zwlr_gamma_control_manager_v1* Manager = nullptr;
  THeldOutput Outputs[MostHeldOutputs];
  bool Started = false;  // the outputs of the start are loaded by the launch at start
  uint64_t LoadAt = NoDeadline;  // a load run is wanted then
  bool Broken = false;
  // While the compositor has not answered: when to try again, and the last wait.
  uint64_t ReconnectAt = NoDeadline;
  uint64_t ReconnectDelayMs = 0;
};

// Connects when the session is a Wayland one whose compositor offers wlr
// gamma control; false otherwise. A compositor that cannot be reached yet is
// tried again from ProcessGammaHolder. With `takeNow` it takes every output's
// control at once, else each on the first request about it: a loader that
// load mode or a calibration session started must not take an output over
// from the process that started it (wlroots 0.16 gives it to the newcomer).
bool OpenGammaHolder(TGammaHolder& holder, bool takeNow);

// True while a calibration session has the outputs: load runs then wait for
// its end, which brings one.
bool SessionHasOutputs(const TGammaHolder& holder);

void AddGammaHolderToPoll(TGammaHolder& holder, pollfd& slot, int& timeoutMs, uint64_t now);

// Reads the compositor's news and asks again for what is due, or connects
// when it is time. True when a load run is due now.
bool ProcessGammaHolder(TGammaHolder& holder, const pollfd& slot, uint64_t now);

// The answer about the output named, asking again for a control that was
// refused or taken away.
TGammaAnswer AskForOutput(TGammaHolder& holder, const char* name);
// Shows the table in `file` (which the holder keeps, or closes).
TGammaAnswer ShowTable(TGammaHolder& holder, const char* name, int file);
// The file of the table the output shows, -1 when none was set.
int ShownTable(TGammaHolder& holder, const char* name);
// Lets go of every output for the session on `connection`.
void ReleaseOutputs(TGammaHolder& holder, int connection);
// The session on `connection` ended: its outputs are taken back, and loaded,
// a moment later.
void SessionEnded(TGammaHolder& holder, int connection, uint64_t now);

void CloseGammaHolder(TGammaHolder& holder);
