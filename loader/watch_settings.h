// The watch's settings in Tonemark.settings, section [Tonewatch]:
//   Watch=<seconds between looks at the ramps; 0 turns the watch off>
//   LeaveAlone=<program names, separated by commas>
// The programs named are added to the well-known ones that set ramps on
// their own (night-light tools), which are always left alone.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "loader/watch_rules.h"

constexpr char SettingsFileName[] = "Tonemark.settings";
constexpr size_t LeaveAloneSize = 512;

struct TWatchSettings {
  int32_t WatchSeconds = DefaultWatchSeconds;
  char LeaveAlone[LeaveAloneSize] = {};  // comma list: the defaults, then the user's
};

// `defaults` is this system's list of well-known programs.
void ReadWatchSettings(const char* text, size_t length, const char* defaults, TWatchSettings& settings);

// Whether `name` is in the comma list, compared without regard to ASCII case
// and blanks around the names. `name` may be cut (Linux keeps 15 bytes of a
// program's name): a cut name matches a listed one that begins with it.
bool NameInList(const char* name, size_t nameLimit, const char* list);
