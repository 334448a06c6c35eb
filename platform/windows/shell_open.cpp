// Opening a document on Windows: the shell's "open" verb, and Explorer when
// the shell has no answer.
#include <windows.h>
#include <shellapi.h>

#include "shell/shell_port.h"

namespace {

// ShellExecute reports failure as a value of 32 or less.
constexpr INT_PTR LastShellExecuteError = 32;

}  // namespace

namespace ShellPort {

void OpenDocument(const std::string& target) {
  const HINSTANCE result =
      ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) > LastShellExecuteError) return;
  const std::string command = "explorer.exe \"" + target + "\"";
  WinExec(command.c_str(), SW_SHOWNORMAL);
}

}  // namespace ShellPort
