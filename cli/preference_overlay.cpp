#include "cli/preference_overlay.h"

#include <cctype>
#include <cstdint>

#include "base/text.h"
#include "base/value_ranges.h"

namespace kv {
namespace {

// A stored range: "8000 to 80000 (8.0 to 80.0 l/min ..., stored x 1000)".
std::string StoredRangeText(const SPreferenceRange& range) {
  const SValueRange& r = range.Range();
  if (range.scale == 1) return r.Text();
  return Format("%.0f to %.0f (%s, stored x %u)", r.metric.minimum * range.scale, r.metric.maximum * range.scale,
                r.Text().c_str(), range.scale);
}

}  // namespace

std::optional<std::uint32_t> CPreferenceOverlay::ReadNumber(const std::string& path) {
  if (auto it = m_numbers.find(path); it != m_numbers.end()) return it->second;
  return m_base ? m_base->ReadNumber(path) : std::nullopt;
}

std::optional<std::string> CPreferenceOverlay::ReadText(const std::string& path) {
  if (auto it = m_texts.find(path); it != m_texts.end()) return it->second;
  return m_base ? m_base->ReadText(path) : std::nullopt;
}

bool CPreferenceOverlay::WriteNumber(const std::string& path, std::uint32_t value) {
  m_numbers[path] = value;
  return true;
}

bool CPreferenceOverlay::WriteText(const std::string& path, const std::string& value) {
  m_texts[path] = value;
  return true;
}

std::string ApplyPreferenceOverride(IPreferenceStorage& storage, const std::string& assignment) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string::npos) return "expected PATH=VALUE";
  const std::string path = assignment.substr(0, eq);
  const std::string value = assignment.substr(eq + 1);
  const std::optional<EPref> item = CPreferences::FindPath(path);
  if (!item) return "unknown preference \"" + path + "\"";
  if (CPreferences::Info(*item).type == EPrefType::Text) {
    storage.WriteText(path, value);
    return {};
  }
  // Whole numbers only, as the store holds them: a "." here would most likely
  // be a value meant in display units, which the store keeps scaled.
  if (value.empty() || value.size() > 10) return "\"" + value + "\" is not a whole number from 0 to 4294967295";
  std::uint64_t n = 0;
  for (char c : value) {
    if (!std::isdigit(static_cast<unsigned char>(c)))
      return "\"" + value + "\" is not a whole number from 0 to 4294967295";
    n = n * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (n > UINT32_MAX) return "\"" + value + "\" is not a whole number from 0 to 4294967295";
  const SPreferenceRange* range = PreferenceRange(*item);
  if (range && !range->AcceptsStored(static_cast<std::uint32_t>(n)))
    return value + " is outside " + StoredRangeText(*range);
  storage.WriteNumber(path, static_cast<std::uint32_t>(n));
  return {};
}

std::string CheckPreferenceRanges(IPreferenceStorage& storage) {
  for (int i = 0; i < static_cast<int>(EPref::Count); ++i) {
    const EPref item = static_cast<EPref>(i);
    const SPreferenceRange* range = PreferenceRange(item);
    if (!range) continue;
    const std::string& path = CPreferences::Info(item).path;
    const std::optional<std::uint32_t> stored = storage.ReadNumber(path);
    if (stored && !range->AcceptsStored(*stored))
      return path + " holds " + std::to_string(*stored) + ", outside " + StoredRangeText(*range);
  }
  return {};
}

std::string CheckSettingsFileShape(std::string_view content) {
  bool settingsSection = false, anyValue = false;
  int number = 0;
  for (const std::string& raw : SplitLines(content)) {
    ++number;
    std::string_view line = raw;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.find('\0') != std::string_view::npos)
      return Format("line %d holds a NUL byte: this is not a settings file", number);
    if (line.front() == '[' && line.back() == ']') {
      if (line == "[Settings]") settingsSection = true;
      continue;
    }
    if (line.find('=') == std::string_view::npos)
      return Format("line %d is neither a [section] nor a NAME=VALUE line: this is not a settings file", number);
    anyValue = true;
  }
  if (anyValue && !settingsSection) return "it has no [Settings] section: this is not a settings file";
  return {};
}

}  // namespace kv
