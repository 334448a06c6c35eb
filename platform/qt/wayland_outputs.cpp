#include "platform/qt/wayland_outputs.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "platform/qt/output_scales.h"
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

// Qt's ratio is the output's buffer scale times the factor 1 / scale set at
// start (qt_application.cpp), so that it is 1 then; a later change of the
// output's scale changes its buffer scale, the true scale in proportion.
int32_t OutputDpi(const QScreen& output) {
  TOutputScale start;
  for (const TOutputScale& found : StartOutputScales())
    if (output.name() == QString::fromStdString(found.Name)) start = found;
  const double bufferScale = output.devicePixelRatio() * start.Scale;
  return static_cast<int32_t>(std::lround(DesignDpi * bufferScale * start.Scale / start.BufferScale));
}

void ShowFullScreenOn(QWidget& window, QScreen* output) {
  if (!window.isHidden() && window.screen() == output) return;
  window.hide();
  window.setScreen(output);
  window.showFullScreen();
}
