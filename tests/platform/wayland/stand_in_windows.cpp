#include "tests/platform/wayland/stand_in_windows.h"

#include <wayland-server-protocol.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <vector>

#include "xdg-shell-server-protocol.h"

namespace {

constexpr uint32_t CompositorVersion = 4;
constexpr uint32_t ShellVersion = 1;
// From version 4 a keyboard is told its repeat rate: none here, so that a
// key held between its press and release never repeats.
constexpr uint32_t SeatVersion = 4;
constexpr uint32_t SeatVersionWithName = 2;
constexpr uint32_t KeyboardVersionWithRepeat = 4;

struct TSurface {
  bool HasBuffer = false;
  std::vector<wl_resource*> Frames;
  wl_resource* Role = nullptr;  // its xdg_surface
  wl_resource* Toplevel = nullptr;
  wl_resource* Popup = nullptr;
  std::string Title;
  bool Configured = false;
  bool Shown = false;
};

}  // namespace

struct TStandInWindows {
  wl_display* Display = nullptr;
  std::function<void(const std::string&)> Note;
  std::map<wl_resource*, TSurface> Surfaces;       // by wl_surface
  std::map<wl_resource*, wl_resource*> SurfaceOf;  // an xdg object's wl_surface
  std::vector<wl_resource*> Keyboards;
  wl_resource* LastShown = nullptr;
  wl_resource* Focus = nullptr;
  uint32_t Serial = 0;
};

namespace {

uint32_t NowMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Gone(wl_resource* resource) {
  auto& windows = *static_cast<TStandInWindows*>(wl_resource_get_user_data(resource));
  windows.Keyboards.erase(std::remove(windows.Keyboards.begin(), windows.Keyboards.end(), resource),
                          windows.Keyboards.end());
  if (windows.LastShown == resource) windows.LastShown = nullptr;
  if (windows.Focus == resource) windows.Focus = nullptr;
  windows.Surfaces.erase(resource);
  const auto role = windows.SurfaceOf.find(resource);
  if (role == windows.SurfaceOf.end()) return;
  const auto surface = windows.Surfaces.find(role->second);
  windows.SurfaceOf.erase(role);
  if (surface == windows.Surfaces.end()) return;
  TSurface& state = surface->second;
  if (state.Role == resource) state = TSurface();
  if (state.Toplevel == resource || state.Popup == resource) {
    state.Toplevel = state.Popup = nullptr;
    state.Shown = false;
    if (windows.LastShown == surface->first) windows.LastShown = nullptr;
  }
}

int Dispatch(const void*, void*, uint32_t, const wl_message*, wl_argument*);

wl_resource* Make(TStandInWindows& windows, wl_client* client, const wl_interface* interface, int version,
                  uint32_t id) {
  wl_resource* resource = wl_resource_create(client, interface, version, id);
  if (resource != nullptr) wl_resource_set_dispatcher(resource, Dispatch, &windows, &windows, Gone);
  return resource;
}

void Configure(TStandInWindows& windows, TSurface& surface) {
  if (surface.Toplevel != nullptr) {
    wl_array states;
    wl_array_init(&states);
    *static_cast<uint32_t*>(wl_array_add(&states, sizeof(uint32_t))) = XDG_TOPLEVEL_STATE_ACTIVATED;
    xdg_toplevel_send_configure(surface.Toplevel, 0, 0, &states);
    wl_array_release(&states);
  }
  if (surface.Popup != nullptr) xdg_popup_send_configure(surface.Popup, 0, 0, 1, 1);
  xdg_surface_send_configure(surface.Role, ++windows.Serial);
  surface.Configured = true;
}

void Commit(TStandInWindows& windows, wl_resource* resource, TSurface& surface) {
  for (wl_resource* frame : surface.Frames) {
    wl_callback_send_done(frame, NowMs());
    wl_resource_destroy(frame);
  }
  surface.Frames.clear();
  if (surface.Role != nullptr && !surface.Configured) Configure(windows, surface);
  if (surface.HasBuffer && surface.Toplevel != nullptr && surface.Configured && !surface.Shown) {
    surface.Shown = true;
    windows.LastShown = resource;
    if (windows.Note) windows.Note("window " + surface.Title);
  }
}

// Every request of every object here: objects that a request makes are made
// first, whatever their kind, so that a client may use them.
int Dispatch(const void* implementation, void* target, uint32_t, const wl_message* message, wl_argument* args) {
  auto& windows = *static_cast<TStandInWindows*>(const_cast<void*>(implementation));
  auto* resource = static_cast<wl_resource*>(target);
  std::vector<wl_resource*> made;
  int argument = 0;
  for (const char* kind = message->signature; *kind != '\0'; ++kind) {
    if (*kind == '?' || (*kind >= '0' && *kind <= '9')) continue;
    if (*kind == 'n')
      made.push_back(Make(windows, wl_resource_get_client(resource), message->types[argument],
                          wl_resource_get_version(resource), args[argument].n));
    ++argument;
  }
  const std::string object = wl_resource_get_class(resource), request = message->name;
  if (object == "wl_compositor" && request == "create_surface") windows.Surfaces[made[0]] = TSurface();
  if (object == "wl_surface" && request == "attach") {
    auto* buffer = reinterpret_cast<wl_resource*>(args[0].o);
    windows.Surfaces[resource].HasBuffer = buffer != nullptr;
    // Nothing is drawn: the buffer is the client's again at once.
    if (buffer != nullptr) wl_buffer_send_release(buffer);
  }
  if (object == "wl_surface" && request == "frame") windows.Surfaces[resource].Frames.push_back(made[0]);
  if (object == "wl_surface" && request == "commit") Commit(windows, resource, windows.Surfaces[resource]);
  if (object == "xdg_wm_base" && request == "get_xdg_surface") {
    auto* surface = reinterpret_cast<wl_resource*>(args[1].o);
    windows.Surfaces[surface].Role = made[0];
    windows.SurfaceOf[made[0]] = surface;
  }
  if (object == "xdg_surface" && (request == "get_toplevel" || request == "get_popup")) {
    wl_resource* surface = windows.SurfaceOf[resource];
    (request == "get_toplevel" ? windows.Surfaces[surface].Toplevel : windows.Surfaces[surface].Popup) = made[0];
    windows.SurfaceOf[made[0]] = surface;
  }
  if (object == "xdg_toplevel" && request == "set_title")
    windows.Surfaces[windows.SurfaceOf[resource]].Title = args[0].s != nullptr ? args[0].s : "";
  if (object == "wl_seat" && request == "get_keyboard") {
    windows.Keyboards.push_back(made[0]);
    if (wl_resource_get_version(made[0]) >= static_cast<int>(KeyboardVersionWithRepeat))
      wl_keyboard_send_repeat_info(made[0], 0, 0);
  }
  if (request == "destroy" || request == "release") wl_resource_destroy(resource);
  return 0;
}

template <const wl_interface* Interface>
void Bind(wl_client* client, void* data, uint32_t version, uint32_t id) {
  auto& windows = *static_cast<TStandInWindows*>(data);
  wl_resource* resource = Make(windows, client, Interface, static_cast<int>(version), id);
  if (resource == nullptr || Interface != &wl_seat_interface) return;
  wl_seat_send_capabilities(resource, WL_SEAT_CAPABILITY_KEYBOARD);
  if (version >= SeatVersionWithName) wl_seat_send_name(resource, "seat0");
}

void FreeWindows(TStandInWindows* windows) { delete windows; }

}  // namespace

std::unique_ptr<TStandInWindows, void (*)(TStandInWindows*)> OfferStandInWindows(
    wl_display* display, std::function<void(const std::string&)> note) {
  std::unique_ptr<TStandInWindows, void (*)(TStandInWindows*)> windows(new TStandInWindows, FreeWindows);
  windows->Display = display;
  windows->Note = std::move(note);
  wl_display_init_shm(display);
  wl_global_create(display, &wl_compositor_interface, CompositorVersion, windows.get(), Bind<&wl_compositor_interface>);
  wl_global_create(display, &xdg_wm_base_interface, ShellVersion, windows.get(), Bind<&xdg_wm_base_interface>);
  wl_global_create(display, &wl_seat_interface, SeatVersion, windows.get(), Bind<&wl_seat_interface>);
  return windows;
}

bool PressKeyInLastWindow(TStandInWindows& windows, uint32_t key) {
  if (windows.LastShown == nullptr) return false;
  wl_client* client = wl_resource_get_client(windows.LastShown);
  if (windows.Focus != nullptr && windows.Focus != windows.LastShown)
    for (wl_resource* keyboard : windows.Keyboards)
      if (wl_resource_get_client(keyboard) == wl_resource_get_client(windows.Focus))
        wl_keyboard_send_leave(keyboard, ++windows.Serial, windows.Focus);
  wl_array none;
  wl_array_init(&none);
  bool pressed = false;
  for (wl_resource* keyboard : windows.Keyboards) {
    if (wl_resource_get_client(keyboard) != client) continue;
    if (windows.Focus != windows.LastShown) {
      wl_keyboard_send_enter(keyboard, ++windows.Serial, windows.LastShown, &none);
      wl_keyboard_send_modifiers(keyboard, ++windows.Serial, 0, 0, 0, 0);
    }
    wl_keyboard_send_key(keyboard, ++windows.Serial, NowMs(), key, WL_KEYBOARD_KEY_STATE_PRESSED);
    wl_keyboard_send_key(keyboard, ++windows.Serial, NowMs(), key, WL_KEYBOARD_KEY_STATE_RELEASED);
    pressed = true;
  }
  if (pressed) windows.Focus = windows.LastShown;
  wl_array_release(&none);
  return pressed;
}
