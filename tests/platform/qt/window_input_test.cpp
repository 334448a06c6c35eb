// Real clicks on real widgets reach the video card's ramp; OK and Cancel end
// the session as they should.
#include <QLineEdit>

#include "platform/sim/sim_ramp_file.h"
#include "ramp/build_ramp.h"
#include "ramp/display_discovery.h"
#include "tests/platform/qt/gamma_refusing_proxy.h"
#include "tests/platform/qt/qt_window_fixture.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

constexpr int32_t GammaPage = 3;
constexpr int32_t AllControlsPage = 7;

TGammaRamp BuiltRamp(TRampCurve curve) {
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  return ramp;
}

class QtWindowInput : public QtWindowTest {
 protected:
  // The ramp of the first output's CRTC, read on the test's own connection.
  TGammaRamp CrtcRamp() {
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(x, DefaultRootWindow(x));
    XRROutputInfo* output = XRRGetOutputInfo(x, resources, resources->outputs[0]);
    XRRCrtcGamma* gamma = XRRGetCrtcGamma(x, output->crtc);
    EXPECT_EQ(gamma->size, 256);
    TGammaRamp crtc{};
    for (int level = 0; level < 256; ++level) {
      crtc[level] = gamma->red[level];
      crtc[256 + level] = gamma->green[level];
      crtc[512 + level] = gamma->blue[level];
    }
    XRRFreeGamma(gamma);
    XRRFreeOutputInfo(output);
    XRRFreeScreenResources(resources);
    return crtc;
  }

  // The controls whose widgets Tab visits, in the order of Qt's focus chain.
  std::vector<std::string> TabChain() {
    std::vector<std::string> names;
    for (QWidget* widget = window->nextInFocusChain(); widget != window.get(); widget = widget->nextInFocusChain())
      if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus))
        for (TControl* control : ControlTree(Form().Window))
          if (control != &Form().Window && window->WidgetOf(*control) == widget) names.push_back(control->Name);
    return names;
  }

  TGammaRamp SimRamp() {
    TGammaRamp ramp{};
    EXPECT_TRUE(ReadRampFile(SimFile("ramp1.txt"), ramp));
    return ramp;
  }
};

TEST_F(QtWindowInput, AnUpArrowClickLoadsTheRampAndCancelPutsTheOldOneBack) {
  TGammaRamp linear{};
  LinearRamp(linear);
  WriteBytes(SimFile("ramp1.txt"), RampFileText(linear));
  StartOnSimulatedDisplays({"Rect=0,0,1920,1080"});
  ClickTab(GammaPage);
  Click(Form().GammaRUpDown, 0.25);
  ASSERT_TRUE(Until([&] { return Form().GammaREdit.Text == "1"; }));
  ShowNow();
  EXPECT_EQ(static_cast<QLineEdit*>(window->WidgetOf(Form().GammaREdit))->text(), "1");
  TRampCurve curve;
  curve.GammaR = 1;
  EXPECT_EQ(SimRamp(), BuiltRamp(curve));

  Click(Form().CancelButton);
  ASSERT_TRUE(Until([&] { return window->Closed(); }));
  EXPECT_EQ(SimRamp(), linear);
  EXPECT_FALSE(window->isVisible());
}

// A page's widgets are made when it first shows: here the Gamma panel's
// before the other panels', all after the Welcome panel's. They still lie
// and take the focus in the order of the controls.
TEST_F(QtWindowInput, PagesShownLaterKeepTheTabOrderAndStackingOfTheControls) {
  StartOnSimulatedDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080"});
  ClickTab(GammaPage);
  ClickTab(AllControlsPage);
  ShowNow();
  // The model's order, which the layout tests spell out.
  std::vector<std::string> expected;
  for (const TControl* control : FocusOrder(Form().Window)) expected.push_back(control->Name);
  ASSERT_EQ(expected.size(), 31u);
  EXPECT_EQ(TabChain(), expected);
  const QObjectList& stack = window->children();
  EXPECT_LT(stack.indexOf(window->WidgetOf(Form().GammaPanel)), stack.indexOf(window->WidgetOf(Form().WelcomePanel)));
  EXPECT_LT(stack.indexOf(window->WidgetOf(Form().BlackPanel)), stack.indexOf(window->WidgetOf(Form().GammaPanel)));
}

TEST_F(QtWindowInput, OnXvfbsOwnCrtcTheRampFollowsAnEdit) {
  StartOnRandr();
  ClickTab(GammaPage);
  Click(Form().GammaUpDown, 0.25);
  ASSERT_TRUE(Until([&] { return Form().GammaEdit.Text == "1"; }));
  TRampCurve curve;
  curve.Gamma = 1;
  EXPECT_EQ(CrtcRamp(), BuiltRamp(curve));
  EXPECT_FALSE(Form().RampRefusedLabel.Visible);
}

// tonemark-window opens its displays before Qt opens its own connection,
// whose error handler then swallows every error in the process.
int SwallowError(Display*, XErrorEvent*) { return 0; }

TEST_F(QtWindowInput, ACrtcThatRefusesTheRampHasTheWindowSaySo) {
  TGammaRefusingProxy proxy(x);
  StartOnRandr(proxy.DisplayName().c_str());
  const XErrorHandler previous = XSetErrorHandler(SwallowError);
  const TGammaRamp before = CrtcRamp();
  ClickTab(GammaPage);
  Click(Form().GammaUpDown, 0.25);
  ASSERT_TRUE(Until([&] { return Form().GammaEdit.Text == "1"; }));
  EXPECT_TRUE(Form().RampRefusedLabel.Visible);
  ShowNow();
  EXPECT_TRUE(window->WidgetOf(Form().RampRefusedLabel)->isVisible());
  EXPECT_EQ(CrtcRamp(), before);
  // The displays' connection goes before the proxy does.
  Form().Close();
  window.reset();
  ReleaseDisplays();
  SetDisplaysPort(noDisplays);
  displays.reset();
  XSetErrorHandler(previous);
}

}  // namespace
