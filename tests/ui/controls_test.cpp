#include "ui/controls.h"

#include <gtest/gtest.h>

namespace {

struct EditWithUpDown {
  TControl form{TControlKind::Form, "Form", nullptr};
  TEdit edit{"Edit", &form};
  TUpDown upDown{"UpDown", &form, edit};
  int changes = 0;

  EditWithUpDown(int16_t min, int16_t max) {
    upDown.Min = min;
    upDown.Max = max;
    edit.OnChange = [this] { ++changes; };
  }
};

TEST(UpDown, APositionChangeRewritesTheEditAndRaisesItsChangeOnce) {
  EditWithUpDown control(-100, 100);
  control.upDown.SetPosition(-7);
  EXPECT_EQ(control.edit.Text, "-7");
  EXPECT_EQ(control.upDown.Position, -7);
  EXPECT_EQ(control.changes, 1);
  control.upDown.SetPosition(-7);
  EXPECT_EQ(control.changes, 1);
}

TEST(UpDown, PositionsKeepTheirLow16BitsAndStayWithinTheRange) {
  EditWithUpDown control(-100, 100);
  control.upDown.SetPosition(250);
  EXPECT_EQ(control.upDown.Position, 100);
  control.upDown.SetPosition(-250);
  EXPECT_EQ(control.upDown.Position, -100);
  control.upDown.SetPosition(65536 + 42);  // low word 42
  EXPECT_EQ(control.upDown.Position, 42);
  control.upDown.SetPosition(65535);  // low word -1
  EXPECT_EQ(control.upDown.Position, -1);
  EXPECT_EQ(control.edit.Text, "-1");
}

TEST(UpDown, ArrowsStepByOneWithoutWrapping) {
  EditWithUpDown control(0, 255);
  control.upDown.Step(false);
  EXPECT_EQ(control.upDown.Position, 0);
  EXPECT_EQ(control.changes, 0);
  control.upDown.SetPosition(254);
  control.upDown.Step(true);
  control.upDown.Step(true);
  EXPECT_EQ(control.upDown.Position, 255);
  EXPECT_EQ(control.edit.Text, "255");
  EXPECT_EQ(control.changes, 2);
}

TEST(UpDown, TypedTextBecomesThePositionBeforeTheChangeEventRuns) {
  EditWithUpDown control(-100, 100);
  int16_t seen = 0;
  control.edit.OnChange = [&] { seen = control.upDown.Position; };
  control.edit.SetText("37");
  EXPECT_EQ(seen, 37);
  control.edit.SetText(" 500 ");
  EXPECT_EQ(seen, 100);
  EXPECT_EQ(control.edit.Text, " 500 ");
  control.edit.SetText("twelve");
  EXPECT_EQ(seen, 100);
  control.edit.SetText("+3");
  EXPECT_EQ(seen, 3);
  control.edit.SetText("-99999999999999999999");
  EXPECT_EQ(seen, 3);
}

TEST(CheckBox, AStateSetByTheProgramRaisesTheClickOnlyWhenItChanges) {
  TControl form{TControlKind::Form, "Form", nullptr};
  TCheckBox box{"Box", &form};
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  box.Click();
  EXPECT_FALSE(box.Checked);
  EXPECT_EQ(clicks, 2);
  box.Enabled = false;
  box.Click();
  EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, AnIndexSetByTheProgramRaisesNothingAndOutOfRangeSelectsNothing) {
  TControl form{TControlKind::Form, "Form", nullptr};
  TComboBox combo{"Combo", &form};
  int changes = 0;
  combo.OnChange = [&] { ++changes; };
  combo.Items = {"one", "two"};
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.Text(), "two");
  combo.SetItemIndex(2);
  EXPECT_EQ(combo.ItemIndex, -1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(changes, 0);
  combo.Select(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo.Text(), "one");
}

TEST(TabSet, ChangesAskFirstAndWrapRound) {
  TControl form{TControlKind::Form, "Form", nullptr};
  TTabSet tabs{"Tabs", &form};
  tabs.Tabs = {"a", "b", "c"};
  std::vector<int32_t> asked;
  bool allow = true;
  tabs.OnChange = [&](int32_t newTab, bool& allowChange) {
    asked.push_back(newTab);
    allowChange = allow;
  };
  tabs.SelectNext(false);
  EXPECT_EQ(tabs.TabIndex, 2);
  tabs.SelectNext(true);
  EXPECT_EQ(tabs.TabIndex, 0);
  allow = false;
  tabs.SetTabIndex(1);
  EXPECT_EQ(tabs.TabIndex, 0);
  tabs.SetTabIndex(0);  // the tab shown: no question
  tabs.SetTabIndex(3);  // no such tab
  EXPECT_EQ(asked, (std::vector<int32_t>{2, 0, 1}));
}

TEST(Controls, FontsAndColoursFollowTheParentUntilTheyAreTheirOwn) {
  TControl form{TControlKind::Form, "Form", nullptr};
  form.Font.Height = -16;
  form.Color = Grey(56);
  TPanel panel{"Panel", &form};
  panel.ParentColor = true;
  TLabel label{"Label", &panel, nullptr};
  EXPECT_EQ(label.EffectiveFont().Height, -16);
  EXPECT_EQ(panel.EffectiveColor(), Grey(56));
  label.OwnFont();
  form.Font.Height = -20;
  EXPECT_EQ(label.EffectiveFont().Height, -16);
  panel.Left = 10;
  label.Left = 5;
  EXPECT_EQ(label.WindowLeft(), 15);
  panel.Visible = false;
  EXPECT_FALSE(label.Showing());
  EXPECT_EQ(ControlTree(form), (std::vector<TControl*>{&form, &panel, &label}));
}

}  // namespace
