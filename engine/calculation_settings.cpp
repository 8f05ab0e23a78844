#include "engine/calculation_settings.h"

#include "base/preferences.h"

namespace kv {

SCalculationSettings SCalculationSettings::FromPreferences() {
  const CPreferences& p = Prefs();
  SCalculationSettings s;
  s.debugLevel = static_cast<int>(p.GetNumber(EPref::DebugLevel));
  s.detailedFirstAscent = p.GetNumber(EPref::FirstAscentOption) == 1;
  s.units.imperial = p.GetNumber(EPref::Units) == 1;
  return s;
}

}  // namespace kv
