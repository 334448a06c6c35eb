// The bar's notice in the real window at every size the window supports,
// with the longest reason in the longest language: Qt's own label holds the
// whole text in its row, and the row lies inside the window on the bar.
#include <QLabel>
#include <algorithm>
#include <filesystem>

#include "lang/multilang.h"
#include "platform/qt/qt_terms.h"
#include "tests/platform/qt/qt_window_fixture.h"
#include "tests/platform/sim/hdr_sim_displays.h"

namespace {

struct TSupportedSize {
  const char* Monitor;
  const char* Name;
};

class QtWindowNotice : public QtWindowTest, public testing::WithParamInterface<TSupportedSize> {};

TEST_P(QtWindowNotice, QtsLabelHoldsTheWholeReasonInARowOnTheBar) {
  std::filesystem::copy_file(std::string(std::getenv("TONEMARK_SOURCE_DIR")) +
                                 "/resources/Tonemark.languages/Spanish.lang",
                             program.Path() / "Tonemark.languages" / "Spanish.lang");
  CurrentLanguage = "Spanish";
  DescribeSimulatedDisplays({std::string(GetParam().Monitor) + "\nFail=live"});
  displays = std::make_unique<THdrSimDisplays>(sim.Path(), false);
  StartWindow();
  ShowNow();

  auto* label = qobject_cast<QLabel*>(window->WidgetOf(Form().RampRefusedLabel));
  QWidget* row = window->WidgetOf(Form().NoticePanel);
  ASSERT_NE(label, nullptr);
  ASSERT_NE(row, nullptr);
  ASSERT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), ToQString(Form().RampRefusedLabel.Caption));
  EXPECT_EQ(label->text().size(), 236);
  EXPECT_GE(label->height(), label->heightForWidth(label->width()));
  EXPECT_TRUE(row->rect().contains(label->geometry()));
  EXPECT_TRUE(window->rect().contains(row->geometry()));
  EXPECT_EQ(row->geometry().bottom() + 1, window->WidgetOf(Form().Panel)->geometry().top());
  // Nothing lies over it: a page's panel that reaches down to the bar lies below.
  const QObjectList& stack = window->children();
  for (const QObject* child : stack) {
    const auto* sibling = qobject_cast<const QWidget*>(child);
    if (sibling != nullptr && sibling != row && sibling->isVisible() && sibling->geometry().intersects(row->geometry()))
      EXPECT_LT(stack.indexOf(sibling), stack.indexOf(row)) << sibling->geometry().top();
  }

  if (const char* shots = std::getenv("TONEMARK_SCREENSHOTS")) {
    std::string error;
    EXPECT_TRUE(WritePng(std::string(shots) + "/notice-" + GetParam().Name + ".png", WindowPixels(), error)) << error;
  }
}

INSTANTIATE_TEST_SUITE_P(SupportedSizes, QtWindowNotice,
                         testing::Values(TSupportedSize{"Rect=0,0,1024,768", "1024x768-96"},
                                         TSupportedSize{"Rect=0,0,1280,720", "1280x720-96"},
                                         TSupportedSize{"Rect=0,0,1280,1024\nDpi=120", "1280x1024-120"},
                                         TSupportedSize{"Rect=0,0,1920,1080\nDpi=144", "1920x1080-144"},
                                         // The Welcome page reaches down over the bar here.
                                         TSupportedSize{"Rect=0,0,800,600\nDpi=144", "800x600-144"}),
                         [](const testing::TestParamInfo<TSupportedSize>& info) {
                           std::string name = info.param.Name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
