#include <cmath>

#include "engine/dive_plan.h"

namespace kv {
namespace {

// Single-exposure PPO2 limits: the published rows from 0.6 to 1.6 bar,
// extended to 1.9 bar.
constexpr double kCnsPpo2[14] = {0.6, 0.7, 0.8, 0.9, 1.0, 1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8, 1.9};
constexpr double kCnsLimit[14] = {720, 570, 450, 360, 300, 240, 210, 180, 150, 120, 45, 10, 2, 0.645161};

}  // namespace

double CDivePlan::CnsIncrement(double p, double seconds) {
  if (!(p >= 0.5)) return 0.0;
  if (p <= 0.6) return seconds / (720.0 * 60.0);
  if (p >= 1.9) return seconds / (0.645161 * 60.0);
  for (int i = 1; i < 14; ++i) {
    if (kCnsPpo2[i] > p) {
      double p0 = kCnsPpo2[i - 1], p1 = kCnsPpo2[i];
      double l0 = kCnsLimit[i - 1], l1 = kCnsLimit[i];
      double limit = l0 - (p - p0) / (p1 - p0) * (l0 - l1);
      return seconds / (limit * 60.0);
    }
  }
  return seconds / (0.645161 * 60.0);
}

double CDivePlan::OtuIncrement(double p, double seconds) {
  // At exactly 0.5 bar the dose is nil; the expression below would divide by zero there.
  if (!(p > 0.5)) return 0.0;
  return std::pow(0.5 / (p - 0.5), -0.8333333333333334) * seconds / 60.0;
}

}  // namespace kv
