// The start-at-log-on entry on Linux: a Desktop Entry in the XDG autostart
// folder, which the desktop session starts when the user logs on.
#include <filesystem>
#include <system_error>

#include "platform/linux/shell_desktop_entry.h"
#include "platform/linux/shell_xdg.h"
#include "platform/linux/shown_text.h"
#include "ramp/atomic_file.h"
#include "ramp/file_error.h"
#include "shell/shell_port.h"

namespace {

// Inside a quoted Exec argument these four are taken literally only behind a
// backslash.
bool NeedsQuotingEscape(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

// The argument quoting of Exec=, then the field-code escape of "%".
std::string QuotedExecArgument(const std::string& argument) {
  std::string quoted = "\"";
  for (char c : argument) {
    if (NeedsQuotingEscape(c)) quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

// The escapes of every string value, applied to the file's text before any
// quoting is undone.
std::string EscapedStringValue(const std::string& value) {
  std::string escaped;
  for (char c : value) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string DesktopEntryText(const std::string& program) {
  const std::string name = std::filesystem::path(program).filename().string();
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" + EscapedStringValue(ShownText(name)) + "\n"
         "Exec=" + EscapedStringValue(QuotedExecArgument(program)) + "\n"
         // Once the program is uninstalled the desktop skips the entry.
         "TryExec=" + EscapedStringValue(program) + "\n"
         "Terminal=false\n";
}

namespace ShellPort {

std::string StartupFolder() {
  const std::string config = XdgConfigHome();
  return config.empty() ? "" : config + "/autostart";
}

std::string StartupEntryExtension() { return ".desktop"; }

bool SaveStartupEntry(const std::string& entryPath, const std::string& target) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(entryPath).parent_path(), error);
  // Exec= needs an absolute path; the desktop does not start it from our folder.
  const std::filesystem::path program = std::filesystem::absolute(target, error);
  if (error) return false;
  try {
    WriteFileAtomically(entryPath, DesktopEntryText(program.string()));
  } catch (const TFileError&) {
    return false;
  }
  return true;
}

}  // namespace ShellPort
