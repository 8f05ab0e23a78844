#pragma once
// Allowed ranges of the numeric settings the dialogs edit, metric and imperial.
// Stand-in until the shared table of ranges is available to this program.

struct SSettingRange {
  double min = 0.0;
  double max = 0.0;
  double step = 1.0;
  int decimals = 0;
};

struct SUnitRanges {
  SSettingRange metric;
  SSettingRange imperial;
};

namespace ranges {
inline constexpr SUnitRanges kDefaultPpo2{{0.5, 1.5, 0.01, 2}, {0.5, 1.5, 0.01, 2}};
inline constexpr SUnitRanges kCylinderWorkingPressure{{150, 250, 1, 0}, {2200, 3675, 1, 0}};
inline constexpr SUnitRanges kGasReserve{{10, 50, 1, 0}, {10, 50, 1, 0}};
inline constexpr SUnitRanges kSurfacePressure{{600, 1080, 1, 0}, {600, 1080, 1, 0}};
inline constexpr SUnitRanges kGradientFactor{{0, 100, 1, 0}, {0, 100, 1, 0}};
inline constexpr SUnitRanges kSacRate{{8, 80, 0.1, 1}, {0.28, 2.82, 0.01, 2}};
inline constexpr SUnitRanges kMaxPpo2{{1.0, 1.8, 0.01, 2}, {1.0, 1.8, 0.01, 2}};
inline constexpr SUnitRanges kMaxEad{{20, 70, 1, 0}, {65, 230, 1, 0}};
inline constexpr SUnitRanges kDescentRate{{5, 50, 1, 0}, {16, 164, 1, 0}};
inline constexpr SUnitRanges kAscentRate{{1, 25, 1, 0}, {3, 82, 1, 0}};
inline constexpr SUnitRanges kLastDecoStop{{3, 6, 1, 0}, {10, 20, 1, 0}};
inline constexpr SUnitRanges kNoOfGasSwitches{{1, 12, 1, 0}, {1, 12, 1, 0}};
inline constexpr SUnitRanges kMaxCns{{100, 250, 1, 0}, {100, 250, 1, 0}};
}  // namespace ranges
