#include <gtest/gtest.h>

#include "base/text.h"

#include "engine_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

TEST(GasConsumption, OneMinuteOfNitroxAtThirtyMetres) {
  test::CTestEnvironment env;
  // Surface at 1013 mbar, stay at 30 m (the descent counts: 30 m at 20 m/min
  // is 90 s, then 60 s at depth).
  auto d = test::MakeDive({{30, 2.5, 32, 0}});
  d->SetSurfacePressure(1013);
  d->SetSacRate(20);
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  // Sum the seconds at 30 m only through the records' own arithmetic: total
  // litres = sum over seconds of (P + 1013) / 1000 x 20 / 60.
  double expected = 0;
  for (int t = 1; t < d->PredictionCount(); ++t)
    expected += (d->Prediction(t)->m_depthPressure + 1013.0) / 1000.0 * 20.0 / 60.0;
  const SGasConsumption& c = d->GasConsumption()[0];
  EXPECT_EQ(c.m_gas.Format(), "32% Nitrox");
  EXPECT_NEAR(c.m_volume, expected, 1e-6);
  EXPECT_EQ(c.m_time, d->GetRunTime());
  // The minute at depth alone: 60 x 4.013 x 20 / 60 = 80.26 l.
  double atDepth = 0;
  for (int t = 91; t <= 150; ++t) atDepth += (d->Prediction(t)->m_depthPressure + 1013.0) / 1000.0 * 20.0 / 60.0;
  EXPECT_NEAR(atDepth, 80.26, 1e-9);
  EXPECT_TRUE(d->AnyConsumption());
  EXPECT_TRUE(d->DiveSacUsed());
  EXPECT_FALSE(d->BailoutSacUsed());
}

TEST(GasConsumption, MixesWithTheSameNameShareARecord) {
  test::CTestEnvironment env;
  auto d = test::MakeDive({{20, 10, 32.2, 0}, {20, 10, 32.8, 0}});
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  int used = 0;
  for (const auto& c : d->GasConsumption()) used += c.m_gas.IsValid();
  EXPECT_EQ(used, 1);
  EXPECT_EQ(d->GasConsumption()[0].m_time, d->GetRunTime());
}

TEST(GasConsumption, ClosedCircuitWithoutBailoutConsumesNothing) {
  test::CTestEnvironment env;
  auto d = test::MakeDive({{30, 20, 21, 0, true, 1.2}});
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  EXPECT_FALSE(d->AnyConsumption());
  EXPECT_EQ(d->GasConsumptionRow(0, SDisplayUnits::Metric()), "");
}

TEST(GasConsumption, TableRowAddsReserveAndCylinderSize) {
  test::CTestEnvironment env;
  test::CFakeOwner owner;
  owner.gasReserve = 50;
  owner.workingPressure = 200;
  auto d = test::MakeDive({{10, 2, 32, 0}});
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  d->SetOwner(&owner);
  const double v = d->GasConsumption()[0].m_volume * 1.5;
  const SDisplayUnits metric = SDisplayUnits::Metric(), imperial = SDisplayUnits::Imperial();
  EXPECT_EQ(d->GasConsumptionRow(0, metric), "32% Nitrox~" + Format("%0.0f", v) + "~" + Format("%0.1f", v / 200));
  EXPECT_EQ(d->GasConsumptionRow(0, imperial),
            "32% Nitrox~" + Format("%0.1f", v * 0.03531467) + "~" + Format("%0.1f", v * 0.03531467));
  EXPECT_EQ(d->GasConsumptionRow(12, metric), "");
  EXPECT_EQ(d->GasConsumptionRow(5, metric), "");
}

}  // namespace
}  // namespace kv
