// Mutter's a{sv} property lists, as GetCurrentState and GetResources send them.
#pragma once

#include <string>

#include "platform/wayland/sd_bus_library.h"

// Reads an a{sv}: `take(key, type)` reads the variant of the keys it wants
// and returns true; the others are skipped.
template <class Take>
void ReadProperties(const TSdBusLibrary& sd, sd_bus_message* reply, Take take) {
  sd.EnterContainer(reply, 'a', "{sv}");
  while (sd.EnterContainer(reply, 'e', "sv") > 0) {
    const char* key = nullptr;
    sd.Read(reply, "s", &key);
    char type = 0;
    const char* contents = nullptr;
    sd.PeekType(reply, &type, &contents);
    if (!take(std::string(key != nullptr ? key : ""), std::string(contents != nullptr ? contents : "")))
      sd.Skip(reply, "v");
    sd.ExitContainer(reply);
  }
  sd.ExitContainer(reply);
}
