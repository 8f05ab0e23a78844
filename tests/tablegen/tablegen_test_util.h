#pragma once
// Table generation pages for the tests: switches, schedules and ranges.

#include <initializer_list>
#include <string>
#include <vector>

#include "tablegen/table_generation.h"

namespace kv::test {

inline CGasSwitch Oc(double depth, double oxygen, double helium = 0.0) {
  CGasSwitch s;
  s.Set(depth, oxygen, helium, false, 0.0, true);
  return s;
}

inline CGasSwitch Cc(double depth, double oxygen, double helium, double setpoint) {
  CGasSwitch s;
  s.Set(depth, oxygen, helium, true, setpoint, true);
  return s;
}

// Fills the (empty) schedules of a new page, quietly as a file read does.
inline void SetSchedules(CTableGeneration& page, std::initializer_list<CGasSwitch> travel,
                         std::initializer_list<CGasSwitch> deco) {
  page.SetQuiet(true);
  for (const CGasSwitch& s : travel) page.AddDescentSwitch(s);
  for (const CGasSwitch& s : deco) page.AddAscentSwitch(s);
  page.SetQuiet(false);
}

// A page with the given ranges (metres, minutes) and an open-circuit air
// schedule without deco gases; the Max EAD is high enough for air anywhere.
inline void SetRanges(CTableGeneration& page, double depthStart, double depthFinish, double depthStep,
                      int durationStart, int durationFinish, int durationStep) {
  STableGenerationInputs in = page.Inputs();
  in.depthStart = depthStart;
  in.depthFinish = depthFinish;
  in.depthStep = depthStep;
  in.durationStart = durationStart;
  in.durationFinish = durationFinish;
  in.durationStep = durationStep;
  in.maxEad = 99.0;
  page.SetInputs(in);
}

// The switches of a schedule in their text form.
inline std::vector<std::string> Texts(const CGasSwitchSchedule& schedule) {
  std::vector<std::string> texts;
  for (int i = 0; i < schedule.Count(); ++i) texts.push_back(schedule.At(i).ToText());
  return texts;
}

inline std::vector<std::string> MessageTexts(const CTableGeneration& page) {
  std::vector<std::string> texts;
  for (const STableMessage& m : page.Messages()) texts.push_back(m.text);
  return texts;
}

}  // namespace kv::test
