#include "gas/gas.h"

#include <cmath>

#include "base/text.h"

namespace kv {
namespace {

// Numbers typed in gas texts are whole percentages, rounded half up.
bool ReadPercent(std::string_view text, double& value) {
  bool ok = ReadNumber(text, value);
  value = ok ? std::floor(value + 0.5) : 0.0;
  return ok;
}

int Truncated(double v) {
  if (!std::isfinite(v)) return 0;
  if (v > 1e9) return 1000000000;
  if (v < -1e9) return -1000000000;
  return static_cast<int>(std::trunc(v));
}

}  // namespace

bool CGas::SetMix(double oxygen, double helium) {
  // Non-finite shares come only from damaged files; an infinite negative
  // helium would otherwise pass every limit below.
  if (!std::isfinite(oxygen) || !std::isfinite(helium) || !(oxygen + helium <= 100.0) || !(oxygen >= 5.0) ||
      !(helium <= 99.0)) {
    m_valid = false;
    return false;
  }
  m_oxygen = oxygen;
  m_helium = helium;
  m_nitrogen = 100.0 - oxygen - helium;
  m_valid = true;
  return true;
}

void CGas::SetOxygen(double oxygen) {
  m_oxygen = oxygen;
  m_nitrogen = 100.0 - m_oxygen - m_helium;
  m_valid = true;
}

void CGas::SetHelium(double helium) {
  m_helium = helium;
  m_nitrogen = 100.0 - m_oxygen - m_helium;
  m_valid = true;
}

bool CGas::Parse(std::string_view text) {
  std::string lower = ToLower(text);
  if (lower == "air") return SetMix(21, 0);
  if (lower == "oxygen") return SetMix(100, 0);
  if (lower.empty()) {
    m_valid = false;
    return false;
  }
  if (std::size_t pct = lower.find('%'); pct != std::string::npos) {
    double oxygen = 0;
    bool readable = ReadPercent(std::string_view(lower).substr(0, pct), oxygen);
    if (!readable || oxygen < 5 || oxygen > 100) {
      m_valid = false;
      return false;
    }
    return SetMix(oxygen, 0);
  }
  if (std::size_t slash = lower.find('/'); slash != std::string::npos) {
    double oxygen = 0, helium = 0;
    bool okO = ReadPercent(std::string_view(lower).substr(0, slash), oxygen);
    bool okH = ReadPercent(std::string_view(lower).substr(slash + 1), helium);
    if (!okO || !okH || oxygen < 5 || oxygen > 100 || helium < 0 || helium > 99 || oxygen + helium > 100) {
      m_valid = false;
      return false;
    }
    return SetMix(oxygen, helium);
  }
  m_valid = false;
  return false;
}

std::string CGas::Format(bool shortForm) const {
  if (shortForm) {
    if (!m_valid) return {};
    return kv::Format("%d/%d", Truncated(m_oxygen), Truncated(m_helium));
  }
  if (!m_valid) return "Invalid";
  if (Truncated(m_helium) != 0) {
    if (m_helium == 100.0) return "Helium";
    return kv::Format("%d/%d", Truncated(m_oxygen), Truncated(m_helium));
  }
  if (m_oxygen == 100.0) return "Oxygen";
  if (m_oxygen == 21.0) return "Air";
  return kv::Format("%d%% Nitrox", Truncated(m_oxygen));
}

std::string GasName(double oxygen, double helium) {
  CGas g;
  g.SetMix(oxygen, helium);
  return g.Format(false);
}

double OcPpo2(double oxygen, double d) { return (d / 10.0 + 1.0) * oxygen / 100.0; }

double OcPpo2(double oxygen, double d, double surfacePressure) {
  return (surfacePressure + d * 100.0) / 1000.0 * oxygen / 100.0;
}

double InspiredN2(double oxygen, double helium, double d, double setpoint, bool closedCircuit) {
  double n2 = 100.0 - oxygen - helium;
  if (!closedCircuit) return (d / 10.0 + 1.0) * n2 / 100.0;
  // A diluent without inert gas leaves nothing to share the inert pressure:
  // no nitrogen is breathed, rather than dividing by zero.
  double inert = helium + n2;
  if (!(inert > 0.0)) return 0.0;
  return n2 / inert * (d / 10.0 + 1.0 - setpoint);
}

double Ead(double oxygen, double helium, double d, double setpoint, bool closedCircuit) {
  return (InspiredN2(oxygen, helium, d, setpoint, closedCircuit) / 0.79 - 1.0) * 10.0;
}

}  // namespace kv
