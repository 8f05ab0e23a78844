#pragma once
// The allowed range, step and decimals of each field of the dive pages, in
// metric and imperial units.

namespace kv::app {

struct SFieldRange {
  double min = 0.0;
  double max = 0.0;
  double step = 1.0;
  int decimals = 0;
};

struct SSettingRange {
  SFieldRange metric;
  SFieldRange imperial;
  const SFieldRange& For(bool imperialUnits) const { return imperialUnits ? imperial : metric; }
};

namespace ranges {
inline constexpr SSettingRange kSurfacePressure{{600, 1080, 1, 0}, {600, 1080, 1, 0}};  // mbar
inline constexpr SSettingRange kGradientFactor{{0, 100, 1, 0}, {0, 100, 1, 0}};        // %
inline constexpr SSettingRange kSacRate{{8, 80, 0.1, 1}, {0.28, 2.82, 0.01, 2}};       // l/min, cu ft/min
inline constexpr SSettingRange kMaxPpo2{{1.0, 1.8, 0.01, 2}, {1.0, 1.8, 0.01, 2}};     // bar
inline constexpr SSettingRange kMaxEad{{20, 70, 1, 0}, {65, 230, 1, 0}};               // m, ft
inline constexpr SSettingRange kDescentRate{{5, 50, 1, 0}, {16, 164, 1, 0}};           // m/min, ft/min
inline constexpr SSettingRange kAscentRate{{1, 25, 1, 0}, {3, 82, 1, 0}};              // m/min, ft/min
inline constexpr SSettingRange kLastDecoStop{{3, 6, 1, 0}, {10, 20, 1, 0}};            // m, ft
inline constexpr SSettingRange kNoOfGasSwitches{{1, 12, 1, 0}, {1, 12, 1, 0}};
inline constexpr SSettingRange kMaxCns{{100, 250, 1, 0}, {100, 250, 1, 0}};            // %
inline constexpr SSettingRange kSetpoint{{0.5, 1.5, 0.01, 2}, {0.5, 1.5, 0.01, 2}};    // bar
inline constexpr SSettingRange kPointDepth{{0, 305, 1, 0}, {0, 1000, 1, 0}};          // m, ft
inline constexpr SSettingRange kPointDuration{{0, 360, 1, 0}, {0, 360, 1, 0}};        // minutes
// Surface interval in minutes, shown as hours:minutes.
inline constexpr SSettingRange kSurfaceInterval{{0, 99 * 60 + 59, 1, 0}, {0, 99 * 60 + 59, 1, 0}};
}  // namespace ranges

}  // namespace kv::app
