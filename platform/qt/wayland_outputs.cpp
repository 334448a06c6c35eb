#include "platform/qt/wayland_outputs.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "ramp/records.h"
#include "ui/main_form.h"

QScreen* OutputOfDisplay(int32_t index) {
  const QList<QScreen*> outputs = QGuiApplication::screens();
  if (index >= 0 && index < DisplayCount) {
    const QString name = QString::fromStdString(Displays[index].MonitorInfo.DeviceName);
    for (QScreen* output : outputs)
      if (output->name() == name) return output;
  }
  return outputs.isEmpty() ? nullptr : outputs.first();
}

int32_t OutputDpi(const QScreen& output) {
  return static_cast<int32_t>(std::lround(DesignDpi * output.devicePixelRatio()));
}

void ShowFullScreenOn(QWidget& window, QScreen* output) {
  if (!window.isHidden() && window.screen() == output) return;
  window.hide();
  window.setScreen(output);
  window.showFullScreen();
}
