#include "platform/wayland/sd_bus_library.h"

#include <dlfcn.h>

#include <cstring>

namespace {

constexpr const char* SystemdLibrary = "libsystemd.so.0";

template <class Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool Load(void* library, TSdBusLibrary& sd) {
  return Find(library, "sd_bus_open_user", sd.OpenUser) && Find(library, "sd_bus_open_system", sd.OpenSystem) &&
         Find(library, "sd_bus_set_method_call_timeout", sd.SetTimeout) &&
         Find(library, "sd_bus_flush_close_unref", sd.FlushCloseUnref) &&
         Find(library, "sd_bus_call_method", sd.CallMethod) &&
         Find(library, "sd_bus_message_new_method_call", sd.NewMethodCall) &&
         Find(library, "sd_bus_message_append", sd.Append) &&
         Find(library, "sd_bus_message_append_array", sd.AppendArray) &&
         Find(library, "sd_bus_call", sd.Call) &&
         Find(library, "sd_bus_message_unref", sd.MessageUnref) &&
         Find(library, "sd_bus_message_read", sd.Read) &&
         Find(library, "sd_bus_message_read_array", sd.ReadArray) &&
         Find(library, "sd_bus_message_read_strv", sd.ReadStrv) &&
         Find(library, "sd_bus_message_enter_container", sd.EnterContainer) &&
         Find(library, "sd_bus_message_exit_container", sd.ExitContainer) &&
         Find(library, "sd_bus_message_skip", sd.Skip) &&
         Find(library, "sd_bus_message_peek_type", sd.PeekType) &&
         Find(library, "sd_bus_get_property_trivial", sd.GetPropertyTrivial) &&
         Find(library, "sd_bus_get_property", sd.GetProperty) &&
         Find(library, "sd_bus_get_property_string", sd.GetPropertyString) &&
         Find(library, "sd_bus_error_free", sd.ErrorFree);
}

}  // namespace

const TSdBusLibrary* SdBusLibrary() {
  static const TSdBusLibrary* const library = []() -> const TSdBusLibrary* {
    void* handle = dlopen(SystemdLibrary, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    static TSdBusLibrary sd;
    return Load(handle, sd) ? &sd : nullptr;
  }();
  return library;
}

bool TSdBusCall::ErrorIs(const char* name) const {
  return Error.name != nullptr && std::strcmp(Error.name, name) == 0;
}
