#include "platform/qt/control_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

#include "platform/qt/qt_terms.h"
#include "platform/qt/start_preparation.h"

namespace {

// An up-down control: an up and a down arrow, each half the height, that
// repeat while held.
class TUpDownWidget : public QWidget {
 public:
  TUpDownWidget(QWidget* parent, const std::function<void(bool up)>& step) : QWidget(parent) {
    for (QToolButton* arrow : {&up_, &down_}) {
      arrow->setParent(this);
      arrow->setAutoRepeat(true);
      arrow->setFocusPolicy(Qt::NoFocus);
    }
    up_.setArrowType(Qt::UpArrow);
    down_.setArrowType(Qt::DownArrow);
    QObject::connect(&up_, &QToolButton::clicked, [step] { step(true); });
    QObject::connect(&down_, &QToolButton::clicked, [step] { step(false); });
  }

 protected:
  void resizeEvent(QResizeEvent*) override {
    up_.setGeometry(0, 0, width(), height() / 2);
    down_.setGeometry(0, height() / 2, width(), height() - height() / 2);
  }

 private:
  QToolButton up_, down_;
};

// An edit whose arrow keys step its up-down, as the buddy of one does.
class TEditWidget : public QLineEdit {
 public:
  TEditWidget(QWidget* parent, std::function<void(bool up)> step) : QLineEdit(parent), step_(std::move(step)) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) step_(event->key() == Qt::Key_Up);
    else QLineEdit::keyPressEvent(event);
  }

 private:
  std::function<void(bool up)> step_;
};

class TLabelWidget : public QLabel {
 public:
  TLabelWidget(QWidget* parent, std::function<void()> click) : QLabel(parent), click_(std::move(click)) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) click_();
  }

 private:
  std::function<void()> click_;
};

// A picture stretched into the control with its aspect ratio kept.
class TImageWidget : public QWidget {
 public:
  using QWidget::QWidget;
  void ShowResource(const std::string& name) {
    if (name == resource_) return;
    resource_ = name;
    picture_ = EmbeddedPictureImage(name);
    shown_ = QImage();
    update();
  }

 protected:
  // Scaled once per size, not with every paint.
  void paintEvent(QPaintEvent*) override {
    if (picture_.isNull()) return;
    const QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    if (shown_.size() != size) shown_ = picture_.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter(this).drawImage(0, 0, shown_);
  }

 private:
  std::string resource_;
  QImage picture_, shown_;
};

template <typename T>
T& As(TControl& control) {
  return static_cast<T&>(control);
}
template <typename T>
const T& As(const TControl& control) {
  return static_cast<const T&>(control);
}

QWidget* CreateTabBar(TTabSet& tabs, QWidget* parent, const TInput& input) {
  auto* bar = new QTabBar(parent);
  bar->setShape(QTabBar::RoundedSouth);
  bar->setDrawBase(false);
  bar->setExpanding(false);
  bar->setAutoFillBackground(true);
  QObject::connect(bar, &QTabBar::currentChanged, [&tabs, input](int index) { input([&] { tabs.SetTabIndex(index); }); });
  return bar;
}

// Every role set, so that nothing comes from the parent widget's palette:
// a control shows only its own colours, as a native control does.
QPalette PaletteOf(const TControl& control, const QWidget& widget) {
  const QPalette style = QApplication::palette(&widget);
  QPalette palette;
  for (int group = 0; group < QPalette::NColorGroups; ++group)
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto g = QPalette::ColorGroup(group);
      const auto r = QPalette::ColorRole(role);
      palette.setBrush(g, r, style.brush(g, r));
    }
  const std::optional<QColor> color = ToQColor(control.EffectiveColor());
  const std::optional<QColor> text = ToQColor(control.EffectiveFont().Color);
  const bool edit = control.Kind == TControlKind::Edit || control.Kind == TControlKind::ComboBox;
  if (color) palette.setColor(edit ? QPalette::Base : QPalette::Window, *color);
  if (color && (control.Kind == TControlKind::Button || control.Kind == TControlKind::TabSet))
    palette.setColor(QPalette::Button, *color);
  if (text)
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      palette.setColor(QPalette::Active, role, *text), palette.setColor(QPalette::Inactive, role, *text);
  return palette;
}

// Panels, the tab strip and labels that are not transparent fill their area
// with their colour; the rest show what lies behind them.
bool FillsBackground(const TControl& control) {
  switch (control.Kind) {
    case TControlKind::Panel:
    case TControlKind::TabSet:
      return true;
    case TControlKind::Label:
      return !control.Transparent;
    default:
      return false;
  }
}

void SyncItems(QComboBox& combo, const TComboBox& control) {
  QStringList items;
  for (const std::string& item : control.Items) items << ToQString(item);
  const QSignalBlocker quiet(combo);
  QStringList shown;
  for (int i = 0; i < combo.count(); ++i) shown << combo.itemText(i);
  if (shown != items) {
    combo.clear();
    combo.addItems(items);
  }
  if (combo.currentIndex() != control.ItemIndex) combo.setCurrentIndex(control.ItemIndex);
}

void SyncTabs(QTabBar& bar, const TTabSet& control) {
  const QSignalBlocker quiet(bar);
  for (size_t i = 0; i < control.Tabs.size(); ++i) {
    const QString text = ToQString(control.Tabs[i]);
    if (int(i) >= bar.count()) bar.addTab(text);
    else if (bar.tabText(int(i)) != text) bar.setTabText(int(i), text);
  }
  while (bar.count() > int(control.Tabs.size())) bar.removeTab(bar.count() - 1);
  if (bar.currentIndex() != control.TabIndex) bar.setCurrentIndex(control.TabIndex);
}

void SyncValue(const TControl& control, QWidget& widget) {
  const QString caption = ToQString(control.Caption);
  switch (control.Kind) {
    case TControlKind::Label: {
      auto& label = static_cast<QLabel&>(widget);
      if (label.text() != caption) label.setText(caption);
      if (label.wordWrap() != As<TLabel>(control).WordWrap) label.setWordWrap(As<TLabel>(control).WordWrap);
      break;
    }
    case TControlKind::Button:
      if (static_cast<QPushButton&>(widget).text() != caption) static_cast<QPushButton&>(widget).setText(caption);
      break;
    case TControlKind::Edit: {
      auto& edit = static_cast<QLineEdit&>(widget);
      const QString text = ToQString(As<TEdit>(control).Text);
      if (edit.text() != text) edit.setText(text);
      break;
    }
    case TControlKind::CheckBox: {
      auto& box = static_cast<QCheckBox&>(widget);
      const QSignalBlocker quiet(box);
      box.setChecked(As<TCheckBox>(control).Checked);
      break;
    }
    case TControlKind::ComboBox:
      SyncItems(static_cast<QComboBox&>(widget), As<TComboBox>(control));
      break;
    case TControlKind::TabSet:
      SyncTabs(static_cast<QTabBar&>(widget), As<TTabSet>(control));
      break;
    case TControlKind::Image:
      static_cast<TImageWidget&>(widget).ShowResource(As<TImage>(control).PictureResource);
      break;
    default:
      break;
  }
}

}  // namespace

QWidget* CreateControlWidget(TControl& control, QWidget* parent, const TInput& input) {
  switch (control.Kind) {
    case TControlKind::Label:
      return new TLabelWidget(parent, [&control, input] { input([&] { As<TLabel>(control).Click(); }); });
    case TControlKind::Button: {
      auto* button = new QPushButton(parent);
      QObject::connect(button, &QPushButton::clicked, [&control, input] { input([&] { As<TButton>(control).Click(); }); });
      return button;
    }
    case TControlKind::Edit: {
      auto& edit = As<TEdit>(control);
      auto* widget = new TEditWidget(parent, [&edit, input](bool up) {
        input([&] { if (edit.Buddy) edit.Buddy->Step(up); });
      });
      QObject::connect(widget, &QLineEdit::textEdited,
                       [&edit, input](const QString& text) { input([&] { edit.SetText(text.toStdString()); }); });
      return widget;
    }
    case TControlKind::UpDown:
      return new TUpDownWidget(parent, [&control, input](bool up) { input([&] { As<TUpDown>(control).Step(up); }); });
    case TControlKind::CheckBox: {
      auto* box = new QCheckBox(parent);
      QObject::connect(box, &QCheckBox::clicked, [&control, input] { input([&] { As<TCheckBox>(control).Click(); }); });
      return box;
    }
    case TControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      QObject::connect(combo, &QComboBox::activated,
                       [&control, input](int index) { input([&] { As<TComboBox>(control).Select(index); }); });
      return combo;
    }
    case TControlKind::TabSet:
      return CreateTabBar(As<TTabSet>(control), parent, input);
    case TControlKind::Image:
      return new TImageWidget(parent);
    case TControlKind::Panel:
    case TControlKind::Form:
      break;
  }
  return new QWidget(parent);
}

void SyncControlWidget(const TControl& control, QWidget& widget) {
  const QRect bounds(control.Left, control.Top, control.Width, control.Height);
  if (widget.geometry() != bounds) widget.setGeometry(bounds);
  const QFont font = ToQFont(control.EffectiveFont());
  if (widget.font() != font) widget.setFont(font);
  const QPalette palette = PaletteOf(control, widget);
  if (widget.palette() != palette) widget.setPalette(palette);
  if (widget.autoFillBackground() != FillsBackground(control)) widget.setAutoFillBackground(FillsBackground(control));
  const Qt::FocusPolicy focus = control.TabStop ? Qt::StrongFocus : Qt::NoFocus;
  if (widget.focusPolicy() != focus) widget.setFocusPolicy(focus);
  const Qt::CursorShape cursor = control.Cursor == TCursor::HandPoint ? Qt::PointingHandCursor : Qt::ArrowCursor;
  if (widget.cursor().shape() != cursor) widget.setCursor(cursor);
  if (widget.testAttribute(Qt::WA_Disabled) == control.Enabled) widget.setEnabled(control.Enabled);
  SyncValue(control, widget);
  if (widget.isHidden() == control.Visible) widget.setVisible(control.Visible);
}
