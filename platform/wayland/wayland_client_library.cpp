#include "platform/wayland/wayland_client_library.h"

#include <dlfcn.h>

namespace {

constexpr const char* WaylandLibraryName = "libwayland-client.so.0";

template <class Symbol>
bool Find(void* library, const char* name, Symbol& symbol) {
  symbol = reinterpret_cast<Symbol>(dlsym(library, name));
  return symbol != nullptr;
}

}  // namespace

const TWaylandLibrary* WaylandClient() {
  static const TWaylandLibrary* const loaded = []() -> const TWaylandLibrary* {
    void* library = dlopen(WaylandLibraryName, RTLD_NOW | RTLD_LOCAL);
    static TWaylandLibrary wl;
    if (library == nullptr || !Find(library, "wl_display_connect", wl.Connect) ||
        !Find(library, "wl_display_disconnect", wl.Disconnect) ||
        !Find(library, "wl_display_roundtrip", wl.Roundtrip) || !Find(library, "wl_display_flush", wl.Flush) ||
        !Find(library, "wl_proxy_marshal_flags", wl.MarshalFlags) ||
        !Find(library, "wl_proxy_add_listener", wl.AddListener) ||
        !Find(library, "wl_proxy_add_dispatcher", wl.AddDispatcher) ||
        !Find(library, "wl_proxy_get_version", wl.GetVersion) || !Find(library, "wl_proxy_destroy", wl.Destroy) ||
        !Find(library, "wl_registry_interface", wl.RegistryInterface) ||
        !Find(library, "wl_output_interface", wl.OutputInterface))
      return nullptr;
    return &wl;
  }();
  return loaded;
}

wl_proxy* GetRegistry(const TWaylandLibrary& wl, wl_display* display) {
  auto* proxy = reinterpret_cast<wl_proxy*>(display);
  return wl.MarshalFlags(proxy, DisplayGetRegistry, wl.RegistryInterface, wl.GetVersion(proxy), 0, nullptr);
}

wl_proxy* BindGlobal(const TWaylandLibrary& wl, wl_proxy* registry, uint32_t name, const wl_interface* interface,
                     uint32_t version) {
  return wl.MarshalFlags(registry, RegistryBind, interface, version, 0, name, interface->name, version, nullptr);
}
