#include "platform/linux/randr_errors.h"

#include <X11/Xlib.h>

namespace {

unsigned long ErrorCount = 0;

int CountError(Display*, XErrorEvent*) {
  ++ErrorCount;
  return 0;
}

}  // namespace

void InstallXErrorTrap() {
  static const bool installed = (XSetErrorHandler(CountError), true);
  (void)installed;
}

unsigned long XErrorCount() { return ErrorCount; }
