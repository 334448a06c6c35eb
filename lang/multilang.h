// Module Multilang: every user-visible text, looked up by key in the merged
// language files.
#pragma once

#include <string>
#include <utility>
#include <vector>

inline const char* const LanguagesFolderName = "Tonemark.languages";

extern std::string CurrentLanguage;
// Entries in the order their keys were first added; keys unique.
extern std::vector<std::pair<std::string, std::string>> TextTable;
extern std::vector<std::string> LanguageList;

std::string Translate(const std::string& key);
void LoadLanguage(const std::string& language, const std::string& folderName,
                  const std::string& userSub, const std::string& commonSub);
void BuildLanguageList(const std::string& folderName, const std::string& commonSub,
                       const std::string& userSub);
