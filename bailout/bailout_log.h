#pragma once
// The bailout planner's status log lines ("Bailout - " and the text, at the
// calculation's level) and the tolerant comparisons of its formulas.

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <string>

#include "base/status_log.h"
#include "base/text.h"

namespace kv::bailout_detail {

inline void Log(const std::string& text) { StatusLog().LogAtLevel("Bailout - " + text, kLogProgress); }

// Formats only when the line will be written.
inline void LogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline void LogF(const char* format, ...) {
  if (!StatusLog().IsOn(kLogProgress)) return;
  std::va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  Log(text);
}

// a is below b by more than the relative tolerance t.
inline bool Below(double a, double b, double t) { return b - a > t * std::max(std::fabs(a), std::fabs(b)); }
// Limits that are equal on paper may differ in the last bits of a double
// (1.4 / 0.2 is 6.999999999999999): equal within this is not above.
inline constexpr double kEqualTolerance = 1e-9;
inline bool Above(double a, double b) { return Below(b, a, kEqualTolerance); }

}  // namespace kv::bailout_detail
