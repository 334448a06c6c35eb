#include "loader/linux/display_watch.h"

#include <stdlib.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

namespace {

// Output and CRTC change notifications came with RandR 1.2.
constexpr uint32_t RandrMajor = 1;
constexpr uint32_t RandrMinor = 2;
constexpr uint8_t EventTypeMask = 0x7f;  // the top bit marks events sent by clients
constexpr uint16_t ChangeMask = XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                                XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE;

bool HasRandr12(xcb_connection_t* connection) {
  xcb_randr_query_version_reply_t* version = xcb_randr_query_version_reply(
      connection, xcb_randr_query_version(connection, RandrMajor, RandrMinor), nullptr);
  bool enough = version != nullptr && (version->major_version > RandrMajor ||
                                       (version->major_version == RandrMajor && version->minor_version >= RandrMinor));
  free(version);
  return enough;
}

xcb_window_t RootWindow(xcb_connection_t* connection, int screenNumber) {
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
  return screens.rem > 0 ? screens.data->root : XCB_NONE;
}

}  // namespace

void OpenDisplayWatch(TDisplayWatch& watch) {
  if (getenv("DISPLAY") == nullptr) return;
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  const xcb_query_extension_reply_t* randr =
      xcb_connection_has_error(connection) ? nullptr : xcb_get_extension_data(connection, &xcb_randr_id);
  xcb_window_t root = randr != nullptr && randr->present ? RootWindow(connection, screenNumber) : XCB_NONE;
  if (root == XCB_NONE || !HasRandr12(connection)) {
    xcb_disconnect(connection);
    return;
  }
  xcb_randr_select_input(connection, root, ChangeMask);
  xcb_flush(connection);
  watch.Connection = connection;
  watch.FirstEvent = randr->first_event;
  watch.Root = root;
}

void AddDisplayWatchToPoll(const TDisplayWatch& watch, pollfd& entry) {
  entry = {-1, 0, 0};
  if (watch.Connection != nullptr) entry = {xcb_get_file_descriptor(watch.Connection), POLLIN, 0};
}

int ProcessDisplayWatch(TDisplayWatch& watch) {
  if (watch.Connection == nullptr) return 0;
  int changes = 0;
  while (xcb_generic_event_t* event = xcb_poll_for_event(watch.Connection)) {
    uint8_t type = event->response_type & EventTypeMask;
    if (type == watch.FirstEvent + XCB_RANDR_SCREEN_CHANGE_NOTIFY || type == watch.FirstEvent + XCB_RANDR_NOTIFY) {
      ++changes;
    }
    free(event);
  }
  if (xcb_connection_has_error(watch.Connection)) CloseDisplayWatch(watch);
  return changes;
}

void CloseDisplayWatch(TDisplayWatch& watch) {
  if (watch.Connection != nullptr) xcb_disconnect(watch.Connection);
  watch.Connection = nullptr;
}
