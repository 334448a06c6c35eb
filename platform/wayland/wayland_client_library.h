// libwayland-client, opened with dlopen on first use so that tonemark's X11
// path never binds it. The library's header wrappers of requests would bind
// it at start; callers marshal requests by opcode through these instead.
#pragma once

#include <wayland-client-core.h>
#include <wayland-client-protocol.h>

struct TWaylandLibrary {
  decltype(&wl_display_connect) Connect = nullptr;
  decltype(&wl_display_disconnect) Disconnect = nullptr;
  decltype(&wl_display_roundtrip) Roundtrip = nullptr;
  decltype(&wl_display_flush) Flush = nullptr;
  decltype(&wl_proxy_marshal_flags) MarshalFlags = nullptr;
  decltype(&wl_proxy_add_listener) AddListener = nullptr;
  decltype(&wl_proxy_add_dispatcher) AddDispatcher = nullptr;
  decltype(&wl_proxy_get_version) GetVersion = nullptr;
  decltype(&wl_proxy_destroy) Destroy = nullptr;
  const wl_interface* RegistryInterface = nullptr;
  const wl_interface* OutputInterface = nullptr;
};

// Requests by opcode, as the core protocol numbers them.
constexpr uint32_t DisplayGetRegistry = 1;
constexpr uint32_t RegistryBind = 0;
constexpr uint32_t OutputRelease = 0;  // version 3 and later

// The library's functions, or null when it cannot be loaded.
const TWaylandLibrary* WaylandClient();

// wl_display.get_registry on a new connection's display.
wl_proxy* GetRegistry(const TWaylandLibrary& wl, wl_display* display);
// wl_registry.bind of global `name` as `interface` at `version`.
wl_proxy* BindGlobal(const TWaylandLibrary& wl, wl_proxy* registry, uint32_t name, const wl_interface* interface,
                     uint32_t version);

// Sets a listener table (any protocol's listener struct) on a proxy.
template <class Listener>
void Listen(const TWaylandLibrary& wl, void* proxy, const Listener& listener, void* data) {
  wl.AddListener(static_cast<wl_proxy*>(proxy), reinterpret_cast<void (**)(void)>(const_cast<Listener*>(&listener)),
                 data);
}
