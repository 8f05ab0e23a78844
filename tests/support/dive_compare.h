#pragma once
// Whether two calculations of a dive gave the same result, field by field:
// the check that work spread over threads gives exactly what the sequential
// run gives. Header-only, for test programs that link the engine.

#include <gtest/gtest.h>

#include <string>

#include "engine/dive_plan.h"

namespace kv::test {

inline std::string DescribePrediction(const CPredictionPoint& p) {
  std::string s = "t=" + std::to_string(p.m_time) + " ceiling=" + std::to_string(p.m_ceiling) +
                  " cns=" + std::to_string(p.m_cns) + " otu=" + std::to_string(p.m_otu) +
                  " n2[0]=" + std::to_string(p.m_nitrogen[0]) + " he[0]=" + std::to_string(p.m_helium[0]);
  return s;
}

// Every profile point, every prediction point (tissues, ceilings, CNS, OTU,
// warnings), every segment, the gas warnings, the open-circuit consumption
// and the status of the calculation. Reports the first differing second only.
inline void ExpectSameCalculation(const CDivePlan& expected, const CDivePlan& actual) {
  EXPECT_EQ(actual.IsCalculationCompleted(), expected.IsCalculationCompleted());
  EXPECT_EQ(actual.IsTimeLimitExceeded(), expected.IsTimeLimitExceeded());
  EXPECT_EQ(actual.IsExtendedPlanningUsed(), expected.IsExtendedPlanningUsed());
  EXPECT_EQ(actual.PredictionCheckPassed(), expected.PredictionCheckPassed());
  EXPECT_EQ(actual.GetTimeStamp(), expected.GetTimeStamp());
  EXPECT_EQ(actual.GetNumberOfGasSwitchesUsed(), expected.GetNumberOfGasSwitchesUsed());
  EXPECT_EQ(actual.PlanPlusPoints(), expected.PlanPlusPoints());
  EXPECT_EQ(actual.ProfilePoints(), expected.ProfilePoints());
  EXPECT_EQ(actual.Segments(), expected.Segments());

  ASSERT_EQ(actual.PredictionCount(), expected.PredictionCount());
  for (int t = 0; t < expected.PredictionCount(); ++t) {
    if (!(*actual.Prediction(t) == *expected.Prediction(t))) {
      ADD_FAILURE() << "first differing second " << t << "\n  expected " << DescribePrediction(*expected.Prediction(t))
                    << "\n  actual   " << DescribePrediction(*actual.Prediction(t));
      break;
    }
  }

  ASSERT_EQ(actual.GasWarnings().size(), expected.GasWarnings().size());
  for (int i = 0; i < static_cast<int>(expected.GasWarnings().size()); ++i)
    EXPECT_EQ(actual.GasWarningText(i), expected.GasWarningText(i)) << "gas warning " << i;
  EXPECT_EQ(actual.AnyConsumption(), expected.AnyConsumption());
  for (int i = 0; i < CDivePlan::kMaxGases; ++i) {
    const SGasConsumption& a = actual.GasConsumption()[static_cast<std::size_t>(i)];
    const SGasConsumption& e = expected.GasConsumption()[static_cast<std::size_t>(i)];
    EXPECT_EQ(a.m_gas.Format(false), e.m_gas.Format(false)) << "consumption " << i;
    EXPECT_EQ(a.m_volume, e.m_volume) << "consumption " << i;
    EXPECT_EQ(a.m_time, e.m_time) << "consumption " << i;
  }
}

}  // namespace kv::test
