// tonewatch, the resident loader: launches "<own folder>tonemark /load" at
// once, again after its delay, after every resume from suspend, and a second
// after the display configuration changes or the session returns to the user.
#include "loader/command_line.h"
#include "loader/linux/instance.h"
#include "loader/linux/launch.h"
#include "loader/linux/loader_main.h"
#include "loader/linux/trim_working_set.h"

int main(int argc, char** argv) {
  TLoaderOptions options = ParseLoaderArguments(argc, argv);
  if (options.Uninstall) {
    CloseRunningLoader();
    return 0;
  }
  FindTonemark(argc > 0 ? argv[0] : nullptr);
  PrepareSignals();
  // Every start launches once, before the single-instance test.
  const pid_t firstRun = options.LoadAtStart ? LaunchLoadMode() : -1;
  TrimWorkingSet();
  LoaderMain(options.DelayMs, firstRun, options.LoadAtStart);
  return 0;
}
