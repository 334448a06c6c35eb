/* What the generated interface tables name in place of the Wayland library's
 * wl_output_interface (see CMakeLists.txt): only its name is ever read, to
 * print requests and to check the object that a request names. */
#include <wayland-util.h>

const struct wl_interface tonemark_wl_output_interface = {"wl_output", 4, 0, NULL, 0, NULL};
