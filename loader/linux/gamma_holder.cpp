#include "loader/linux/gamma_holder.h"

#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wayland-client.h>

#include "wlr-gamma-control-unstable-v1-client-protocol.h"

namespace {

// Version 4 adds the output's name ("DP-1").
constexpr uint32_t OutputVersion = 4;
// A new output gets its curve this soon: its own events come first.
constexpr uint64_t OutputSettleMs = 250;
// Another program took a control over: asked again this much later.
constexpr uint64_t TakeAgainMs = 1000;
// A control refused (wlroots 0.17 and later refuse an output that another
// program holds, a night-light tool say): asked again this often, until taken.
constexpr uint64_t AskRefusedAgainMs = 3000;
// A compositor that does not answer yet (the loader started before it): tried
// again after this long, twice as long each time, up to the longest.
constexpr uint64_t FirstReconnectMs = 1000;
constexpr uint64_t LongestReconnectMs = 30000;
// A session that ended may still hold the controls for a moment, until the
// compositor has heard of its end.
constexpr uint64_t TakeBackMs = 250;

void Name(void* data, wl_output*, const char* name) {
  THeldOutput& output = *static_cast<THeldOutput*>(data);
  strncpy(output.Name, name, sizeof output.Name - 1);
}
void Geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}
void Mode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void Done(void*, wl_output*) {}
void Scale(void*, wl_output*, int32_t) {}
void Description(void*, wl_output*, const char*) {}
const wl_output_listener OutputListener = {Geometry, Mode, Done, Scale, Name, Description};

void GammaSize(void* data, zwlr_gamma_control_v1*, uint32_t size) {
  THeldOutput& output = *static_cast<THeldOutput*>(data);
  output.GammaSize = size;
  output.State = OutputHeld;
}

// Taken away from a control that was held; refused when asked.
void Failed(void* data, zwlr_gamma_control_v1*) {
  THeldOutput& output = *static_cast<THeldOutput*>(data);
  const bool takenAway = output.State == OutputHeld;
  output.State = takenAway ? OutputTakenAway : OutputRefused;
  output.AskAgainAt = MonotonicMs() + (takenAway ? TakeAgainMs : AskRefusedAgainMs);
}
const zwlr_gamma_control_v1_listener ControlListener = {GammaSize, Failed};

void ForgetTable(THeldOutput& output) {
  if (output.Table >= 0) close(output.Table);
  output.Table = -1;
}

void DestroyControl(THeldOutput& output) {
  if (output.Control != nullptr) zwlr_gamma_control_v1_destroy(output.Control);
  output.Control = nullptr;
  ForgetTable(output);
}

// From version 3 release lets the compositor free its side of the output as
// well; a plain destroy would leave it there for the loader's whole session.
void ReleaseOutput(THeldOutput& output) {
  DestroyControl(output);
  if (output.Output == nullptr) return;
  if (wl_output_get_version(output.Output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(output.Output);
  else wl_output_destroy(output.Output);
  output.Output = nullptr;
}

// Asked again, when due, for a control refused or taken away.
bool IsAskedAgain(const THeldOutput& output) {
  return output.State == OutputTakenAway || output.State == OutputRefused;
}

// Asks for the output's control; the answer comes with the next round trip.
void Take(TGammaHolder& holder, THeldOutput& output) {
  DestroyControl(output);
  output.State = OutputAsked;
  output.AskAgainAt = NoDeadline;
  output.Control = zwlr_gamma_control_manager_v1_get_gamma_control(holder.Manager, output.Output);
  zwlr_gamma_control_v1_add_listener(output.Control, &ControlListener, &output);
}

// Hears the compositor's answers; a broken connection ends the holding.
void RoundTrip(TGammaHolder& holder) {
  if (!holder.Broken && wl_display_roundtrip(holder.Display) < 0) holder.Broken = true;
}

void Global(void* data, wl_registry* registry, uint32_t global, const char* interface, uint32_t version) {
  TGammaHolder& holder = *static_cast<TGammaHolder*>(data);
  if (strcmp(interface, zwlr_gamma_control_manager_v1_interface.name) == 0 && holder.Manager == nullptr) {
    holder.Manager = static_cast<zwlr_gamma_control_manager_v1*>(
        wl_registry_bind(registry, global, &zwlr_gamma_control_manager_v1_interface, 1));
    return;
  }
  if (strcmp(interface, wl_output_interface.name) != 0) return;
  for (THeldOutput& output : holder.Outputs) {
    if (output.State != OutputUnused) continue;
    output = THeldOutput();
    output.Global = global;
    UnnamedOutputName(global, output.Name, sizeof output.Name);  // until the compositor names it
    output.Output = static_cast<wl_output*>(
        wl_registry_bind(registry, global, &wl_output_interface, version < OutputVersion ? version : OutputVersion));
    wl_output_add_listener(output.Output, &OutputListener, &output);
    output.State = OutputAsked;  // taken once the manager is surely bound
    if (holder.Started) {
      Take(holder, output);
      uint64_t at = MonotonicMs() + OutputSettleMs;
      if (at < holder.LoadAt) holder.LoadAt = at;
    }
    return;
  }
}

void GlobalRemove(void* data, wl_registry*, uint32_t global) {
  TGammaHolder& holder = *static_cast<TGammaHolder*>(data);
  for (THeldOutput& output : holder.Outputs) {
    if (output.State == OutputUnused || output.Global != global) continue;
    ReleaseOutput(output);
    output = THeldOutput();
  }
}
const wl_registry_listener RegistryListener = {Global, GlobalRemove};

THeldOutput* Find(TGammaHolder& holder, const char* name) {
  for (THeldOutput& output : holder.Outputs)
    if (output.State != OutputUnused && strncmp(output.Name, name, sizeof output.Name) == 0) return &output;
  return nullptr;
}

TGammaAnswer AnswerAbout(const THeldOutput* output) {
  if (output == nullptr) return {GammaGone, 0};
  switch (output->State) {
    case OutputHeld: return {GammaHeld, output->GammaSize};
    case OutputTakenAway: return {GammaTakenAway, 0};
    case OutputReleased: return {GammaEditing, 0};
    default: return {GammaRefused, 0};
  }
}

enum TConnection { NotReached, WithoutGammaControl, Connected };

TConnection Connect(TGammaHolder& holder, bool takeNow) {
  holder.Display = wl_display_connect(nullptr);
  if (holder.Display == nullptr) return NotReached;
  holder.Registry = wl_display_get_registry(holder.Display);
  wl_registry_add_listener(holder.Registry, &RegistryListener, &holder);
  RoundTrip(holder);
  if (holder.Manager == nullptr || holder.Broken) {
    const TConnection connection = holder.Broken ? NotReached : WithoutGammaControl;
    CloseGammaHolder(holder);
    holder.Broken = false;  // a compositor that has not come yet is not the session's end
    return connection;
  }
  for (THeldOutput& output : holder.Outputs) {
    if (output.State != OutputAsked) continue;
    if (takeNow) Take(holder, output);
    else output.State = OutputIdle;
  }
  RoundTrip(holder);  // the names, and the controls' answers
  holder.Started = true;
  return Connected;
}

}  // namespace

bool OpenGammaHolder(TGammaHolder& holder, bool takeNow) {
  const char* waylandDisplay = getenv("WAYLAND_DISPLAY");
  if (waylandDisplay == nullptr || *waylandDisplay == '\0') return false;
  const TConnection connection = Connect(holder, takeNow);
  if (connection == NotReached) {
    holder.ReconnectDelayMs = FirstReconnectMs;
    holder.ReconnectAt = MonotonicMs() + holder.ReconnectDelayMs;
  }
  return connection == Connected;
}

void AddGammaHolderToPoll(TGammaHolder& holder, pollfd& slot, int& timeoutMs, uint64_t now) {
  slot = {-1, POLLIN, 0};
  if (holder.Display == nullptr) {
    WaitNoLaterThan(holder.ReconnectAt, now, timeoutMs);
    return;
  }
  wl_display_dispatch_pending(holder.Display);
  wl_display_flush(holder.Display);
  slot.fd = wl_display_get_fd(holder.Display);
  WaitNoLaterThan(holder.LoadAt, now, timeoutMs);
  for (const THeldOutput& output : holder.Outputs)
    if (IsAskedAgain(output)) WaitNoLaterThan(output.AskAgainAt, now, timeoutMs);
}

bool ProcessGammaHolder(TGammaHolder& holder, const pollfd& slot, uint64_t now) {
  if (holder.Display == nullptr) {
    if (holder.ReconnectAt > now) return false;
    // Nothing was loaded on this compositor yet, and nobody can have started
    // this loader from it: its outputs are taken at once, and loaded.
    const TConnection connection = Connect(holder, true);
    holder.ReconnectAt = NoDeadline;
    if (connection == NotReached) {
      holder.ReconnectDelayMs = holder.ReconnectDelayMs * 2 < LongestReconnectMs ? holder.ReconnectDelayMs * 2
                                                                                 : LongestReconnectMs;
      holder.ReconnectAt = now + holder.ReconnectDelayMs;
    }
    return connection == Connected;
  }
  if (slot.revents != 0 && wl_display_dispatch(holder.Display) < 0) holder.Broken = true;
  bool asked[MostHeldOutputs] = {};
  bool askedAgain = false;
  for (int i = 0; i < MostHeldOutputs; ++i) {
    THeldOutput& output = holder.Outputs[i];
    if (!IsAskedAgain(output) || output.AskAgainAt > now) continue;
    Take(holder, output);
    asked[i] = askedAgain = true;
  }
  if (askedAgain) {
    RoundTrip(holder);
    // Quietly: an output refused again is simply asked again later.
    for (int i = 0; i < MostHeldOutputs; ++i)
      if (asked[i] && holder.Outputs[i].State == OutputHeld && holder.LoadAt > now) holder.LoadAt = now;
  }
  if (holder.LoadAt > now) return false;
  holder.LoadAt = NoDeadline;
  return true;
}

TGammaAnswer AskForOutput(TGammaHolder& holder, const char* name) {
  THeldOutput* output = Find(holder, name);
  if (output != nullptr &&
      (output->State == OutputIdle || output->State == OutputRefused || output->State == OutputTakenAway)) {
    Take(holder, *output);
    RoundTrip(holder);
  }
  return AnswerAbout(Find(holder, name));
}

TGammaAnswer ShowTable(TGammaHolder& holder, const char* name, int file) {
  THeldOutput* output = Find(holder, name);
  if (output == nullptr || output->State != OutputHeld) {
    close(file);
    return AnswerAbout(output);
  }
  // A table the output cannot show is not shown: the client hears so.
  struct stat info;
  if (fstat(file, &info) != 0 || info.st_size != static_cast<off_t>(3 * sizeof(uint16_t) * output->GammaSize) ||
      lseek(file, 0, SEEK_SET) != 0) {
    close(file);
    return {GammaRefused, 0};
  }
  zwlr_gamma_control_v1_set_gamma(output->Control, file);
  RoundTrip(holder);
  output = Find(holder, name);  // a round trip may remove it
  if (output == nullptr || output->State != OutputHeld) {
    close(file);
    return AnswerAbout(output);
  }
  ForgetTable(*output);
  output->Table = file;
  return AnswerAbout(output);
}

int ShownTable(TGammaHolder& holder, const char* name) {
  THeldOutput* output = Find(holder, name);
  return output != nullptr && output->State == OutputHeld ? output->Table : -1;
}

void ReleaseOutputs(TGammaHolder& holder, int connection) {
  for (THeldOutput& output : holder.Outputs) {
    if (output.State == OutputUnused || output.State == OutputReleased) continue;
    DestroyControl(output);
    output.State = OutputReleased;
    output.ReleasedTo = connection;
  }
  RoundTrip(holder);  // the compositor has let go before the session asks
}

void SessionEnded(TGammaHolder& holder, int connection, uint64_t now) {
  for (THeldOutput& output : holder.Outputs) {
    if (output.State != OutputReleased || output.ReleasedTo != connection) continue;
    // Asked again as a control taken away is, a little sooner.
    output.State = OutputTakenAway;
    output.AskAgainAt = now + TakeBackMs;
    output.ReleasedTo = -1;
  }
}

bool SessionHasOutputs(const TGammaHolder& holder) {
  for (const THeldOutput& output : holder.Outputs)
    if (output.State == OutputReleased) return true;
  return false;
}

void CloseGammaHolder(TGammaHolder& holder) {
  for (THeldOutput& output : holder.Outputs) {
    if (output.State == OutputUnused) continue;
    ReleaseOutput(output);
    output = THeldOutput();
  }
  if (holder.Manager != nullptr) zwlr_gamma_control_manager_v1_destroy(holder.Manager);
  if (holder.Registry != nullptr) wl_registry_destroy(holder.Registry);
  if (holder.Display != nullptr) wl_display_disconnect(holder.Display);
  holder.Manager = nullptr;
  holder.Registry = nullptr;
  holder.Display = nullptr;
}
