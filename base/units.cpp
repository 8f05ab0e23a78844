#include "base/units.h"

#include <cmath>

namespace kv {

double RoundToMultiple(double value, double m) {
  if (!(m > 0.0) || !std::isfinite(value)) return value;
  double whole = std::trunc(value / m) * m;
  double remainder = value - whole;
  return whole + m * std::floor(remainder / m + 0.5);
}

}  // namespace kv
