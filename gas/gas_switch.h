#pragma once
// A gas switch ("from this depth on, breathe this gas in this mode") and the
// two ordered schedules of 12 switches: descent (travel) and ascent (deco).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/units.h"
#include "gas/gas.h"

namespace kv {

inline constexpr int kMaxGasSwitches = kMaxGases;

class CGasSwitch {
public:
  CGasSwitch() = default;
  CGasSwitch(const CGasSwitch&) = default;
  CGasSwitch& operator=(const CGasSwitch&) = default;
  virtual ~CGasSwitch() = default;

  // Stores all six fields without checks.
  bool Set(double depth, double oxygen, double helium, bool closedCircuit, double setpoint, bool inUse);
  // Back to the defaults: 0 m, 0/0, closed circuit, setpoint 0, not in use.
  void Clear();
  // "%0.2f,%0.2f,%0.2f,%d,%0.2f,%d": depth, oxygen, helium, closed circuit, setpoint, in use.
  std::string ToText() const;
  // False (and not in use) unless the text has exactly 6 fields.
  bool FromText(const std::string& text);
  // The long-form gas name, or an empty text when the slot is not in use.
  std::string GasName() const;
  CGas Gas() const;
  // Same gas and mode, and on closed circuit the same setpoint.
  bool SameBreathing(const CGasSwitch& other) const;

  double m_depth = 0.0;  // m
  double m_oxygen = 0.0;
  double m_helium = 0.0;
  bool m_closedCircuit = true;
  double m_setpoint = 0.0;  // bar
  bool m_inUse = false;
  std::int32_t m_tag = 0;
};

// One schedule: entries 0 .. count-1 in use, in ascending depth, no two at one depth.
class CGasSwitchSchedule {
public:
  static constexpr int kMaxSwitches = kMaxGasSwitches;

  explicit CGasSwitchSchedule(bool isDescent = true) : m_isDescent(isDescent) {}

  bool IsDescent() const { return m_isDescent; }
  int Count() const { return m_count; }
  const CGasSwitch& At(int i) const { return m_switches[static_cast<std::size_t>(i)]; }
  const std::array<CGasSwitch, kMaxSwitches>& Switches() const { return m_switches; }
  int Selected() const { return m_selected; }

  // Messages (12-switch limit, depth exists, duplicates) are shown unless
  // quiet; the duplicate message gives its depths in the display units.
  void SetQuiet(bool quiet) { m_quiet = quiet; }
  void SetUnits(const SDisplayUnits& units) { m_units = units; }

  // Inserts in depth order and applies the duplicate rule; false when full or
  // when a switch already has that depth.
  bool Add(const CGasSwitch& gasSwitch);
  // Replaces entry index (ignored outside 0 .. count-1), sorts, applies the
  // duplicate rule; the updated entry becomes the selected one. Refused (false)
  // when another entry already has the new depth (message 1204 unless quiet)
  // and when it would move the descent schedule's first entry off 0 m.
  bool Update(const CGasSwitch& gasSwitch, int index);
  // Removes entry index; the descent schedule's entry 0 is never deleted.
  bool Delete(int index);
  // The duplicate rule; true when anything was removed.
  bool RemoveDuplicateSwitches();
  void ClearAll();
  // The tag of entry index (table generation keeps its check state there).
  void SetTag(int index, std::int32_t tag);
  // Loads entries as stored (preferences, files); the count is the number in
  // use. Entries in use are packed to the front in depth order, so that a
  // hand-edited store cannot break the schedule's order.
  void SetFromArray(const std::array<CGasSwitch, kMaxSwitches>& switches);

private:
  void RemoveAt(int index);
  // Stable sort of the entries in use; the selected entry stays selected.
  void SortByDepth();
  // The entry (other than except) at exactly that depth, or -1.
  int IndexOfDepth(double depth, int except = -1) const;

  std::array<CGasSwitch, kMaxSwitches> m_switches{};
  int m_count = 0;
  int m_selected = -1;
  bool m_isDescent = true;
  bool m_quiet = false;
  SDisplayUnits m_units;
};

using GasSwitchArray = std::array<CGasSwitch, kMaxGasSwitches>;

// Sorts entries 0 .. count-1 by depth (stable, so equal depths keep their
// order) and applies the duplicate rule of a descent or ascent list: of two
// adjacent switches breathing the same, the ascent list keeps the deeper, the
// descent list the shallower, and its first entry is always kept. Each removal
// is announced (message 1280, depths in the display units) unless quiet. A tracked index
// (such as the selected row) follows its entry, or the entry kept in its place.
// True when anything was removed. A count outside 0 .. 12 is clamped.
bool RemoveDuplicateSwitches(GasSwitchArray& switches, int& count, bool isDescent, bool quiet,
                             const SDisplayUnits& units, int* trackedIndex = nullptr);
// The same rule on a list of any length (switches taken from a dive).
bool RemoveDuplicateSwitches(std::vector<CGasSwitch>& switches, bool isDescent, bool quiet,
                             const SDisplayUnits& units);

}  // namespace kv
