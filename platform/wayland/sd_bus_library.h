// sd-bus, opened with dlopen the first time a Wayland back-end or a desktop
// notification needs a bus: tonemark binds only the C library at start, so
// that load mode under X11 never pays for libsystemd and the libraries it
// pulls in.
#pragma once

#include <systemd/sd-bus.h>

struct TSdBusLibrary {
  decltype(&sd_bus_open_user) OpenUser = nullptr;
  decltype(&sd_bus_open_system) OpenSystem = nullptr;
  decltype(&sd_bus_set_method_call_timeout) SetTimeout = nullptr;
  decltype(&sd_bus_flush_close_unref) FlushCloseUnref = nullptr;
  decltype(&sd_bus_call_method) CallMethod = nullptr;
  decltype(&sd_bus_message_new_method_call) NewMethodCall = nullptr;
  decltype(&sd_bus_message_append) Append = nullptr;
  decltype(&sd_bus_message_append_array) AppendArray = nullptr;
  decltype(&sd_bus_call) Call = nullptr;
  decltype(&sd_bus_message_unref) MessageUnref = nullptr;
  decltype(&sd_bus_message_read) Read = nullptr;
  decltype(&sd_bus_message_read_array) ReadArray = nullptr;
  decltype(&sd_bus_message_read_strv) ReadStrv = nullptr;
  decltype(&sd_bus_message_enter_container) EnterContainer = nullptr;
  decltype(&sd_bus_message_exit_container) ExitContainer = nullptr;
  decltype(&sd_bus_message_skip) Skip = nullptr;
  decltype(&sd_bus_message_peek_type) PeekType = nullptr;
  decltype(&sd_bus_get_property_trivial) GetPropertyTrivial = nullptr;
  decltype(&sd_bus_get_property) GetProperty = nullptr;
  decltype(&sd_bus_get_property_string) GetPropertyString = nullptr;
  decltype(&sd_bus_error_free) ErrorFree = nullptr;
};

// The library's functions, or null when libsystemd cannot be opened. Opened
// once and kept: libsystemd holds state of its own until the process ends.
const TSdBusLibrary* SdBusLibrary();

// One method call's reply and error, freed together.
class TSdBusCall {
 public:
  explicit TSdBusCall(const TSdBusLibrary& sd) : sd_(sd) {}
  ~TSdBusCall() {
    sd_.MessageUnref(Reply);
    sd_.ErrorFree(&Error);
  }
  TSdBusCall(const TSdBusCall&) = delete;
  TSdBusCall& operator=(const TSdBusCall&) = delete;

  bool ErrorIs(const char* name) const;

  sd_bus_message* Reply = nullptr;
  sd_bus_error Error = SD_BUS_ERROR_NULL;

 private:
  const TSdBusLibrary& sd_;
};
