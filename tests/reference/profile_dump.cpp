// Prints the profile of one dive for the cross-check against walk_model.py.
// Arguments: GF low, GF high, last stop, then per point depth (m), time (s),
// oxygen, helium, closed circuit (0/1), setpoint. Output: "1" or "0" for
// success, then the profile as [[kind, depth, start, duration], ...].

#include <cstdio>
#include <cstdlib>

#include "engine/dive_plan.h"

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  kv::CDivePlan d;
  d.SetGfLow(std::atof(argv[1]));
  d.SetGfHigh(std::atof(argv[2]));
  d.SetLastDecoStop(std::atof(argv[3]));
  for (int i = 4; i + 5 < argc; i += 6) {
    kv::CPlanPoint p;
    p.SetDepth(std::atof(argv[i]));
    p.m_duration = std::atoi(argv[i + 1]);
    p.m_oxygen = std::atof(argv[i + 2]);
    p.m_helium = std::atof(argv[i + 3]);
    p.m_closedCircuit = static_cast<std::uint8_t>(std::atoi(argv[i + 4]));
    p.m_setpoint = std::atof(argv[i + 5]);
    d.AppendUserPoint(p);
  }
  const bool ok = d.Calculate(0, nullptr, nullptr, 0, 0, true);
  std::printf("%d\n[", ok ? 1 : 0);
  const char* separator = "";
  for (const kv::CPlanPoint& p : d.ProfilePoints()) {
    std::printf("%s[%d, %g, %d, %d]", separator, p.m_kind, p.Depth(), p.m_start, p.m_duration);
    separator = ", ";
  }
  std::printf("]\n");
  return 0;
}
