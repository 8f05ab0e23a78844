#include "cli/preference_overlay.h"

#include <cctype>
#include <cstdint>

namespace kv {

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
  storage.WriteNumber(path, static_cast<std::uint32_t>(n));
  return {};
}

}  // namespace kv
