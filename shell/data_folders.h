// Where Tonemark keeps its data, and the loader's start-at-log-on entry.
// Folder paths end with a delimiter.
#pragma once

#include <string>

// The relative folder of the product's data, passed by every caller.
inline const char* const ProductSubFolder = "Orvana\\Tonemark\\";

// The folder of CommandLineArgs[0], up to and including its last "\" or "/";
// empty when it has none.
std::string ProgramFolder();
// True unless the program folder lies under the system's program-files folder:
// on Windows contains it (IsPortableFolder), on Linux lies under the install
// prefix (LiesUnderFolder).
bool IsPortable();
// The all-users data folder followed by `sub` for an installed program; the
// program folder for a portable one, or when the system names no such folder.
std::string CommonDataFolder(const std::string& sub);
// The same rule with the user's roaming data folder.
std::string UserDataFolder(const std::string& sub);
// Creates `folder` and every missing parent, outermost first. True when it
// exists afterwards (or is a drive, two characters at most); false as soon as
// one level cannot be created.
bool ForceFolder(const std::string& folder);
// Places (or overwrites) the entry that starts `target` at log-on: on Windows
// Tonewatch.lnk in the Startup folder, on Linux tonewatch.desktop in the
// autostart folder. False when it could not be placed: then whyNot says which
// file could not be written, or is empty when the system names no such folder.
bool CreateStartupShortcut(const std::string& target, std::string* whyNot = nullptr);
// Deletes the entry that CreateStartupShortcut would place. Always true.
bool DeleteStartupShortcut(const std::string& target);

// The rules above on their inputs.

// Both "\" and "/" end a folder name in argument 0 and the paths derived
// from it.
bool IsPathDelimiter(char c);
// `path` up to and including its last such delimiter; empty without one.
std::string FolderOf(const std::string& path);
// What the file system itself takes as a delimiter: "/", and on Windows "\".
// ForceFolder splits paths at these only, so that a backslash in a Linux
// folder name stays part of the name.
bool IsFileSystemDelimiter(char c);
// ASCII letters upper-cased: names of folders and languages are compared
// without regard to case, whatever the system's locale.
std::string UpperCase(std::string text);
// True unless `programFolder` contains `programFilesFolder` as a substring,
// both upper-cased. An empty program-files path is contained nowhere.
bool IsPortableFolder(const std::string& programFolder, const std::string& programFilesFolder);
// True when the absolute "/" path `folder` is `parent` or lies inside it,
// compared by whole folder names, exactly; empty and "." names are skipped.
bool LiesUnderFolder(const std::string& folder, const std::string& parent);
// The file name of `target` with its extension replaced by (or, without one,
// followed by) `extension`: "C:\x\Tonewatch.exe", ".lnk" gives "Tonewatch.lnk".
std::string ShortcutFileName(const std::string& target, const std::string& extension);
// `sub` with each delimiter turned into this system's delimiter.
std::string NativeSubFolder(const std::string& sub);
