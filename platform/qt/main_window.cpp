#include "platform/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "platform/qt/background_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_terms.h"
#include "platform/qt/wayland_outputs.h"
#include "platform/qt/x11_focus.h"
#include "platform/sim/sim_displays.h"
#include "ramp/messages_port.h"

namespace {

uint32_t ShiftState(const QKeyEvent& key) {
  uint32_t shift = 0;
  if (key.modifiers() & Qt::ControlModifier) shift |= ssCtrl;
  if (key.modifiers() & Qt::AltModifier) shift |= ssAlt;
  // Shift+Tab arrives as a key of its own.
  if (key.modifiers() & Qt::ShiftModifier || key.key() == Qt::Key_Backtab) shift |= ssShift;
  return shift;
}

}  // namespace

TQtMainWindow::TQtMainWindow(TImageDecoder* decoder, int32_t systemDpi)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      input_([this](const std::function<void()>& action) { Input(action); }) {
  form_ = std::make_unique<TMainForm>(*this, *this, decoder, systemDpi);
  // Our frame covers every pixel: Qt need not clear the window first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  qApp->installEventFilter(this);
  TQtMessageBoxes::Owner = this;
}

TQtMainWindow::~TQtMainWindow() {
  TQtMessageBoxes::Owner = nullptr;
  qApp->removeEventFilter(this);
}

// A page's widgets are made when it first shows: the first frame waits only
// for the widgets that it shows.
bool TQtMainWindow::CreateShownWidgets() {
  const size_t firstNew = widgets_.size();
  for (TControl* control : ControlTree(form_->Window)) {
    if (control == &form_->Window || !control->Visible || WidgetOf(*control) != nullptr) continue;
    QWidget* parent = control->Parent == &form_->Window ? this : WidgetOf(*control->Parent);
    if (parent != nullptr) widgets_.emplace_back(control, CreateControlWidget(*control, parent, input_));
  }
  return widgets_.size() > firstNew;
}

// Widgets made later than others would lie above them and come after them in
// the tab chain: each goes back to its place in the control tree, the order
// of both when every widget was made at once.
void TQtMainWindow::KeepTreeOrder(size_t firstNew) {
  const std::vector<TControl*> tree = ControlTree(form_->Window);
  const auto isNew = [&](const QWidget* widget) {
    for (size_t i = firstNew; i < widgets_.size(); ++i)
      if (widgets_[i].second == widget) return true;
    return false;
  };
  for (size_t i = firstNew; i < widgets_.size(); ++i) {
    const TControl& control = *widgets_[i].first;
    const auto& siblings = control.Parent->Children;
    for (auto sibling = std::find(siblings.begin(), siblings.end(), &control) + 1; sibling != siblings.end(); ++sibling) {
      QWidget* older = WidgetOf(**sibling);
      if (older != nullptr && !isNew(older)) {
        widgets_[i].second->stackUnder(older);
        break;
      }
    }
  }
  // The bar and the notice lie above their siblings whatever order those
  // were made in.
  for (TControl* control : tree)
    if (QWidget* widget = control->AboveSiblings ? WidgetOf(*control) : nullptr) widget->raise();
  QWidget* previous = nullptr;
  for (TControl* control : tree) {
    QWidget* widget = control == &form_->Window ? nullptr : WidgetOf(*control);
    if (widget == nullptr || widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, widget);
    previous = widget;
  }
}

QWidget* TQtMainWindow::WidgetOf(const TControl& control) const {
  for (const auto& [mirrored, widget] : widgets_)
    if (mirrored == &control) return widget;
  return nullptr;
}

void TQtMainWindow::Start() {
  form_->FormCreate();
  FollowDisplayDpi();
  Sync();
  background_ = std::make_unique<TQtBackground>([this] { BringToFront(); });
  form_->Background = background_.get();
  background_->Start(OnWayland() ? screen() : nullptr);
  BringToFront();
}

void TQtMainWindow::Input(const std::function<void()>& action) {
  action();
  FollowDisplayDpi();
  Sync();
}

// X reports no DPI per monitor, Wayland only each output's scale: the window
// follows its display's itself. Simulated displays keep their own DPI.
void TQtMainWindow::FollowDisplayDpi() {
  if (!OnWayland() || SimulatedDisplaysRequested()) {
    form_->FollowDisplayDpi();
    return;
  }
  const QScreen* output = OutputOfDisplay(form_->DisplayIndex);
  const auto dpi = static_cast<uintptr_t>(output ? OutputDpi(*output) : DesignDpi);
  if (static_cast<int32_t>(dpi) != form_->PixelsPerInch) form_->DpiChanged(dpi << 16 | dpi);
}

// The widgets first: a window shown after them shows only those that the
// page has, instead of every widget for a moment.
void TQtMainWindow::Sync() {
  const size_t firstNew = widgets_.size();
  const bool created = CreateShownWidgets();
  for (const auto& [control, widget] : widgets_) SyncControlWidget(*control, *widget);
  if (created) KeepTreeOrder(firstNew);
  SyncWindow();
}

void TQtMainWindow::SyncWindow() {
  const TControl& window = form_->Window;
  const QString title = ToQString(window.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  if (OnWayland()) {
    SyncOnOutput();
    return;
  }
  // A change of flags hides the window; the visibility below shows it again.
  if (bool(windowFlags() & Qt::WindowStaysOnTopHint) != form_->StayOnTop)
    setWindowFlag(Qt::WindowStaysOnTopHint, form_->StayOnTop);
  const QRect bounds(window.Left, window.Top, window.Width, window.Height);
  if (geometry() != bounds) setGeometry(bounds);
  if (isHidden() == window.Visible && !form_->Closed) setVisible(window.Visible);
}

// No Wayland client may place its window or keep it on top: the window is
// fullscreen on its display's output instead, and the compositor gives it the
// output's size. Its geometry in the model only lays out what it shows.
void TQtMainWindow::SyncOnOutput() {
  if (form_->Closed) return;
  if (!form_->Window.Visible) {
    hide();
    return;
  }
  QScreen* output = OutputOfDisplay(form_->DisplayIndex);
  ShowFullScreenOn(*this, output);
  if (background_) background_->Follow(output);
}

// The model may ask several times within one input: one frame serves them all.
void TQtMainWindow::Repaint() {
  if (framePending_) return;
  framePending_ = true;
  QMetaObject::invokeMethod(this, [this] { PaintFrame(); }, Qt::QueuedConnection);
}

void TQtMainWindow::PaintFrame() {
  if (!framePending_) return;
  framePending_ = false;
  const TControl& window = form_->Window;
  update(frame_.Paint(window.Width, window.Height, TFont{window.Font.Name, window.Font.Height},
                      [&](TCanvas& canvas) { form_->FormPaint(canvas); }));
}

void TQtMainWindow::BringToFront() {
  Sync();
  raise();
  activateWindow();
  TakeInputFocus(*this);
}

void TQtMainWindow::MinimizeApplication() {
  SyncWindow();
  showMinimized();
}

void TQtMainWindow::ShowMessage(const std::string& text) { MessagesPort().ShowMessage(ApplicationTitleText, text); }

void TQtMainWindow::WindowClosed() {
  if (background_) background_->Hide();
  hide();
  QApplication::quit();
}

TTextExtent TQtMainWindow::TextExtent(const TControlFont& font, const std::string& text) {
  return MeasureText(font, text);
}

TTextExtent TQtMainWindow::WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) {
  return MeasureWrappedText(font, text, width);
}

bool TQtMainWindow::Execute(const TOpenDialogOptions& options, std::string& fileName) {
  return ShowOpenFileDialog(this, options, fileName);
}

void TQtMainWindow::paintEvent(QPaintEvent* event) {
  if (frame_.Empty()) Repaint();
  PaintFrame();
  surface_.FaultIn(*this);
  QPainter painter(this);
  frame_.Blit(painter, event->region());
}

void TQtMainWindow::closeEvent(QCloseEvent* event) {
  if (!form_->Closed) form_->Close();
  if (form_->Closed) event->accept();
  else event->ignore();
}

bool TQtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || QApplication::activeWindow() != this) return false;
  // A key that the focused control ignores travels on to its parents; the
  // form sees it once, on its way to the focused control.
  QWidget* focused = QApplication::focusWidget();
  if (watched != (focused ? focused : this)) return false;
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
    Input([&] { form_->FormKeyDown(VkTab, ShiftState(key)); });
  return false;
}
