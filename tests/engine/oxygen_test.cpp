#include <gtest/gtest.h>

#include <cmath>

#include "engine/dive_plan.h"

namespace kv {
namespace {

TEST(CnsIncrement, FollowsTheSingleExposureTable) {
  EXPECT_EQ(CDivePlan::CnsIncrement(0.49, 1), 0.0);
  EXPECT_DOUBLE_EQ(CDivePlan::CnsIncrement(0.55, 1), 1.0 / 43200.0);
  EXPECT_DOUBLE_EQ(CDivePlan::CnsIncrement(0.6, 1), 1.0 / 43200.0);
  // Between the 1.4 (150 min) and 1.5 bar (120 min) rows.
  EXPECT_NEAR(CDivePlan::CnsIncrement(1.45, 60), 1.0 / 135.0, 1e-12);
  // A PPO2 equal to a row takes that row's limit.
  EXPECT_NEAR(CDivePlan::CnsIncrement(1.6, 60), 1.0 / 45.0, 1e-12);
  EXPECT_DOUBLE_EQ(CDivePlan::CnsIncrement(2.5, 1), 1.0 / (0.645161 * 60.0));
  EXPECT_DOUBLE_EQ(CDivePlan::CnsIncrement(1.9, 1), 1.0 / (0.645161 * 60.0));
}

TEST(OtuIncrement, IsZeroUpToHalfABarAndFiniteJustAbove) {
  EXPECT_EQ(CDivePlan::OtuIncrement(0.3, 60), 0.0);
  EXPECT_EQ(CDivePlan::OtuIncrement(0.5, 60), 0.0);
  EXPECT_TRUE(std::isfinite(CDivePlan::OtuIncrement(0.5000001, 60)));
  // One minute at 1.0 bar is one unit.
  EXPECT_NEAR(CDivePlan::OtuIncrement(1.0, 60), 1.0, 1e-12);
  EXPECT_NEAR(CDivePlan::OtuIncrement(1.4, 60), std::pow(0.9 / 0.5, 5.0 / 6.0), 1e-9);
}

}  // namespace
}  // namespace kv
