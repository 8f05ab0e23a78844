#include <gtest/gtest.h>

#include <cmath>

#include "engine_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

using test::MakeDive;
using test::SRow;

using FakeOwner = test::CFakeOwner;

TEST(TissueConstants, AlgorithmChoosesNitrogenAOnly) {
  FakeOwner owner;
  CDivePlan d(&owner);
  owner.algorithm = 0;
  d.SetConstants();
  EXPECT_DOUBLE_EQ(d.AN()[4], 666.7);
  owner.algorithm = 1;
  d.SetConstants();
  EXPECT_DOUBLE_EQ(d.AN()[4], 620.0);
  EXPECT_DOUBLE_EQ(d.AN()[0], 1259.9);
  EXPECT_DOUBLE_EQ(d.AN()[15], 232.7);
  // Any other value keeps whatever the table held.
  owner.algorithm = 7;
  d.SetConstants();
  EXPECT_DOUBLE_EQ(d.AN()[4], 620.0);
}

TEST(StartingState, SurfaceValuesAt1000Mbar) {
  test::CTestEnvironment env;
  auto d = MakeDive({{0, 0, 21, 0}});
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  const CPredictionPoint* p0 = d->Prediction(0);
  ASSERT_NE(p0, nullptr);
  for (double n : p0->m_nitrogen) EXPECT_NEAR(n, 745.207, 1e-9);
  for (double h : p0->m_helium) EXPECT_EQ(h, 0.0);
  // Max ceiling starts at 1600 mbar absolute whatever the surface pressure.
  EXPECT_DOUBLE_EQ(p0->m_maxCeiling, 600.0);
}

struct SEndState {
  std::array<double, 16> n2{}, he{};
  double cns = 0, otu = 0;
};

SEndState TrimixEndState() {
  auto d = MakeDive({{50, 20, 18, 45}, {21, 0, 50, 0}, {6, 0, 100, 0}});
  EXPECT_TRUE(test::CalculateFromSurface(*d));
  const CPredictionPoint* last = d->LastPrediction();
  SEndState s;
  s.n2 = last->m_nitrogen;
  s.he = last->m_helium;
  s.cns = last->m_cns;
  s.otu = last->m_otu;
  return s;
}

TEST(StartingState, DelayedDesaturationIgnoresLessThanAMinute) {
  test::CTestEnvironment env;
  SEndState prev = TrimixEndState();
  FakeOwner owner;
  owner.siAlgorithm = 0;
  CDivePlan next(&owner, 1);
  next.AppendUserPoint(test::MakePoint({0, 0, 21, 0}));
  next.m_pPlanGroup = nullptr;  // keep SetState out of the way
  next.SetSurfaceInterval(59);
  next.m_pPlanGroup = &owner;
  ASSERT_TRUE(next.Calculate(1, prev.n2.data(), prev.he.data(), prev.cns, prev.otu, false));
  const CPredictionPoint* p0 = next.Prediction(0);
  for (int i = 0; i < 16; ++i) {
    EXPECT_DOUBLE_EQ(p0->m_nitrogen[static_cast<std::size_t>(i)], prev.n2[static_cast<std::size_t>(i)]);
    EXPECT_DOUBLE_EQ(p0->m_helium[static_cast<std::size_t>(i)], prev.he[static_cast<std::size_t>(i)]);
  }
}

TEST(StartingState, SurfaceIntervalMethodsOffGasAndDecayOxygen) {
  test::CTestEnvironment env;
  SEndState prev = TrimixEndState();
  prev.cns = 0.8;
  prev.otu = 100.0;
  FakeOwner owner;
  for (int method : {0, 1}) {
    SCOPED_TRACE(method);
    owner.siAlgorithm = method;
    CDivePlan next(nullptr, 1);
    next.AppendUserPoint(test::MakePoint({0, 0, 21, 0}));
    next.SetSurfaceInterval(5400);
    next.SetOwner(&owner);
    ASSERT_TRUE(next.Calculate(1, prev.n2.data(), prev.he.data(), prev.cns, prev.otu, false));
    const CPredictionPoint* p0 = next.Prediction(0);
    // 90 minutes halve the CNS; OTU loses 300 per day.
    EXPECT_NEAR(p0->m_cns, 0.4, 1e-12);
    EXPECT_NEAR(p0->m_otu, 100.0 - 5400.0 / 86400.0 * 300.0, 1e-9);
    const double surfaceN2 = (1000.0 - 56.7) * 0.79;
    for (int i = 0; i < 16; ++i) {
      auto k = static_cast<std::size_t>(i);
      EXPECT_LT(p0->m_helium[k], prev.he[k]);
      // Supersaturated nitrogen comes down towards the surface value, never past it.
      if (prev.n2[k] > surfaceN2) {
        EXPECT_LT(p0->m_nitrogen[k], prev.n2[k]);
        EXPECT_GE(p0->m_nitrogen[k], surfaceN2 - 1e-9);
      }
    }
    if (method == 1) {
      // Plain exponential off-gassing of the fastest helium compartment.
      EXPECT_NEAR(p0->m_helium[0], prev.he[0] * std::pow(2.0, -5400.0 / (1.51 * 60.0)), 1e-9);
    }
  }
}

TEST(StartingState, OxygenNeverDecaysBelowZero) {
  test::CTestEnvironment env;
  SEndState prev = TrimixEndState();
  CDivePlan next(nullptr, 1);
  next.AppendUserPoint(test::MakePoint({0, 0, 21, 0}));
  next.SetSurfaceInterval(86400 * 2);
  ASSERT_TRUE(next.Calculate(1, prev.n2.data(), prev.he.data(), 0.5, 250.0, false));
  EXPECT_EQ(next.Prediction(0)->m_otu, 0.0);
  EXPECT_GE(next.Prediction(0)->m_cns, 0.0);
}

TEST(GradientFactor, ConstantWhenLowEqualsHigh) {
  test::CTestEnvironment env;
  auto d = MakeDive({{45, 25, 21, 0}}, 50, 50);
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  for (int t = 0; t < d->PredictionCount(); t += 97) EXPECT_DOUBLE_EQ(d->Prediction(t)->m_gradientFactor, 0.5);
}

TEST(GradientFactor, StaysSaneWhenTheSurfaceLiftsTheLastStopAboveTheStartingMaxCeiling) {
  // With 1013 mbar and a 6 m last stop the GF line's span is negative until a
  // ceiling deeper than 6.13 m appears; GF high applies there.
  test::CTestEnvironment env;
  auto d = MakeDive({{21, 30, 32, 0}}, 30, 85);
  d->SetSurfacePressure(1013);
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  for (int t = 0; t < d->PredictionCount(); ++t) {
    const double g = d->Prediction(t)->m_gradientFactor;
    ASSERT_TRUE(g >= 0.30 - 1e-12 && g <= 2.0) << "second " << t << " gf " << g;
  }
}

TEST(GradientFactor, LowAtDepthAndAboveHighNearTheSurface) {
  test::CTestEnvironment env;
  auto d = MakeDive({{45, 30, 21, 0}}, 30, 70);
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  // At the bottom the diver is deeper than any ceiling: GF low.
  EXPECT_DOUBLE_EQ(d->Prediction(1000)->m_gradientFactor, 0.30);
  // During the final ascent from the 6 m stop the line continues past GF high.
  const int last = d->PredictionCount() - 1;
  bool sawAboveHigh = false;
  for (int t = last - 30; t <= last; ++t)
    if (d->Prediction(t)->m_ceiling >= 0 && d->Prediction(t)->m_gradientFactor > 0.70) sawAboveHigh = true;
  const CPredictionPoint* p = d->Prediction(last - 5);
  EXPECT_TRUE(sawAboveHigh || p->m_ceiling < 0);
}

TEST(Ceiling, NeverNanForPureOxygenDiluentOrZeroSurface) {
  test::CTestEnvironment env;
  auto d = MakeDive({{6, 30, 100, 0, true, 1.3}});
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  for (int t = 0; t < d->PredictionCount(); ++t) {
    ASSERT_FALSE(std::isnan(d->Prediction(t)->m_ceiling));
    ASSERT_FALSE(std::isnan(d->Prediction(t)->m_ead));
  }
  auto z = MakeDive({{20, 10, 21, 0}});
  z->SetSurfacePressure(0);
  test::CalculateFromSurface(*z);
  for (int t = 0; t < z->PredictionCount(); ++t) ASSERT_FALSE(std::isnan(z->Prediction(t)->m_ceiling));
}

}  // namespace
}  // namespace kv
