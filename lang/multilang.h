// Module Multilang: every user-visible text, looked up by key in the merged
// language files.
#pragma once

#include <string>
#include <utility>
#include <vector>

inline const char* const LanguagesFolderName = "Tonemark.languages";
inline const char* const LanguageFileExtension = ".lang";

extern std::string CurrentLanguage;
// Entries in the order their keys were first added; keys unique.
extern std::vector<std::pair<std::string, std::string>> TextTable;
extern std::vector<std::string> LanguageList;

// The text of `key` (matched byte for byte, with letter case), or the key
// itself when no loaded file defines it.
std::string Translate(const std::string& key);
// Merges the first language file of that name that opens, from: the user's
// data folder, the all-users data folder, the languages folder beside the
// program, the program folder. Leaves the table alone when none opens.
void LoadLanguage(const std::string& language, const std::string& folderName,
                  const std::string& userSub, const std::string& commonSub);
// Lists the language files of the program folder, the languages folder, the
// all-users and the user's data folder, in this order, without repeats.
void BuildLanguageList(const std::string& folderName, const std::string& commonSub,
                       const std::string& userSub);

// The search above on its inputs: the four candidate files of `language`.
std::vector<std::string> LanguageFileCandidates(const std::string& language,
                                                const std::string& folderName,
                                                const std::string& userSub,
                                                const std::string& commonSub);
// The four folders BuildLanguageList searches, in its order.
std::vector<std::string> LanguageListFolders(const std::string& folderName,
                                             const std::string& commonSub,
                                             const std::string& userSub);
