#pragma once
// The worst-case bailout sweep as a printable HTML document: the gases the
// diver carries, the worst case (longest run time, highest CNS, most gas of
// each carried gas with and without the reserve and the cylinder that
// carries it) and every moment the sweep planned from, the worst moments
// marked. Held in UTF-8 and declared ISO-8859-1 like the other table
// documents, so the viewer's printing and WriteHtmlDocument serve it.

#include <string>
#include <vector>

#include "bailout/bailout_sweep.h"
#include "base/units.h"

namespace kv {

struct SWorstCaseHeading {
  int dive = 0;  // index from 0
  std::string diveName;
  double gasReserve = 0.0;       // %
  double workingPressure = 0.0;  // bar; 0 when the plan has none
  SDisplayUnits units;           // depths, gas and pressures as the user sees them
};

// The carried gases by their long-form names, in the sweep's order.
std::vector<std::string> CarriedGasNames(const SBailoutSweep& sweep);
// Litres of gas breathed after the bailout of moment m; 0 when it breathes none.
double MomentLitres(const SBailoutMoment& moment, const std::string& gas);

// What the diver carries at every moment: "Carried at every moment: 18/45,
// 50% Nitrox, Oxygen, the gases suggested for a bailout at 25:00 (the
// deepest moment)", or the dive's bailout gas list, or why nothing is.
std::string CarriedGasesText(const SBailoutSweep& sweep);

std::string WorstCaseBailoutHtml(const SBailoutSweep& sweep, const SWorstCaseHeading& heading);

}  // namespace kv
