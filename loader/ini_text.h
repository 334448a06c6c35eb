// The settings file as text in memory: one value looked up, or set, in the
// way Windows' private-profile functions read and write it (section and key
// names compared without regard to ASCII case, blanks around them ignored,
// ";" lines are comments). Plain C strings only: the Linux loader keeps clear
// of the C++ runtime.
#pragma once

#include <cstddef>

// Copies the value of `key` in `section` into `value` (cut to fit `size`,
// always terminated). False when the section or the key is absent.
bool FindIniValue(const char* text, const char* section, const char* key, char* value, size_t size);

// Writes into `out` the text with `key` in `section` set to `value`: the
// key's line replaced where it is, else added at the end of the section, else
// the section added at the end. Every other line is kept byte for byte; new
// lines end as the text's first line does (CR LF, or LF). Returns the new
// length, or 0 when it does not fit `size` (terminator included).
size_t SetIniValue(const char* text, const char* section, const char* key, const char* value, char* out,
                   size_t size);
