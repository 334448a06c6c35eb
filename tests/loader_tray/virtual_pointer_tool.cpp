// virtual_pointer: gives a headless wlroots compositor's seat a pointer
// device, idle until it is ended, so that the compositor's own cursor
// commands (swaymsg seat - cursor ...) reach clients as pointer input.
// Prints "ready" once the device exists.
#include <stdio.h>
#include <string.h>
#include <unistd.h>
#include <wayland-client.h>

#include "virtual-pointer-v1-client-protocol.h"

namespace {

wl_seat* Seat = nullptr;
zwlr_virtual_pointer_manager_v1* Manager = nullptr;

void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (strcmp(interface, wl_seat_interface.name) == 0)
    Seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    Manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void GlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener RegistryListener = {Global, GlobalRemoved};

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    fprintf(stderr, "virtual_pointer: no Wayland display\n");
    return 1;
  }
  wl_registry_add_listener(wl_display_get_registry(display), &RegistryListener, nullptr);
  wl_display_roundtrip(display);
  if (Manager == nullptr) {
    fprintf(stderr, "virtual_pointer: the compositor offers no virtual pointers\n");
    return 1;
  }
  zwlr_virtual_pointer_manager_v1_create_virtual_pointer(Manager, Seat);
  wl_display_roundtrip(display);
  printf("ready\n");
  fflush(stdout);
  while (wl_display_dispatch(display) >= 0) {
  }
  return 0;
}
