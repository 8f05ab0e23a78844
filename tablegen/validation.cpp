// The lists of table depths and bottom times, and the validation of the page:
// the ranges, whether the first bottom time reaches the deepest depth, and
// every scheduled gas over the depths where it would be breathed.

#include <algorithm>
#include <cmath>

#include "base/strings.h"
#include "base/text.h"
#include "gas/gas_checks.h"
#include "tablegen/table_generation.h"

namespace kv {
namespace {

// start, start + step, ... up to finish, then finish itself when the steps
// miss it. Each value is start + k x step rather than a running sum, so that
// feet turned into metres cannot drift into a second, nearly equal finish.
// Empty when the list would be longer than maxEntries.
std::vector<double> DepthRange(double start, double finish, double step, int maxEntries) {
  std::vector<double> list{start};
  if (!(step > 0.0)) return list;
  const double steps = std::floor((finish - start) / step + 1e-9);
  if (std::isnan(steps) || steps >= maxEntries) return {};
  for (int k = 1; k <= steps; ++k) list.push_back(start + k * step);
  if (finish - list.back() > 1e-9 * std::max(1.0, std::fabs(finish))) list.push_back(finish);
  if (static_cast<int>(list.size()) > maxEntries) return {};
  return list;
}

std::vector<int> TimeRange(int start, int finish, int step, int maxEntries) {
  std::vector<int> list{start};
  if (step <= 0) return list;
  const long long steps = (static_cast<long long>(finish) - start) / step;
  if (steps >= maxEntries) return {};
  for (long long k = 1; k <= steps; ++k) list.push_back(static_cast<int>(start + k * step));
  if (list.back() < finish) list.push_back(finish);
  if (static_cast<int>(list.size()) > maxEntries) return {};
  return list;
}

}  // namespace

std::vector<double> CTableGeneration::DepthList() const {
  std::vector<double> depths = DepthRange(m_inputs.depthStart, m_inputs.depthFinish, m_inputs.depthStep, kMaxListEntries);
  for (double& depth : depths) depth = OnSchedule(depth);
  return depths;
}

double CTableGeneration::OnSchedule(double depth) const {
  for (const CGasSwitchSchedule* schedule : {&m_descent, &m_ascent})
    for (int i = 0; i < schedule->Count(); ++i)
      if (DepthsMeet(depth, schedule->At(i).m_depth)) return schedule->At(i).m_depth;
  return depth;
}

std::vector<int> CTableGeneration::BottomTimeList() const {
  return TimeRange(m_inputs.durationStart, m_inputs.durationFinish, m_inputs.durationStep, kMaxListEntries);
}

int CTableGeneration::SwitchState(bool descent, int index) const {
  const CGasSwitchSchedule& schedule = descent ? m_descent : m_ascent;
  return index >= 0 && index < schedule.Count() ? schedule.At(index).m_tag : kCheckFine;
}

int CTableGeneration::CombinedState() const {
  int all = m_depthState | m_durationState | m_descentState;
  for (const CGasSwitchSchedule* schedule : {&m_descent, &m_ascent})
    for (int i = 0; i < schedule->Count(); ++i) all |= schedule->At(i).m_tag;
  if (all & kCheckError) return kCheckError;
  return all & kCheckWarning ? kCheckWarning : kCheckFine;
}

bool CTableGeneration::Validate() {
  m_messages.clear();
  m_depthState = m_durationState = m_descentState = kCheckFine;
  for (int i = 0; i < kMaxGasSwitches; ++i) {
    SetScheduleTag(true, i, kCheckFine);
    SetScheduleTag(false, i, kCheckFine);
  }
  const SDisplayUnits& units = m_units;
  const STableGenerationInputs& in = m_inputs;
  const STableGenerationInputs shown = Inputs();

  if (in.depthFinish < in.depthStart) {
    AddMessage(Format(LoadString(1555), shown.depthStart, units.Unit(), shown.depthFinish, units.Unit()),
               kCheckError);
    m_depthState = kCheckError;
  }
  if (in.durationFinish < in.durationStart) {
    AddMessage(Format(LoadString(1556), in.durationStart, in.durationFinish), kCheckError);
    m_durationState = kCheckError;
  }
  if (in.depthFinish > in.durationStart * in.descentRate) {
    AddMessage(Format(LoadString(1557), in.durationStart, shown.descentRate, units.RateUnit(), shown.depthFinish,
                      units.Unit()),
               kCheckError);
    m_descentState = kCheckError;
  }
  const std::vector<double> depths = DepthList();
  if (depths.empty()) {
    AddMessage(Format(LoadString(1561), kMaxListEntries), kCheckError);
    m_depthState = kCheckError;
  }
  if (BottomTimeList().empty()) {
    AddMessage(Format(LoadString(1562), kMaxListEntries), kCheckError);
    m_durationState = kCheckError;
  }

  // A table depth above every descent switch would be dived on whatever the
  // first slot holds, an empty slot being a gas without oxygen.
  if (!depths.empty() && (m_descent.Count() == 0 || m_descent.At(0).m_depth > depths.front())) {
    AddMessage(Format(LoadString(1563), units.Shown(depths.front()), units.Unit()), kCheckError);
    m_depthState = kCheckError;
  }

  // The surface pressure counts as extra depth: 100 mbar per metre.
  const double depthOffset = (in.surfacePressure - 1000.0) / 100.0;
  for (const double depth : depths) CheckGases(depth, depthOffset);
  return IsRunAllowed();
}

void CTableGeneration::CheckGases(double tableDepth, double depthOffset) {
  std::vector<int> descent, ascent;
  for (int i = 0; i < m_descent.Count(); ++i)
    if (m_descent.At(i).m_depth <= tableDepth) descent.push_back(i);
  for (int i = 0; i < m_ascent.Count(); ++i)
    if (m_ascent.At(i).m_depth <= tableDepth) ascent.push_back(i);

  // A travel gas is breathed down to the next travel switch; the deepest one
  // is the bottom gas, breathed at the table depth and on the way up until
  // the first deco switch. A deco gas is breathed up to the next one.
  const double firstDecoSwitch = ascent.empty() ? 0.0 : m_ascent.At(ascent.back()).m_depth;
  for (std::size_t j = 0; j < descent.size(); ++j) {
    const int i = descent[j];
    if (j + 1 < descent.size())
      CheckGas(true, i, m_descent.At(i).m_depth, m_descent.At(descent[j + 1]).m_depth, depthOffset);
    else
      CheckGas(true, i, firstDecoSwitch, tableDepth, depthOffset);
  }
  for (std::size_t j = 0; j < ascent.size(); ++j) {
    const int i = ascent[j];
    const double shallower = j > 0 ? m_ascent.At(ascent[j - 1]).m_depth : 0.0;
    CheckGas(false, i, shallower, m_ascent.At(i).m_depth, depthOffset);
  }
}

void CTableGeneration::CheckGas(bool descent, int index, double top, double bottom, double depthOffset) {
  const CGasSwitch& s = (descent ? m_descent : m_ascent).At(index);
  const SDisplayUnits& units = m_units;
  int tag = s.m_tag;
  const std::string prefix =
      Format("%s %0.0f %s - ", LoadString(descent ? 1564 : 1565), units.Shown(s.m_depth), units.Unit());
  // Each finding is reported once: later table depths only add what is new.
  if (!s.m_closedCircuit && !(tag & kCheckError)) {
    for (const double depth : {top, bottom}) {
      const SGasCheck check = CheckTableGasPpo2(s.m_oxygen, depth, depthOffset, m_inputs.maxPpo2, units);
      if (check.severity == kGasCheckFine) continue;
      AddMessage(prefix + check.text, kCheckError);
      tag |= kCheckError;
      break;
    }
  }
  if (!(tag & kCheckWarning)) {
    const SGasCheck check = CheckTableGasEad(s.m_oxygen, s.m_helium, s.m_closedCircuit, s.m_setpoint, bottom,
                                             depthOffset, m_inputs.maxEad, units);
    if (check.severity != kGasCheckFine) {
      AddMessage(prefix + check.text, kCheckWarning);
      tag |= kCheckWarning;
    }
  }
  SetScheduleTag(descent, index, tag);
}

}  // namespace kv
