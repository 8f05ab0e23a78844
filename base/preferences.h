#pragma once
// The user's preferences: one typed item per value path, with its default and
// a cached value, read and written through a storage seam (the desktop program
// and kvplan use the platform's settings store, tests an in-memory one).
//
// Numbers are stored as 32-bit unsigned integers; decimal quantities are
// stored as 1000 x their value ("Dive\SAC Rate" 30000 is 30 l/min).
//
// Every value is read from the store once and then served from the cache
// (a default too, so an unset value is not looked up again); reading and
// writing are safe from several threads. A calculation does not read here
// at all while it runs: it takes what it needs once before it starts.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <vector>

namespace kv {

// Items in the order in which LoadSettings creates them.
enum class EPref : int {
  LanguageId,
  DefaultDirectory,
  DefaultSettingsDirectory,
  DefaultGasMixListDirectory,
  ChartGridEnable,
  AutoRecalc,
  Units,
  PrintingDirection,
  TimeUnits,
  FirstAscentOption,
  DiverId,
  SurfaceIntervalAlgorithm,
  Algorithm,
  DefaultCc,
  DefaultPpo2,
  DefaultNoClearSurface,
  DefaultCylinderWorkingPressure,
  DefaultGasReserve,
  DiveSurfacePressure,
  DiveGfLow,
  DiveGfHigh,
  DiveSacRate,
  DiveMaxPpo2,
  DiveMaxEad,
  DiveSurfaceInterval,
  DiveDescentRate,
  DiveAscentRate,
  DiveLastDecoStop,
  BailoutNoOfGasSwitches,
  BailoutGfLow,
  BailoutGfHigh,
  BailoutSacRate,
  BailoutMaxPpo2,
  BailoutMaxEad,
  BailoutMaxCns,
  BailoutDescentRate,
  BailoutAscentRate,
  BailoutLastDecoStop,
  BailoutUseBailoutGasList,
  BailoutIgnoreCns,
  BailoutIgnoreIcd,
  BailoutGasList,
  GasMixes,
  GasMixesAgeing,
  TravelGas01,  // ... TravelGas12 follow
  DecoGas01 = TravelGas01 + 12,  // ... DecoGas12 follow
  TableDepthStart = DecoGas01 + 12,
  TableDepthFinish,
  TableDepthStepSize,
  TableDurationStart,
  TableDurationFinish,
  TableDurationStepSize,
  TableSurfacePressure,
  TableGfLow,
  TableGfHigh,
  TableDescentRate,
  TableAscentRate,
  TableLastDecoStop,
  TableMaxPpo2,
  TableMaxEad,
  TableGrouping,
  DebugLevel,
  Count
};

inline EPref TravelGas(int i) { return static_cast<EPref>(static_cast<int>(EPref::TravelGas01) + i); }
inline EPref DecoGas(int i) { return static_cast<EPref>(static_cast<int>(EPref::DecoGas01) + i); }

enum class EPrefType { Number, Text };

// The key under which every value path lives in the platform's store.
inline constexpr const char* kSettingsRoot = "Software\\Kestrun\\KestrunVarnadel\\Settings\\";

struct SPrefInfo {
  std::string path;  // value path below kSettingsRoot, such as "Dive\\GF Low"
  EPrefType type;
  std::uint32_t defaultNumber;
  std::string defaultText;
};

class IPreferenceStorage {
public:
  virtual ~IPreferenceStorage() = default;
  virtual std::optional<std::uint32_t> ReadNumber(const std::string& path) = 0;
  virtual std::optional<std::string> ReadText(const std::string& path) = 0;
  virtual bool WriteNumber(const std::string& path, std::uint32_t value) = 0;
  virtual bool WriteText(const std::string& path, const std::string& value) = 0;
};

class CMemoryPreferenceStorage final : public IPreferenceStorage {
public:
  std::optional<std::uint32_t> ReadNumber(const std::string& path) override;
  std::optional<std::string> ReadText(const std::string& path) override;
  bool WriteNumber(const std::string& path, std::uint32_t value) override;
  bool WriteText(const std::string& path, const std::string& value) override;

  std::map<std::string, std::uint32_t> numbers;
  std::map<std::string, std::string> texts;
  int writes = 0;
};

class CPreferences {
public:
  CPreferences();

  // Replaces the store (owned) and forgets every cached value.
  void SetStorage(std::unique_ptr<IPreferenceStorage> storage);

  // Creates every item with its default (forgetting cached values) and
  // switches a stored ZH-L16A algorithm to ZH-L16C.
  void LoadSettings();
  // The settings summary of the status log, written when the debug level is above 3.
  void LogSettings() const;

  std::uint32_t GetNumber(EPref item) const;
  void SetNumber(EPref item, std::uint32_t value);
  std::string GetText(EPref item) const;
  void SetText(EPref item, const std::string& value);

  // A scaled quantity: the stored number / 1000.
  double GetScaled(EPref item) const { return GetNumber(item) / 1000.0; }

  static const SPrefInfo& Info(EPref item);
  // The item of a value path ("Dive\\GF Low"), or nullopt.
  static std::optional<EPref> FindPath(const std::string& path);

private:
  struct SCache {
    bool filled = false;
    std::uint32_t number = 0;
    std::string text;
  };
  // The cache entry of item, filled from the store (or the default) if it was
  // not yet; the caller holds m_lock exclusively.
  SCache& Fill(EPref item) const;
  // Runs read on the filled cache entry of item, under the shared lock when
  // the entry is filled already.
  template <typename Read>
  auto ReadCached(EPref item, Read read) const;

  mutable std::shared_mutex m_lock;
  std::unique_ptr<IPreferenceStorage> m_storage;
  mutable std::vector<SCache> m_cache;
};

// The process-wide preferences, created with an in-memory store.
CPreferences& Prefs();

}  // namespace kv
