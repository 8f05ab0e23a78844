#pragma once
// The worst-case bailout sweep as a printable HTML document: the worst case
// (longest run time, highest CNS, most litres of each bailout gas with the
// cylinder that carries them) and every moment the sweep planned from, the
// worst moments marked. Held in UTF-8 and declared ISO-8859-1 like the other
// table documents, so the viewer's printing and WriteHtmlDocument serve it.

#include <string>
#include <vector>

#include "bailout/bailout_sweep.h"

namespace kv {

struct SWorstCaseHeading {
  int dive = 0;  // index from 0
  std::string diveName;
  double gasReserve = 0.0;       // %
  double workingPressure = 0.0;  // bar; 0 when the plan has none
  bool imperial = false;         // depths in feet
};

// The bailout gases of the sweep, in the order they are first breathed over
// the moments (each once).
std::vector<std::string> SweepGasNames(const SBailoutSweep& sweep);
// Litres of gas breathed after the bailout of moment m; 0 when it breathes none.
double MomentLitres(const SBailoutMoment& moment, const std::string& gas);

std::string WorstCaseBailoutHtml(const SBailoutSweep& sweep, const SWorstCaseHeading& heading);

}  // namespace kv
