#include "shell/open_through_shell.h"

#include "shell/shell_port.h"

// The desktop's own program first, the file manager when that fails; neither
// failure is reported, and the caller does not wait for either.
void OpenThroughShell(const std::string& target) { ShellPort::OpenDocument(target); }
