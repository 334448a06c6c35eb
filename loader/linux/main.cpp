// tonewatch, the resident loader: launches "<own folder>tonemark /load" at
// once, again after its delay, after every resume from suspend, and a second
// after the display configuration changes or the session returns to the user;
// a launch wanted while a calibration session is open comes when it ends.
// Between launches it watches the ramps (ramp_watch.h); "/status" prints
// what the watch knows.
#include "loader/command_line.h"
#include "loader/linux/editing_session.h"
#include "loader/linux/instance.h"
#include "loader/linux/launch.h"
#include "loader/linux/loader_main.h"
#include "loader/linux/pause.h"
#include "loader/linux/ramp_watch.h"
#include "loader/linux/status_file.h"
#include "loader/linux/trim_working_set.h"
#include "loader/linux/tray.h"

int main(int argc, char** argv) {
  TLoaderOptions options = ParseLoaderArguments(argc, argv);
  if (options.Uninstall) {
    CloseRunningLoader();
    return 0;
  }
  if (options.Status) return PrintWatchStatus();
  ChooseWatchSeconds(options.WatchSeconds);
  ChooseTray(options.Tray);
  ReadPause();
  FindTonemark(argc > 0 ? argv[0] : nullptr);
  PrepareSignals();
  // Every start launches once, before the single-instance test, unless a
  // calibration session is open: the loader then launches when it ends.
  const bool heldBack = options.LoadAtStart && EditingSessionOpen();
  // While the calibration is paused, the launch at start keeps the linear ramp.
  const pid_t firstRun =
      options.LoadAtStart && !heldBack ? (CalibrationPaused() ? LaunchSafeLoadMode() : LaunchLoadMode()) : -1;
  TrimWorkingSet();
  LoaderMain(options.DelayMs, firstRun, options.LoadAtStart, heldBack);
  return 0;
}
