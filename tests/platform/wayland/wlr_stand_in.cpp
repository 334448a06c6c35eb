#include "tests/platform/wayland/wlr_stand_in.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-server-protocol.h>

#include <algorithm>
#include <sstream>

#include "wlr-gamma-control-unstable-v1-server-protocol.h"

struct WlrStandIn::TOutputState {
  WlrStandIn* Compositor = nullptr;
  TStandInOutput Output;
  wl_global* Global = nullptr;
  wl_resource* Holder = nullptr;  // the gamma control holding the output
  TShownTables Shown;
};

namespace {

using TOutputState = WlrStandIn::TOutputState;

void ReleaseOutput(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }
const struct wl_output_interface OutputImplementation = {ReleaseOutput};

void BindOutput(wl_client* client, void* data, uint32_t version, uint32_t id) {
  const TStandInOutput& output = static_cast<TOutputState*>(data)->Output;
  wl_resource* resource = wl_resource_create(client, &wl_output_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(resource, &OutputImplementation, data, nullptr);
  wl_output_send_geometry(resource, output.X, 0, 600, 340, WL_OUTPUT_SUBPIXEL_UNKNOWN, "Maker", "Model",
                          WL_OUTPUT_TRANSFORM_NORMAL);
  wl_output_send_mode(resource, 0, 640, 480, 60000);
  wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, output.Width, output.Height, 60000);
  if (version >= 4) {
    wl_output_send_name(resource, output.Name.c_str());
    wl_output_send_description(resource, output.Description.c_str());
  }
  wl_output_send_done(resource);
}

void Restore(TOutputState& state) {
  state.Holder = nullptr;
  state.Shown.emplace_back();
  if (state.Compositor->Note) state.Compositor->Note("restored " + state.Output.Name);
}

// A control's data is its output, or null once it has failed.
void ControlGone(wl_resource* control) {
  auto* state = static_cast<TOutputState*>(wl_resource_get_user_data(control));
  if (state != nullptr && state->Holder == control) Restore(*state);
}

void Fail(wl_resource* control) {
  wl_resource_set_user_data(control, nullptr);
  zwlr_gamma_control_v1_send_failed(control);
}

void SetGamma(wl_client*, wl_resource* control, int32_t fd) {
  auto* state = static_cast<TOutputState*>(wl_resource_get_user_data(control));
  if (state == nullptr || state->Holder != control) {
    close(fd);
    return;
  }
  std::vector<uint16_t> table(3 * size_t{state->Output.GammaSize});
  const ssize_t bytes = static_cast<ssize_t>(table.size() * sizeof(uint16_t));
  // As wlroots does: the whole table from the file's offset, not a byte less.
  const ssize_t got = read(fd, table.data(), static_cast<size_t>(bytes));
  close(fd);
  if (got != bytes) {
    wl_resource_post_error(control, ZWLR_GAMMA_CONTROL_V1_ERROR_INVALID_GAMMA, "wrong gamma table size");
    return;
  }
  state->Shown.push_back(table);
  if (state->Compositor->Note) {
    std::ostringstream line;
    line << "set " << state->Output.Name;
    for (uint16_t entry : table) line << ' ' << entry;
    state->Compositor->Note(line.str());
  }
}

void DestroyResource(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }

const struct zwlr_gamma_control_v1_interface ControlImplementation = {SetGamma, DestroyResource};

void GetGammaControl(wl_client* client, wl_resource* manager, uint32_t id, wl_resource* outputResource) {
  wl_resource* control = wl_resource_create(client, &zwlr_gamma_control_v1_interface,
                                            wl_resource_get_version(manager), id);
  auto* state = static_cast<TOutputState*>(wl_resource_get_user_data(outputResource));
  wl_resource_set_implementation(control, &ControlImplementation, state, ControlGone);
  const auto note = state->Compositor->Note;
  if (state->Output.GammaSize == 0 || state->Global == nullptr ||
      (state->Holder != nullptr && state->Compositor->Rule == TOwnerRule::RefuseSecond)) {
    Fail(control);
    if (note) note("refused " + state->Output.Name);
    return;
  }
  if (state->Holder != nullptr) {
    Fail(state->Holder);
    if (note) note("taken " + state->Output.Name);
  }
  state->Holder = control;
  zwlr_gamma_control_v1_send_gamma_size(control, state->Output.GammaSize);
  if (note) note("held " + state->Output.Name);
}

const struct zwlr_gamma_control_manager_v1_interface ManagerImplementation = {GetGammaControl, DestroyResource};

void BindManager(wl_client* client, void* data, uint32_t version, uint32_t id) {
  wl_resource* resource =
      wl_resource_create(client, &zwlr_gamma_control_manager_v1_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(resource, &ManagerImplementation, data, nullptr);
}

}  // namespace

WlrStandIn::WlrStandIn(const std::string& socket, const std::vector<TStandInOutput>& outputs, TOwnerRule rule,
                       std::function<void(const std::string&)> note)
    : Rule(rule), Note(std::move(note)) {
  display_ = wl_display_create();
  wl_display_add_socket(display_, socket.c_str());
  wl_global_create(display_, &zwlr_gamma_control_manager_v1_interface, 1, this, BindManager);
  for (const TStandInOutput& output : outputs) AddOutput(output);
  serving_ = std::thread([this] {
    wl_event_loop* loop = wl_display_get_event_loop(display_);
    pollfd events = {wl_event_loop_get_fd(loop), POLLIN, 0};
    while (!stop_) {
      poll(&events, 1, 20);
      std::lock_guard<std::recursive_mutex> hold(lock_);
      wl_event_loop_dispatch(loop, 0);
      wl_display_flush_clients(display_);
    }
  });
}

WlrStandIn::~WlrStandIn() {
  stop_ = true;
  serving_.join();
  wl_display_destroy_clients(display_);
  wl_display_destroy(display_);
}

void WlrStandIn::AddOutput(const TStandInOutput& output) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  auto state = std::make_unique<TOutputState>();
  state->Compositor = this;
  state->Output = output;
  state->Global = wl_global_create(display_, &wl_output_interface, 4, state.get(), BindOutput);
  outputs_.push_back(std::move(state));
  wl_display_flush_clients(display_);
}

WlrStandIn::TOutputState* WlrStandIn::Find(const std::string& name) {
  for (auto& state : outputs_)
    if (state->Output.Name == name && state->Global != nullptr) return state.get();
  return nullptr;
}

void WlrStandIn::RemoveOutput(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  TOutputState* state = Find(name);
  if (state == nullptr) return;
  // wlroots fails the output's control when the output goes.
  if (state->Holder != nullptr) Fail(state->Holder);
  state->Holder = nullptr;
  wl_global_destroy(state->Global);
  state->Global = nullptr;
  wl_display_flush_clients(display_);
}

void WlrStandIn::SendFailed(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  TOutputState* state = Find(name);
  if (state == nullptr || state->Holder == nullptr) return;
  Fail(state->Holder);
  Restore(*state);
  wl_display_flush_clients(display_);
}

TShownTables WlrStandIn::Shown(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  for (auto& state : outputs_)
    if (state->Output.Name == name) return state->Shown;
  return {};
}

bool WlrStandIn::Held(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  TOutputState* state = Find(name);
  return state != nullptr && state->Holder != nullptr;
}

std::vector<TStandInOutput> StandInOutputsOf(const std::string& list) {
  std::vector<TStandInOutput> outputs;
  std::istringstream items(list);
  std::string item;
  while (std::getline(items, item, ',')) {
    TStandInOutput output;
    const size_t colon = item.find(':');
    output.Name = item.substr(0, colon);
    output.Description = "Maker Model (" + output.Name + ")";
    output.X = static_cast<int32_t>(outputs.size()) * output.Width;
    if (colon != std::string::npos) output.GammaSize = static_cast<uint32_t>(std::stoul(item.substr(colon + 1)));
    outputs.push_back(output);
  }
  return outputs;
}
