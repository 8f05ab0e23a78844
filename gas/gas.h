#pragma once
// A breathing gas as oxygen and helium percentages, its typed-entry parser, its
// names, and the gas formulas shared by the checks, the engine and bailout.

#include <string>
#include <string_view>

namespace kv {

inline constexpr double kMinPpo2 = 0.16;  // bar; below it a gas is hypoxic
// A dive carries at most 12 gases: the bailout gas list the planner uses, the
// switches of a schedule, the consumption records of a dive.
inline constexpr int kMaxGases = 12;

class CGas {
public:
  CGas() = default;
  CGas(const CGas&) = default;
  CGas& operator=(const CGas&) = default;
  virtual ~CGas() = default;

  // Rejects (keeping the percentages, valid = false) when oxygen + helium > 100,
  // oxygen < 5 or helium > 99.
  bool SetMix(double oxygen, double helium);
  void SetOxygen(double oxygen);
  void SetHelium(double helium);
  // Reads "Air", "Oxygen", "32%", "32% Nitrox", "18/45" ... (see the .cpp).
  bool Parse(std::string_view text);
  // Long form ("Air", "Oxygen", "32% Nitrox", "18/45", "Helium", "Invalid") or
  // short form ("21/0", empty for an invalid gas).
  std::string Format(bool shortForm = false) const;

  double Oxygen() const { return m_oxygen; }
  double Helium() const { return m_helium; }
  double Nitrogen() const { return m_nitrogen; }
  bool IsValid() const { return m_valid; }

  // Two mixes are the same gas when their long-form names agree.
  bool SameGas(const CGas& other) const { return Format(false) == other.Format(false); }

private:
  double m_oxygen = 0.0;
  double m_helium = 0.0;
  double m_nitrogen = 0.0;
  bool m_valid = false;
};

// The long-form name of a mix given by its percentages (as SetMix would build it;
// "Invalid" when SetMix rejects it).
std::string GasName(double oxygen, double helium);

// Gas formulas with a 1 bar surface and 10 m per bar; depth d in metres, bar out.
double OcPpo2(double oxygen, double d);
// The same at a dive's surface pressure (mbar) and 100 mbar per metre, as the
// engine breathes it: (surface + d x 100) / 1000 x oxygen / 100.
double OcPpo2(double oxygen, double d, double surfacePressure);
// Open circuit: (d / 10 + 1) x N2 / 100. Closed circuit: N2 / (He + N2) x
// (d / 10 + 1 - setpoint); a diluent without inert gas (pure oxygen) gives 0.
double InspiredN2(double oxygen, double helium, double d, double setpoint, bool closedCircuit);
// (InspiredN2 / 0.79 - 1) x 10, in metres (may be negative).
double Ead(double oxygen, double helium, double d, double setpoint, bool closedCircuit);

}  // namespace kv
