// The byte rules of a ".lang" file: no header, no conversion, entries of the
// form Key=Text ended by a carriage return.
#pragma once

#include <functional>
#include <istream>
#include <string>

using TLanguageEntryHandler = std::function<void(const std::string& key, const std::string& text)>;

// Reads `in` from its start and hands each complete entry to `entry`, in file
// order. Between entries control bytes and blanks are skipped; an ASCII letter
// starts a key, which runs to the first "="; any other byte starts a comment
// that runs through the next line feed. A text runs to the next carriage
// return; a backslash right before a carriage return continues it on the next
// line, with a line break (CR LF) in the text. An entry still open at the end
// of the input is dropped.
void ReadLanguageEntries(std::istream& in, const TLanguageEntryHandler& entry);
