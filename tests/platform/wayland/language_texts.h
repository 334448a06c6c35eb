// The back-ends' reasons are texts of the language files: tests here read
// them as the program does, English first, another language over it.
#pragma once

#include <string>

// Loads English and then `language` (when another) from the source tree's
// language files into the text table, in place of what it held.
void UseLanguageTexts(const std::string& language);
// Gives `key` the text `text`, over what the language files said.
void SetText(const std::string& key, const std::string& text);
