// Tables sent through the loader, against a socket that answers as the loader
// does for an output whose compositor gave its control a table of no entries.
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/loader_gamma_tables.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "loader/linux/gamma_wire.h"
#include "platform/wayland/wlr_gamma_controls.h"
#include "tests/platform/wayland/stand_in_compositor.h"

namespace {

TEST(LoaderGammaTables, AHeldOutputWithoutEntriesIsRefusedWithTheReason) {
  TPrivateWaylandSession session;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = session.Runtime.File(GammaSocketName);
  std::memcpy(address.sun_path, path.c_str(), path.size());
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  std::thread loader([listener] {
    const int client = accept(listener, nullptr, nullptr);
    TGammaRequest request;
    int file = -1;
    if (ReceiveWithFile(client, &request, sizeof request, file)) {
      const TGammaAnswer held = {GammaHeld, 0};
      SendWithFile(client, &held, sizeof held, -1);
    }
    close(client);
  });

  TLoaderGammaTables tables("/nonexistent/tonewatch");
  std::string refusal;
  EXPECT_EQ(tables.TableSize("HEADLESS-1", refusal), 0u);
  EXPECT_EQ(refusal, ControlRefusedReason());
  loader.join();
  close(listener);
}

}  // namespace
