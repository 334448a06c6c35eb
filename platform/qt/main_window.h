// The calibration window in Qt: one frameless top-level widget at the edited
// display's rectangle (on Wayland fullscreen on its output), whose children mirror the control model one to one.
// It paints the page's pattern into a raster frame, shows the model's state
// after each input, and hands every input to the model.
#pragma once

#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "paint/image_decoder.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/fresh_surface.h"
#include "platform/qt/qt_frame.h"
#include "platform/qt/qt_text.h"
#include "ui/main_form.h"
#include "ui/main_view.h"

class TQtBackground;

class TQtMainWindow final : public QWidget, public TMainView, public TFileDialog {
 public:
  TQtMainWindow(TImageDecoder* decoder, int32_t systemDpi);
  ~TQtMainWindow() override;

  TMainForm& Form() { return *form_; }
  // The session's start (FormCreate), then the background window.
  void Start();
  bool Closed() const { return form_->Closed; }
  // Makes the window and every widget show the model's present state.
  void Sync();
  // The widget that mirrors `control`; null for the form itself.
  QWidget* WidgetOf(const TControl& control) const;

  void Repaint() override;
  void BringToFront() override;
  void MinimizeApplication() override;
  void ShowMessage(const std::string& text) override;
  void WindowClosed() override;
  TTextExtent TextExtent(const TControlFont& font, const std::string& text) override;
  TTextExtent WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) override;
  bool Execute(const TOpenDialogOptions& options, std::string& fileName) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Key preview: Ctrl+Tab reaches the form before the focused control.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Input(const std::function<void()>& action);
  // Makes the widgets of the controls that show and have none yet; true when
  // it made any.
  bool CreateShownWidgets();
  void KeepTreeOrder(size_t firstNew);
  void SyncWindow();
  void SyncOnOutput();
  void FollowDisplayDpi();
  // Paints the model's frame and sends what changed to the screen.
  void PaintFrame();

  TQtTextRenderer text_;
  TQtFrame frame_{&text_};
  TFreshSurface surface_;
  bool framePending_ = false;
  std::unique_ptr<TMainForm> form_;
  TInput input_;
  std::vector<std::pair<const TControl*, QWidget*>> widgets_;
  std::unique_ptr<TQtBackground> background_;
};
