#pragma once
// The tolerant comparisons of the bailout planner's formulas.

#include <algorithm>
#include <cmath>

namespace kv::bailout_detail {

// a is below b by more than the relative tolerance t.
inline bool Below(double a, double b, double t) { return b - a > t * std::max(std::fabs(a), std::fabs(b)); }
// Limits that are equal on paper may differ in the last bits of a double
// (1.4 / 0.2 is 6.999999999999999): equal within this is not above.
inline constexpr double kEqualTolerance = 1e-9;
inline bool Above(double a, double b) { return Below(b, a, kEqualTolerance); }

}  // namespace kv::bailout_detail
