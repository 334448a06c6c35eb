// tonewatch, the resident loader: launches "<own folder>tonemark /load" at
// once, again after its delay, and after every resume from suspend.
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
  BlockLoaderSignals();
  // Every start launches once, before the single-instance test.
  LaunchLoadMode();
  TrimWorkingSet();
  LoaderMain(options.DelayMs);
  return 0;
}
