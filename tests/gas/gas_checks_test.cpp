#include "gas/gas_checks.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr SDisplayUnits kMetric = SDisplayUnits::Metric();
constexpr SDisplayUnits kImperial = SDisplayUnits::Imperial();

CGasSwitch Oc(double oxygen, double helium) {
  CGasSwitch s;
  s.Set(0, oxygen, helium, false, 0, true);
  return s;
}

CGasSwitch Cc(double oxygen, double helium, double setpoint) {
  CGasSwitch s;
  s.Set(0, oxygen, helium, true, setpoint, true);
  return s;
}

TEST(TableGasCheck, HypoxicAndHyperoxicAreErrors) {
  SGasCheck c = CheckTableGas(Oc(10, 70), 0, 0, 1.6, 35, kMetric);
  EXPECT_EQ(c.severity, kGasCheckError);
  EXPECT_EQ(c.text, "PPO2 of 0.10 is Hypoxic (0.16 limit) at 0 m (Fail)");

  c = CheckTableGas(Oc(50, 0), 30, 0, 1.6, 35, kMetric);
  EXPECT_EQ(c.severity, kGasCheckError);
  EXPECT_EQ(c.text, "PPO2 of 2.00 is Hyperoxic (1.60 limit) at 30 m (Fail)");

  EXPECT_EQ(CheckTableGas(Oc(50, 0), 22, 0, 1.6, 35, kMetric).severity, kGasCheckFine);
  EXPECT_EQ(CheckTableGas(Oc(10, 70), 6, 0, 1.6, 100, kMetric).severity, kGasCheckFine);  // 0.16 is breathable
}

TEST(TableGasCheck, OffsetMovesThePpo2ButNotTheNamedDepth) {
  // 1013 mbar at the surface adds 0.13 m: 50 % at 22 m reaches 1.61 bar.
  SGasCheck c = CheckTableGasPpo2(50, 22, 0.13, 1.6, kMetric);
  EXPECT_EQ(c.severity, kGasCheckError);
  EXPECT_EQ(c.text, "PPO2 of 1.61 is Hyperoxic (1.60 limit) at 22 m (Fail)");
  // At altitude (800 mbar, -2 m) a 10 % gas turns hypoxic at 6 m.
  EXPECT_EQ(CheckTableGasPpo2(10, 6, -2, 1.6, kMetric).severity, kGasCheckError);
}

TEST(TableGasCheck, Ppo2ComparedAtHundredthsOfABar) {
  // 32 % at 37 m is 1.504 bar: shown and compared as 1.50, not over a 1.50 limit.
  EXPECT_EQ(CheckTableGasPpo2(32, 37, 0, 1.5, kMetric).severity, kGasCheckFine);
  EXPECT_EQ(CheckTableGasPpo2(32, 38, 0, 1.5, kMetric).severity, kGasCheckError);
}

TEST(TableGasCheck, EadIsAWarningInTheUsersUnit) {
  SGasCheck c = CheckTableGas(Oc(21, 0), 50, 0, 1.6, 40, kMetric);
  EXPECT_EQ(c.severity, kGasCheckWarning);
  EXPECT_EQ(c.text, "EAD 50 m at depth 50 m for this gas exceeds the 40 m Max EAD limit (Warning)");
  EXPECT_EQ(CheckTableGas(Oc(21, 0), 50, 0, 1.6, 50, kMetric).severity, kGasCheckFine);

  c = CheckTableGas(Oc(21, 0), 50, 0, 1.6, 40, kImperial);
  EXPECT_EQ(c.text, "EAD 163 ft at depth 163 ft for this gas exceeds the 130 ft Max EAD limit (Warning)");
}

TEST(TableGasCheck, ClosedCircuitSkipsPpo2AndUsesSetpointForEad) {
  // A hypoxic diluent is fine on a loop held at 1.3 bar.
  EXPECT_EQ(CheckTableGas(Cc(10, 70, 1.3), 0, 0, 1.6, 35, kMetric).severity, kGasCheckFine);
  // Air diluent at 50 m on 1.3: N2 4.7 bar, EAD 49.5 m.
  SGasCheck c = CheckTableGas(Cc(21, 0, 1.3), 50, 0, 1.6, 40, kMetric);
  EXPECT_EQ(c.severity, kGasCheckWarning);
  EXPECT_EQ(c.text, "EAD 49 m at depth 50 m for this gas exceeds the 40 m Max EAD limit (Warning)");
  // An open-circuit gas with both faults reports the PPO2 first.
  EXPECT_EQ(CheckTableGas(Oc(21, 0), 80, 0, 1.6, 40, kMetric).severity, kGasCheckError);
}

TEST(GasEntryCheck, RefusesWithTheMessageToShow) {
  SGasEntryCheck c = CheckGasEntryValues(0, 10, 70, false, 0, 1.6, 35, kMetric);
  EXPECT_FALSE(c.accepted);
  EXPECT_EQ(c.message, "Hypoxic - PPO2 of 0.10 is below the 0.16 limit\n\nUnable to add or update the item");

  c = CheckGasEntryValues(30, 50, 0, false, 0, 1.6, 35, kMetric);
  EXPECT_EQ(c.message, "Hyperoxic - PPO2 of 2.00 is above the 1.60 limit\n\nUnable to add or update the item");

  EXPECT_TRUE(CheckGasEntryValues(100, 10, 70, true, 1.3, 1.4, 200, kMetric).accepted);

  c = CheckGasEntryValues(50, 21, 0, false, 0, 1.6, 40, kMetric);
  EXPECT_FALSE(c.accepted);
  EXPECT_EQ(c.icon, EIcon::Question);
  EXPECT_EQ(c.message,
            "EAD of 50 m for this gas exceeds the 40 m Max EAD limit\n\nUnable to add or update the item");
  EXPECT_TRUE(CheckGasEntryValues(50, 21, 0, false, 0, 1.6, 50, kMetric).accepted);

  c = CheckGasEntryValues(10, 60, 50, false, 0, 1.6, 35, kMetric);
  EXPECT_EQ(c.message, "The gas is invalid\n\nUnable to add or update the item");
}

TEST(GasEntryCheck, AValueAtItsLimitOnPaperPasses) {
  // 90 % at 1 m is 0.99 bar on paper and 0.9900000000000001 in doubles; the
  // entry check, the schedule checks and a calculated dive's warnings all
  // compare with the same tolerance, so none refuses what another accepts.
  EXPECT_TRUE(CheckGasEntryValues(1, 90, 0, false, 0, 0.99, 100, kMetric).accepted);
  EXPECT_FALSE(CheckGasEntryValues(1, 90, 0, false, 0, 0.98, 100, kMetric).accepted);
  EXPECT_TRUE(CheckGasEntryValues(0, 16, 0, false, 0, 1.6, 100, kMetric).accepted);
  EXPECT_EQ(CheckTableGasPpo2(90, 1, 0, 0.99, kMetric).severity, kGasCheckFine);
}

}  // namespace
}  // namespace kv
