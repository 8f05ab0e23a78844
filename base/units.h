#pragma once
// Unit factors and the rounding rule shared by limits, PPO2 values and switch depths.

namespace kv {

inline constexpr double kFeetPerMetre = 3.2568;
inline constexpr double kMetresPerFoot = 0.30705;
inline constexpr double kCubicFeetPerLitre = 0.03531467;
inline constexpr double kPsiPerBar = 14.50377;
inline constexpr double kBarPerPsi = 0.06894757;
inline constexpr double kLitresPerCubicFoot = 28.31685;

// Nearest multiple of m: the whole multiples of m in the value (truncated
// towards zero) plus m x floor(remainder / m + 0.5). m must be positive.
double RoundToMultiple(double value, double m);

}  // namespace kv
