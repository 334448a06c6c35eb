// While a calibration session is open (its program holds "Orvana.Tonemark.lock"
// in the runtime folder), the loader launches nothing: a load would show the
// stored curve under the session's preview. It launches once the session ends.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <thread>

#include "tests/loader_linux/loader_folder.h"

namespace {

TEST(TonewatchEditingSession, LaunchesNothingWhileASessionIsOpenAndOnceAfterItEnds) {
  LoaderFolder folder;
  const int session = open(folder.RuntimeFile("Orvana.Tonemark.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_EQ(flock(session, LOCK_EX | LOCK_NB), 0);
  // The launch at start and the timed one come during the session.
  LoaderProcess loader = folder.Start({"/delay", "1"});
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_EQ(folder.Starts().size(), 0u);

  close(session);
  EXPECT_TRUE(folder.WaitForStarts(1, 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(folder.Starts().size(), 1u);
  EXPECT_TRUE(loader.IsRunning());
}

}  // namespace
