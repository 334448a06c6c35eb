#include "lang/multilang.h"

#include <algorithm>
#include <exception>
#include <sstream>
#include <unordered_map>

#include "lang/language_file.h"
#include "ramp/file_port.h"
#include "shell/data_folders.h"
#include "shell/shell_port.h"

std::string CurrentLanguage = "English";
std::vector<std::pair<std::string, std::string>> TextTable;
std::vector<std::string> LanguageList;

namespace {

// Far beyond any language file; a larger one is passed over unread.
constexpr size_t MaxLanguageFileSize = 16 << 20;

std::string LanguagesFolder(const std::string& folderName) {
  return ProgramFolder() + folderName + ShellPort::PathDelimiter();
}

// Merges the file's complete entries one by one, so that whatever was read
// before an error stays merged. The index keeps a file with very many keys
// from costing a scan of the table per entry.
void MergeLanguageFile(std::istream& in) {
  std::unordered_map<std::string, size_t> index;
  for (size_t i = 0; i < TextTable.size(); ++i) index.emplace(TextTable[i].first, i);
  try {
    ReadLanguageEntries(in, [&index](const std::string& key, const std::string& text) {
      const auto [found, added] = index.emplace(key, TextTable.size());
      if (added) TextTable.emplace_back(key, text);
      else TextTable[found->second].second = text;
    });
  } catch (const std::exception&) {
    // Any error ends the reading of this file, as the end of the file would.
  }
}

}  // namespace

std::string Translate(const std::string& key) {
  for (const auto& [entryKey, text] : TextTable)
    if (entryKey == key) return text;
  return key;
}

std::vector<std::string> LanguageFileCandidates(const std::string& language,
                                                const std::string& folderName,
                                                const std::string& userSub,
                                                const std::string& commonSub) {
  const std::string file = language + LanguageFileExtension;
  return {UserDataFolder(userSub) + file, CommonDataFolder(commonSub) + file,
          LanguagesFolder(folderName) + file, ProgramFolder() + file};
}

void LoadLanguage(const std::string& language, const std::string& folderName,
                  const std::string& userSub, const std::string& commonSub) {
  for (const std::string& path : LanguageFileCandidates(language, folderName, userSub, commonSub)) {
    // A folder of that name is passed over, as the system would refuse to open it.
    std::string bytes;
    if (FilePort::ReadFileBytes(path, MaxLanguageFileSize, bytes) != FilePort::TReadOutcome::Read)
      continue;
    std::istringstream in(bytes);
    MergeLanguageFile(in);
    return;
  }
}

std::vector<std::string> LanguageListFolders(const std::string& folderName,
                                             const std::string& commonSub,
                                             const std::string& userSub) {
  return {ProgramFolder(), LanguagesFolder(folderName), CommonDataFolder(commonSub),
          UserDataFolder(userSub)};
}

void BuildLanguageList(const std::string& folderName, const std::string& commonSub,
                       const std::string& userSub) {
  LanguageList.clear();
  const size_t extensionLength = std::string(LanguageFileExtension).size();
  for (const std::string& folder : LanguageListFolders(folderName, commonSub, userSub)) {
    for (const std::string& entry : ShellPort::FolderEntriesEndingWith(folder, LanguageFileExtension)) {
      const std::string name = entry.substr(0, entry.size() - extensionLength);
      if (std::find(LanguageList.begin(), LanguageList.end(), name) == LanguageList.end())
        LanguageList.push_back(name);
    }
  }
}
