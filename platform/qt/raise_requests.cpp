#include "platform/qt/raise_requests.h"

#include "platform/linux/session_lock.h"
#include "platform/qt/main_window.h"

TRaiseRequests::TRaiseRequests(TQtMainWindow& window) {
  const int socket = SessionRaiseRequests();
  if (socket < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, &window, [&window] {
    if (!AcceptRaiseRequests() || window.Closed()) return;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.BringToFront();
  });
}
