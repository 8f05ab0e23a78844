#pragma once
// A number of a settings struct and the preference that holds it: a decimal
// quantity x 1000 (scaled) or a plain number. Lists of these read and write
// a struct's numbers in one loop.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "base/preferences.h"

namespace kv {

template <typename Settings>
struct SPreferenceField {
  EPref item;
  double Settings::*field;
  bool scaled;
};

template <typename Settings, std::size_t N>
void ReadPreferenceFields(const CPreferences& p, const SPreferenceField<Settings> (&fields)[N], Settings& settings) {
  for (const SPreferenceField<Settings>& f : fields)
    settings.*f.field = f.scaled ? p.GetScaled(f.item) : static_cast<double>(p.GetNumber(f.item));
}

// A value as the store holds it: rounded, never below 0, kept inside 32 bits.
inline std::uint32_t StoredPreferenceNumber(double value) {
  if (!(value > 0.0)) return 0;
  const double rounded = std::floor(value + 0.5);
  return rounded >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(rounded);
}

template <typename Settings, std::size_t N>
void WritePreferenceFields(CPreferences& p, const SPreferenceField<Settings> (&fields)[N], const Settings& settings) {
  for (const SPreferenceField<Settings>& f : fields)
    p.SetNumber(f.item, StoredPreferenceNumber(f.scaled ? settings.*f.field * 1000.0 : settings.*f.field));
}

}  // namespace kv
