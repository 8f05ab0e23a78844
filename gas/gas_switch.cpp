#include "gas/gas_switch.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "base/prompt.h"
#include "base/strings.h"
#include "base/text.h"

namespace kv {

bool CGasSwitch::Set(double depth, double oxygen, double helium, bool closedCircuit, double setpoint,
                     bool inUse) {
  m_depth = depth;
  m_oxygen = oxygen;
  m_helium = helium;
  m_closedCircuit = closedCircuit;
  m_setpoint = setpoint;
  m_inUse = inUse;
  return true;
}

void CGasSwitch::Clear() { *this = CGasSwitch(); }

std::string CGasSwitch::ToText() const {
  return Format("%0.2f,%0.2f,%0.2f,%d,%0.2f,%d", m_depth, m_oxygen, m_helium, m_closedCircuit ? 1 : 0,
                m_setpoint, m_inUse ? 1 : 0);
}

bool CGasSwitch::FromText(const std::string& text) {
  CSParser fields(text, ',');
  if (fields.Count() != 6) {
    m_inUse = false;
    return false;
  }
  auto flag = [&](int n) {
    int v = 0;
    return ReadInt(fields.GetField(n), v) && v == 1;
  };
  m_depth = ReadNumberOr0(fields.GetField(1));
  m_oxygen = ReadNumberOr0(fields.GetField(2));
  m_helium = ReadNumberOr0(fields.GetField(3));
  m_closedCircuit = flag(4);
  m_setpoint = ReadNumberOr0(fields.GetField(5));
  m_inUse = flag(6);
  return true;
}

CGas CGasSwitch::Gas() const {
  CGas gas;
  gas.SetMix(m_oxygen, m_helium);
  return gas;
}

std::string CGasSwitch::GasName() const { return m_inUse ? Gas().Format(false) : std::string(); }

bool CGasSwitch::SameBreathing(const CGasSwitch& other) const {
  if (m_oxygen != other.m_oxygen || m_helium != other.m_helium) return false;
  if (m_closedCircuit != other.m_closedCircuit) return false;
  // An open-circuit switch keeps whatever setpoint it was stored with; only a
  // diluent's setpoint changes what is breathed.
  return !m_closedCircuit || m_setpoint == other.m_setpoint;
}

namespace {

void RemoveEntry(CGasSwitch* switches, int& count, int index) {
  for (int i = index; i + 1 < count; ++i) switches[i] = switches[i + 1];
  switches[count - 1].Clear();
  --count;
}

// Stable sort of entries 0 .. count-1 by depth; tracked follows its entry.
void SortEntries(CGasSwitch* switches, int count, int* tracked) {
  std::vector<int> order(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return switches[a].m_depth < switches[b].m_depth; });
  const std::vector<CGasSwitch> unsorted(switches, switches + count);
  for (int i = 0; i < count; ++i) {
    const int from = order[static_cast<std::size_t>(i)];
    switches[i] = unsorted[static_cast<std::size_t>(from)];
    if (tracked && from == *tracked) {
      *tracked = i;
      tracked = nullptr;  // moved once; later positions must not match again
    }
  }
}

void ShowDuplicateMessage(double removedDepth, double keptDepth, const SDisplayUnits& units) {
  const char* unit = units.Unit();
  UserPrompt().ShowMessage(Format(LoadString(1280), units.Shown(removedDepth), unit, units.Shown(keptDepth), unit,
                                  units.Shown(removedDepth), unit),
                           EIcon::Exclamation);
}

bool RemoveDuplicatesIn(CGasSwitch* switches, int& count, bool isDescent, bool quiet, const SDisplayUnits& units,
                        int* trackedIndex) {
  if (count < 2) return false;
  SortEntries(switches, count, trackedIndex);
  bool removedAny = false;
  int i = 0;
  while (i + 1 < count) {
    const CGasSwitch& a = switches[i];
    const CGasSwitch& b = switches[i + 1];
    if (!a.SameBreathing(b)) {
      ++i;
      continue;
    }
    // The ascent list keeps the deeper switch, so the gas is taken on as early
    // as possible; the descent list keeps the shallower one, and its first
    // entry (the gas at the surface) always stays.
    int removed = isDescent ? i + 1 : i;
    int kept = isDescent ? i : i + 1;
    if (!quiet) ShowDuplicateMessage(switches[removed].m_depth, switches[kept].m_depth, units);
    RemoveEntry(switches, count, removed);
    if (trackedIndex) {
      // A tracked entry that goes is replaced by the survivor, now at i.
      if (*trackedIndex == removed)
        *trackedIndex = i;
      else if (*trackedIndex > removed)
        --*trackedIndex;
    }
    removedAny = true;
  }
  return removedAny;
}

}  // namespace

bool RemoveDuplicateSwitches(GasSwitchArray& switches, int& count, bool isDescent, bool quiet,
                             const SDisplayUnits& units, int* trackedIndex) {
  count = std::clamp(count, 0, kMaxGasSwitches);
  return RemoveDuplicatesIn(switches.data(), count, isDescent, quiet, units, trackedIndex);
}

bool RemoveDuplicateSwitches(std::vector<CGasSwitch>& switches, bool isDescent, bool quiet,
                             const SDisplayUnits& units) {
  int count = static_cast<int>(switches.size());
  const bool removed = RemoveDuplicatesIn(switches.data(), count, isDescent, quiet, units, nullptr);
  switches.resize(static_cast<std::size_t>(count));
  return removed;
}

int CGasSwitchSchedule::IndexOfDepth(double depth, int except) const {
  for (int i = 0; i < m_count; ++i)
    if (i != except && m_switches[static_cast<std::size_t>(i)].m_depth == depth) return i;
  return -1;
}

bool CGasSwitchSchedule::Add(const CGasSwitch& gasSwitch) {
  if (m_count >= kMaxSwitches) {
    if (!m_quiet) UserPrompt().ShowMessage(LoadString(1215), EIcon::Exclamation);
    return false;
  }
  if (IndexOfDepth(gasSwitch.m_depth) >= 0) {
    if (!m_quiet) UserPrompt().ShowMessage(LoadString(kMsgDepthExists), EIcon::Exclamation);
    return false;
  }
  int at = 0;
  while (at < m_count && m_switches[static_cast<std::size_t>(at)].m_depth <= gasSwitch.m_depth) ++at;
  for (int i = m_count; i > at; --i)
    m_switches[static_cast<std::size_t>(i)] = m_switches[static_cast<std::size_t>(i - 1)];
  m_switches[static_cast<std::size_t>(at)] = gasSwitch;
  // The count is what says a slot is in use; keep the flag in step with it.
  m_switches[static_cast<std::size_t>(at)].m_inUse = true;
  ++m_count;
  m_selected = at;
  RemoveDuplicateSwitches();
  return true;
}

bool CGasSwitchSchedule::Update(const CGasSwitch& gasSwitch, int index) {
  if (index < 0 || index >= m_count) return false;
  if (m_isDescent && index == 0 && gasSwitch.m_depth != 0.0) return false;
  if (IndexOfDepth(gasSwitch.m_depth, index) >= 0) {
    if (!m_quiet) UserPrompt().ShowMessage(LoadString(kMsgDepthExists), EIcon::Exclamation);
    return false;
  }
  m_switches[static_cast<std::size_t>(index)] = gasSwitch;
  m_switches[static_cast<std::size_t>(index)].m_inUse = true;
  m_selected = index;
  SortByDepth();
  RemoveDuplicateSwitches();
  return true;
}

bool CGasSwitchSchedule::Delete(int index) {
  if (index < 0 || index >= m_count) return false;
  if (m_isDescent && index == 0) return false;
  RemoveAt(index);
  return true;
}

void CGasSwitchSchedule::RemoveAt(int index) {
  RemoveEntry(m_switches.data(), m_count, index);
  if (m_selected > index)
    --m_selected;
  else if (m_selected == index)
    m_selected = std::min(index, m_count - 1);
}

bool CGasSwitchSchedule::RemoveDuplicateSwitches() {
  return kv::RemoveDuplicateSwitches(m_switches, m_count, m_isDescent, m_quiet, m_units,
                                     m_selected >= 0 ? &m_selected : nullptr);
}

void CGasSwitchSchedule::SortByDepth() { SortEntries(m_switches.data(), m_count, m_selected >= 0 ? &m_selected : nullptr); }

void CGasSwitchSchedule::SetTag(int index, std::int32_t tag) {
  if (index >= 0 && index < kMaxSwitches) m_switches[static_cast<std::size_t>(index)].m_tag = tag;
}

void CGasSwitchSchedule::ClearAll() {
  for (CGasSwitch& s : m_switches) s.Clear();
  m_count = 0;
  m_selected = -1;
}

void CGasSwitchSchedule::SetFromArray(const std::array<CGasSwitch, kMaxSwitches>& switches) {
  ClearAll();
  for (const CGasSwitch& s : switches)
    if (s.m_inUse) m_switches[static_cast<std::size_t>(m_count++)] = s;
  SortByDepth();
}

}  // namespace kv
