#include "engine/plan_point.h"

namespace kv {

const char* PointKindText(int kind) {
  switch (kind) {
    case kKindNone: return "None";
    case kKindDescent: return "Descent";
    case kKindPlanned: return "Planned";
    case kKindAscent: return "Ascent";
    case kKindDecoAscent: return "Deco Ascent";
    case kKindDeco: return "Deco";
    default: return "Invalid";
  }
}

const char* SegmentKindName(int kind) {
  switch (kind) {
    case kSegTravel: return "Travel";
    case kSegBottom: return "BottomDepth";
    case kSegAscent: return "Ascent";
    case kSegFirstAscent: return "First Ascent";
    case kSegDecoStop: return "Deco Stop";
    case kSegGasSwitch: return "Gas Switch";
    default: return "";
  }
}

bool CPlanPoint::SameBreathing(const CPlanPoint& other) const {
  if (m_oxygen != other.m_oxygen || m_helium != other.m_helium) return false;
  if (m_closedCircuit != other.m_closedCircuit) return false;
  return !m_closedCircuit || m_setpoint == other.m_setpoint;
}

std::string CDiveGasWarning::DisplayText() const {
  std::string text = m_gas.Format(false);
  for (const std::string* t : {&m_icd, &m_ead, &m_highO2, &m_lowO2})
    if (!t->empty()) text += "~" + *t;
  return text;
}

}  // namespace kv
