#include "shell/settings_file.h"

#include "lang/multilang.h"
#include "ramp/file_error.h"
#include "shell/data_folders.h"
#include "shell/shell_port.h"

namespace {

constexpr const char* SettingsSection = "Settings";
constexpr const char* LanguageKey = "Language";
constexpr const char* ReferenceImageKey = "ReferenceImage";
constexpr const char* DefaultLanguage = "English";
// Windows' private-profile functions read into a buffer of 2048 bytes, terminator included.
constexpr size_t MaxValueLength = 2047;

std::string ReadSetting(const std::string& path, const char* key, const char* fallback) {
  return ShellPort::ReadIniString(path, SettingsSection, key, fallback).substr(0, MaxValueLength);
}

}  // namespace

std::string ReferenceImagePath = DefaultReferenceImage;

std::string SettingsPath() { return CommonDataFolder(ProductSubFolder) + SettingsFileName; }

void ReadSettings() {
  CurrentLanguage = DefaultLanguage;
  ReferenceImagePath = DefaultReferenceImage;
  const std::string path = SettingsPath();
  if (!ShellPort::FileExists(path)) return;
  CurrentLanguage = ReadSetting(path, LanguageKey, DefaultLanguage);
  ReferenceImagePath = ReadSetting(path, ReferenceImageKey, DefaultReferenceImage);
}

void WriteSettings() {
  const std::string path = SettingsPath();
  // A folder that cannot be made shows as the write's own failure below.
  if (!ShellPort::FileExists(path)) ForceFolder(FolderOf(path));
  if (!ShellPort::WriteIniStrings(path, SettingsSection,
                                  {{LanguageKey, CurrentLanguage},
                                   {ReferenceImageKey, ReferenceImagePath}}))
    throw TFileError(UnableToWriteMessage(path));
}
