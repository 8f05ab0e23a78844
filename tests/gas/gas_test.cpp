#include "gas/gas.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace kv {
namespace {

// The gas a typed text gives, as "oxygen/helium" or "invalid".
std::string Typed(const char* text) {
  CGas g;
  if (!g.Parse(text)) return "invalid";
  return g.Format(true);
}

std::string Named(const char* text) {
  CGas g;
  g.Parse(text);
  return g.Format(false);
}

TEST(GasParse, NamedGasesIgnoreCaseButNotBlanks) {
  EXPECT_EQ(Typed("Air"), "21/0");
  EXPECT_EQ(Typed("AIR"), "21/0");
  EXPECT_EQ(Named("air"), "Air");
  EXPECT_EQ(Typed(" air"), "invalid");
  EXPECT_EQ(Typed("air "), "invalid");
  EXPECT_EQ(Named("oxygen"), "Oxygen");
  EXPECT_EQ(Named("100%"), "Oxygen");
  EXPECT_EQ(Named("100/0"), "Oxygen");
  EXPECT_EQ(Typed(""), "invalid");
}

TEST(GasParse, NitroxLimits) {
  EXPECT_EQ(Typed("4%"), "invalid");
  EXPECT_EQ(Typed("5%"), "5/0");
  EXPECT_EQ(Typed("101%"), "invalid");
  for (const char* text : {"32% Nx", "32% Nitrox", "32% N", "32%", "32/0", " 32%"})
    EXPECT_EQ(Named(text), "32% Nitrox") << text;
  EXPECT_EQ(Typed("32.4%"), "32/0");
  EXPECT_EQ(Typed("32.5%"), "33/0");
  EXPECT_EQ(Typed("32% 18/45"), "32/0");  // everything after the "%" is ignored
}

TEST(GasParse, TrimixLimits) {
  EXPECT_EQ(Typed("10/90"), "10/90");
  EXPECT_EQ(Typed("10/91"), "invalid");
  EXPECT_EQ(Typed("1/99"), "invalid");
  EXPECT_EQ(Typed("5/100"), "invalid");
  EXPECT_EQ(Typed("30/-5"), "invalid");
  EXPECT_EQ(Typed("18/"), "invalid");
  EXPECT_EQ(Typed("/45"), "invalid");
  EXPECT_EQ(Named("13/59"), "13/59");
  EXPECT_EQ(Typed("6/70"), "6/70");
}

TEST(GasParse, TextsThatAreNoGas) {
  EXPECT_EQ(Typed("32"), "invalid");
  EXPECT_EQ(Typed("nitrox"), "invalid");
  EXPECT_EQ(Typed("%"), "invalid");
  EXPECT_EQ(Typed("nan%"), "invalid");
  EXPECT_EQ(Typed("1e999%"), "invalid");
}

TEST(GasParse, FailureKeepsPercentagesAndClearsValid) {
  CGas g;
  ASSERT_TRUE(g.Parse("18/45"));
  EXPECT_FALSE(g.Parse("10/91"));
  EXPECT_FALSE(g.IsValid());
  EXPECT_EQ(g.Oxygen(), 18);
  EXPECT_EQ(g.Helium(), 45);
  EXPECT_EQ(g.Format(true), "");
  EXPECT_EQ(g.Format(false), "Invalid");
}

TEST(GasMix, SetMixLimits) {
  CGas g;
  EXPECT_FALSE(CGas().IsValid());
  EXPECT_TRUE(g.SetMix(18, 45));
  EXPECT_DOUBLE_EQ(g.Nitrogen(), 37);
  EXPECT_FALSE(g.SetMix(4.9, 0));
  EXPECT_FALSE(g.SetMix(50, 51));
  EXPECT_FALSE(g.SetMix(5, 99.5));
  EXPECT_EQ(g.Oxygen(), 18);
  EXPECT_FALSE(g.IsValid());
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(g.SetMix(50, -inf));
  EXPECT_FALSE(g.SetMix(std::nan(""), 0));
  // The single setters store without limits, as stored values are trusted.
  g.SetOxygen(0);
  g.SetHelium(100);
  EXPECT_TRUE(g.IsValid());
  EXPECT_EQ(g.Format(false), "Helium");
  EXPECT_DOUBLE_EQ(g.Nitrogen(), 0);
}

TEST(GasMix, NamesTruncateStoredFractions) {
  CGas g;
  g.SetMix(21.4, 0);
  EXPECT_EQ(g.Format(false), "21% Nitrox");
  EXPECT_EQ(g.Format(true), "21/0");
  g.SetMix(32.7, 0.9);  // helium under 1 % names a nitrox
  EXPECT_EQ(g.Format(false), "32% Nitrox");
  g.SetMix(99.5, 0);
  EXPECT_EQ(g.Format(false), "99% Nitrox");
  g.SetMix(18.9, 45.6);
  EXPECT_EQ(g.Format(false), "18/45");
  CGas a, b;
  a.SetMix(32.2, 0);
  b.SetMix(32.8, 0);
  EXPECT_TRUE(a.SameGas(b));
  b.SetMix(33, 0);
  EXPECT_FALSE(a.SameGas(b));
  EXPECT_EQ(GasName(21, 0), "Air");
  EXPECT_EQ(GasName(3, 0), "Invalid");
}

TEST(GasFormulas, OpenCircuit) {
  EXPECT_DOUBLE_EQ(OcPpo2(32, 30), 1.28);
  EXPECT_DOUBLE_EQ(OcPpo2(10, 0), 0.1);
  EXPECT_DOUBLE_EQ(InspiredN2(21, 0, 30, 1.3, false), 4 * 0.79);  // setpoint ignored
  EXPECT_NEAR(Ead(21, 0, 50, 0, false), 50, 1e-9);
  EXPECT_NEAR(Ead(32, 0, 30, 0, false), (4 * 0.68 / 0.79 - 1) * 10, 1e-9);
  EXPECT_NEAR(Ead(18, 45, 0, 0, false), (0.37 / 0.79 - 1) * 10, 1e-9);
}

TEST(GasFormulas, ClosedCircuitSharesTheInertPart) {
  // 21/35 diluent on 1.3 bar at 40 m: N2 is 44 of the 79 inert parts of 3.7 bar.
  EXPECT_NEAR(InspiredN2(21, 35, 40, 1.3, true), 44.0 / 79.0 * 3.7, 1e-12);
  EXPECT_NEAR(Ead(21, 0, 50, 1.3, true), (4.7 / 0.79 - 1) * 10, 1e-9);
  // A pure oxygen diluent has no inert part: no nitrogen, EAD of the surface
  // minus the 1 bar of air, never NaN.
  EXPECT_EQ(InspiredN2(100, 0, 6, 1.3, true), 0.0);
  EXPECT_DOUBLE_EQ(Ead(100, 0, 6, 1.3, true), -10.0);
  EXPECT_FALSE(std::isnan(Ead(100, 0, 0, 0.7, true)));
}

}  // namespace
}  // namespace kv
