// libwayland-client, opened with dlopen the first time a Wayland back-end
// needs it: the X11 path of tonemark never binds it. Its header's inline
// request wrappers would bind it at start, so requests are marshalled by
// opcode through MarshalFlags instead.
#pragma once

#include <wayland-client-core.h>

#include <cstdint>

struct TWaylandLibrary {
  decltype(&wl_display_connect) Connect = nullptr;
  decltype(&wl_display_disconnect) Disconnect = nullptr;
  decltype(&wl_display_roundtrip) Roundtrip = nullptr;
  decltype(&wl_proxy_marshal_flags) MarshalFlags = nullptr;
  decltype(&wl_proxy_add_listener) AddListener = nullptr;
  decltype(&wl_proxy_add_dispatcher) AddDispatcher = nullptr;
  decltype(&wl_proxy_get_version) GetVersion = nullptr;
  decltype(&wl_proxy_destroy) Destroy = nullptr;
  const wl_interface* RegistryInterface = nullptr;
  const wl_interface* OutputInterface = nullptr;
};

// The library's functions, or null when it cannot be loaded.
const TWaylandLibrary* WaylandClient();

// Requests by opcode, as the core protocol numbers them.
constexpr uint32_t DisplayGetRegistry = 1;
constexpr uint32_t RegistryBind = 0;

// wl_registry.get_registry on a new connection's display.
wl_proxy* GetRegistry(const TWaylandLibrary& wl, wl_display* display);
// wl_registry.bind of global `name` as `interface` at `version`.
wl_proxy* BindGlobal(const TWaylandLibrary& wl, wl_proxy* registry, uint32_t name, const wl_interface* interface,
                     uint32_t version);
