// A way to the test's X server on which every ramp is refused, as by a CRTC
// whose ramp size changed behind the client's back: a proxy that passes the
// protocol through and takes one entry off the size of each RandR
// SetCrtcGamma request, so that the server itself answers BadMatch.
#pragma once

#include <string>
#include <thread>

struct _XDisplay;

class TGammaRefusingProxy {
 public:
  // `server` is a connection to the X server of $DISPLAY, asked for RandR's
  // opcode; one client may connect to DisplayName().
  explicit TGammaRefusingProxy(_XDisplay* server);
  ~TGammaRefusingProxy();
  TGammaRefusingProxy(const TGammaRefusingProxy&) = delete;
  TGammaRefusingProxy& operator=(const TGammaRefusingProxy&) = delete;

  // The proxy's display name: ":N", a local display of no server.
  const std::string& DisplayName() const { return name_; }

 private:
  void Serve();

  std::string name_;
  int listener_ = -1;
  int stop_[2] = {-1, -1};
  int randrOpcode_ = 0;
  std::thread thread_;
};
