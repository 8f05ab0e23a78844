#include "base/preferences.h"

#include "base/status_log.h"

namespace kv {
namespace {

const char* kEmptySwitch = "0.00,0.00,0.00,0,0.00,0";

std::vector<SPrefInfo> BuildTable() {
  std::vector<SPrefInfo> t(static_cast<std::size_t>(EPref::Count));
  auto num = [&](EPref e, const char* path, std::uint32_t def) {
    t[static_cast<std::size_t>(e)] = {path, EPrefType::Number, def, {}};
  };
  auto txt = [&](EPref e, std::string path, std::string def) {
    t[static_cast<std::size_t>(e)] = {std::move(path), EPrefType::Text, 0, std::move(def)};
  };
  num(EPref::LanguageId, "Language ID", 1033);
  txt(EPref::DefaultDirectory, "Directories\\Default Directory", "");
  txt(EPref::DefaultSettingsDirectory, "Directories\\Default Settings Directory", "");
  txt(EPref::DefaultGasMixListDirectory, "Directories\\Default Gas Mix List Directory", "");
  num(EPref::ChartGridEnable, "General\\Chart Grid Enable", 1);
  num(EPref::AutoRecalc, "General\\Auto Recalc", 1);
  num(EPref::Units, "General\\Units", 0);
  num(EPref::PrintingDirection, "General\\Printing Direction", 1);
  num(EPref::TimeUnits, "General\\Time Units", 0);
  num(EPref::FirstAscentOption, "General\\First Ascent Option", 0);
  txt(EPref::DiverId, "General\\Diver ID", "");
  num(EPref::SurfaceIntervalAlgorithm, "Dive Plan\\Surface Interval Algorithm", 0);
  num(EPref::Algorithm, "Dive Plan\\Algorithm", 0);
  num(EPref::DefaultCc, "Dive Plan\\Default CC", 0);
  num(EPref::DefaultPpo2, "Dive Plan\\Default PPO2", 1300);
  num(EPref::DefaultNoClearSurface, "Dive Plan\\Default No Clear Surface", 0);
  num(EPref::DefaultCylinderWorkingPressure, "Dive Plan\\Default Cylinder Working Pressure", 240000);
  num(EPref::DefaultGasReserve, "Dive Plan\\Default Gas Reserve", 33);
  num(EPref::DiveSurfacePressure, "Dive\\Surface Pressure", 1000);
  num(EPref::DiveGfLow, "Dive\\GF Low", 20);
  num(EPref::DiveGfHigh, "Dive\\GF High", 80);
  num(EPref::DiveSacRate, "Dive\\SAC Rate", 30000);
  num(EPref::DiveMaxPpo2, "Dive\\Max PPO2", 1600);
  num(EPref::DiveMaxEad, "Dive\\Max EAD", 35000);
  num(EPref::DiveSurfaceInterval, "Dive\\Surface Interval", 0);
  num(EPref::DiveDescentRate, "Dive\\Descent Rate", 20000);
  num(EPref::DiveAscentRate, "Dive\\Ascent Rate", 10000);
  num(EPref::DiveLastDecoStop, "Dive\\Last Deco Stop", 6000);
  num(EPref::BailoutNoOfGasSwitches, "Bailout\\No Of Gas Switches", 2);
  num(EPref::BailoutGfLow, "Bailout\\GF Low", 100);
  num(EPref::BailoutGfHigh, "Bailout\\GF High", 100);
  num(EPref::BailoutSacRate, "Bailout\\SAC Rate", 30000);
  num(EPref::BailoutMaxPpo2, "Bailout\\Max PPO2", 1600);
  num(EPref::BailoutMaxEad, "Bailout\\Max EAD", 40000);
  num(EPref::BailoutMaxCns, "Bailout\\Max CNS", 100000);
  num(EPref::BailoutDescentRate, "Bailout\\Descent Rate", 20000);
  num(EPref::BailoutAscentRate, "Bailout\\Ascent Rate", 10000);
  num(EPref::BailoutLastDecoStop, "Bailout\\Last Deco Stop", 6000);
  num(EPref::BailoutUseBailoutGasList, "Bailout\\Use Bailout Gas List", 0);
  num(EPref::BailoutIgnoreCns, "Bailout\\Ignore CNS", 0);
  num(EPref::BailoutIgnoreIcd, "Bailout\\Ignore ICD", 0);
  txt(EPref::BailoutGasList, "Bailout Gas List\\Gas Mix 01", "");
  txt(EPref::GasMixes, "Gas Mix\\Gas Mixes", "21/0");
  txt(EPref::GasMixesAgeing, "Gas Mix\\Gas Mixes Ageing", "21/0/-1/-1");
  char name[64];
  for (int i = 0; i < 12; ++i) {
    std::snprintf(name, sizeof name, "Gas Mix\\Travel Gas %02d", i + 1);
    txt(TravelGas(i), name, i == 0 ? "0.00,21.00,0.00,1,0.70,1" : kEmptySwitch);
  }
  for (int i = 0; i < 12; ++i) {
    std::snprintf(name, sizeof name, "Gas Mix\\Deco Gas %02d", i + 1);
    txt(DecoGas(i), name, i == 0 ? "3.00,21.00,0.00,1,0.70,1" : kEmptySwitch);
  }
  num(EPref::TableDepthStart, "Table Generation\\Depth Start", 10000);
  num(EPref::TableDepthFinish, "Table Generation\\Depth Finish", 20000);
  num(EPref::TableDepthStepSize, "Table Generation\\Depth Step Size", 10000);
  num(EPref::TableDurationStart, "Table Generation\\Duration Start", 10);
  num(EPref::TableDurationFinish, "Table Generation\\Duration Finish", 20);
  num(EPref::TableDurationStepSize, "Table Generation\\Duration Step Size", 5);
  num(EPref::TableSurfacePressure, "Table Generation\\Surface Pressure", 1000);
  num(EPref::TableGfLow, "Table Generation\\Gradient Factor Low", 20);
  num(EPref::TableGfHigh, "Table Generation\\Gradient Factor High", 80);
  num(EPref::TableDescentRate, "Table Generation\\Descent Rate", 20000);
  num(EPref::TableAscentRate, "Table Generation\\Ascent Rate", 10000);
  num(EPref::TableLastDecoStop, "Table Generation\\Last Deco Stop", 6000);
  num(EPref::TableMaxPpo2, "Table Generation\\Max PPO2", 1600);
  num(EPref::TableMaxEad, "Table Generation\\Max EAD", 35000);
  num(EPref::TableGrouping, "Table Generation\\Table Grouping", 0);
  num(EPref::DebugLevel, "Debug Level", 0);
  return t;
}

const std::vector<SPrefInfo>& Table() {
  static const std::vector<SPrefInfo> table = BuildTable();
  return table;
}

}  // namespace

std::optional<std::uint32_t> CMemoryPreferenceStorage::ReadNumber(const std::string& path) {
  auto it = numbers.find(path);
  if (it == numbers.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> CMemoryPreferenceStorage::ReadText(const std::string& path) {
  auto it = texts.find(path);
  if (it == texts.end()) return std::nullopt;
  return it->second;
}

bool CMemoryPreferenceStorage::WriteNumber(const std::string& path, std::uint32_t value) {
  numbers[path] = value;
  ++writes;
  return true;
}

bool CMemoryPreferenceStorage::WriteText(const std::string& path, const std::string& value) {
  texts[path] = value;
  ++writes;
  return true;
}

CPreferences::CPreferences()
    : m_storage(std::make_unique<CMemoryPreferenceStorage>()),
      m_cache(static_cast<std::size_t>(EPref::Count)) {}

void CPreferences::SetStorage(std::unique_ptr<IPreferenceStorage> storage) {
  std::unique_lock lock(m_lock);
  m_storage = storage ? std::move(storage) : std::make_unique<CMemoryPreferenceStorage>();
  m_cache.assign(static_cast<std::size_t>(EPref::Count), SCache{});
}

const SPrefInfo& CPreferences::Info(EPref item) { return Table()[static_cast<std::size_t>(item)]; }

std::optional<EPref> CPreferences::FindPath(const std::string& path) {
  const auto& t = Table();
  for (std::size_t i = 0; i < t.size(); ++i)
    if (t[i].path == path) return static_cast<EPref>(i);
  return std::nullopt;
}

CPreferences::SCache& CPreferences::Fill(EPref item) const {
  SCache& c = m_cache[static_cast<std::size_t>(item)];
  if (c.filled) return c;
  const SPrefInfo& info = Info(item);
  // A value the store does not hold reads as its default from now on; it is
  // looked up again only after LoadSettings or SetStorage.
  if (info.type == EPrefType::Number)
    c.number = m_storage->ReadNumber(info.path).value_or(info.defaultNumber);
  else
    c.text = m_storage->ReadText(info.path).value_or(info.defaultText);
  c.filled = true;
  return c;
}

template <typename Read>
auto CPreferences::ReadCached(EPref item, Read read) const {
  {
    std::shared_lock lock(m_lock);
    const SCache& c = m_cache[static_cast<std::size_t>(item)];
    if (c.filled) return read(c);
  }
  std::unique_lock lock(m_lock);
  return read(Fill(item));
}

std::uint32_t CPreferences::GetNumber(EPref item) const {
  return ReadCached(item, [](const SCache& c) { return c.number; });
}

std::string CPreferences::GetText(EPref item) const {
  return ReadCached(item, [](const SCache& c) { return c.text; });
}

void CPreferences::SetNumber(EPref item, std::uint32_t value) {
  std::unique_lock lock(m_lock);
  SCache& c = Fill(item);
  if (c.number == value) return;
  c.number = value;
  // A failed write leaves the store as it was and is not reported; the value
  // stays in effect for this run, as the cache holds it.
  m_storage->WriteNumber(Info(item).path, value);
}

void CPreferences::SetText(EPref item, const std::string& value) {
  std::unique_lock lock(m_lock);
  SCache& c = Fill(item);
  if (c.text == value) return;
  c.text = value;
  m_storage->WriteText(Info(item).path, value);
}

void CPreferences::LoadSettings() {
  {
    std::unique_lock lock(m_lock);
    m_cache.assign(static_cast<std::size_t>(EPref::Count), SCache{});
  }
  // Only ZH-L16C is offered; a stored ZH-L16A choice is switched over for good.
  if (GetNumber(EPref::Algorithm) == 0) SetNumber(EPref::Algorithm, 1);
}

void CPreferences::LogSettings() const {
  if (GetNumber(EPref::DebugLevel) <= 3) return;
  CStatusLog& log = StatusLog();
  auto choose = [&](EPref item, const char* one, const char* other) {
    log.LogMessage("%s", GetNumber(item) == 1 ? one : other);
  };
  log.LogMessage("Registry Settings");
  log.LogMessage("   Default Dir - %s", GetText(EPref::DefaultDirectory).c_str());
  log.LogMessage("   Default Settings Dir - %s", GetText(EPref::DefaultSettingsDirectory).c_str());
  choose(EPref::ChartGridEnable, "   Chart Grid Enable - Enabled", "   Chart Grid Enable - Disabled");
  choose(EPref::AutoRecalc, "   Auto Recalc - Enabled", "   Auto Recalc - Disabled");
  choose(EPref::SurfaceIntervalAlgorithm, "   Surface Interval Algorithm - Buhlmann",
         "   Surface Interval Algorithm - SDS");
  choose(EPref::Algorithm, "   Buhlmann Algorithm - ZH-L16C", "   Buhlmann Algorithm - ZH-L16A");
  choose(EPref::PrintingDirection, "   Print Direction - Run Time Ascending up the page",
         "   Print Direction - Run Time Descending down the page");
  choose(EPref::TimeUnits, "   Time Units - Minutes & Seconds", "   Time Units - Minutes Only");
  choose(EPref::FirstAscentOption, "   First Ascent Option - Detailed 1st Ascent",
         "   First Ascent Option - Merged 1st Ascent");
}

CPreferences& Prefs() {
  static CPreferences prefs;
  return prefs;
}

}  // namespace kv
