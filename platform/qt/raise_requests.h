// Brings the calibration window to the front, out of its minimised state too,
// when a second start of Tonemark asks through the session lock's socket.
#pragma once

#include <QSocketNotifier>
#include <memory>

class TQtMainWindow;

class TRaiseRequests {
 public:
  explicit TRaiseRequests(TQtMainWindow& window);

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};
