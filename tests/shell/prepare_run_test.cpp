#include "shell/prepare_run.h"

#include <gtest/gtest.h>

namespace {

TEST(RunModeOf, OnlyTheWholeFirstArgumentChoosesLoadOrUninstall) {
  EXPECT_EQ(RunModeOf({"tonemark", "/load"}), TRunMode::Load);
  EXPECT_EQ(RunModeOf({"tonemark", "/load", "more"}), TRunMode::Load);
  EXPECT_EQ(RunModeOf({"tonemark", "/uninstall"}), TRunMode::Uninstall);
  EXPECT_EQ(RunModeOf({"tonemark", "/LOAD"}), TRunMode::Normal);
  EXPECT_EQ(RunModeOf({"tonemark", "-load"}), TRunMode::Normal);
  EXPECT_EQ(RunModeOf({"tonemark", "/load "}), TRunMode::Normal);
  EXPECT_EQ(RunModeOf({"tonemark", "other", "/load"}), TRunMode::Normal);
  EXPECT_EQ(RunModeOf({"tonemark"}), TRunMode::Normal);
  EXPECT_EQ(RunModeOf({}), TRunMode::Normal);
}

}  // namespace
