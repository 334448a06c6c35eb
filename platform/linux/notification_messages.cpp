#include "platform/linux/notification_messages.h"

#include <iostream>

#include "platform/linux/desktop_notification.h"

namespace {
constexpr const char* NotificationSummary = "Tonemark";
}  // namespace

void TNotificationMessages::ShowMessage(const std::string& caption, const std::string& text) {
  shown_.push_back(caption + ": " + text);
  std::cerr << shown_.back() << std::endl;
}

void TNotificationMessages::NotifyDesktopOfAll() {
  if (shown_.empty()) return;
  std::string body;
  for (const std::string& message : shown_) body += (body.empty() ? "" : "\n") + message;
  NotifyDesktop(NotificationSummary, body);
  shown_.clear();
}
