#include "gas/gas_list.h"

#include <cctype>

#include "base/strings.h"
#include "base/text.h"
#include "gas/gas_mix_list.h"

namespace kv {
namespace {

bool IsNitroxName(std::string_view name) { return name.find('%') != std::string_view::npos; }
bool IsTrimixName(std::string_view name) { return name.find('/') != std::string_view::npos; }

// The oxygen and helium that a listed name stands for ("32% Nitrox", "18/45").
double OxygenOf(const std::string& name) { return ReadNumberOr0(name); }
double HeliumOf(const std::string& name) {
  std::size_t slash = name.find('/');
  return slash == std::string::npos ? 0.0 : ReadNumberOr0(std::string_view(name).substr(slash + 1));
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

}  // namespace

std::size_t CGasList::PlaceOf(const std::string& name, double oxygen, double helium) const {
  const std::size_t n = m_entries.size();
  if (name == "Air") return 0;
  if (name == "Oxygen") return n > 0 && m_entries[0] == "Air" ? 1 : 0;
  if (IsNitroxName(name)) {
    std::size_t i = 0;
    while (i < n && (m_entries[i] == "Air" || m_entries[i] == "Oxygen")) ++i;
    for (; i < n; ++i) {
      if (IsTrimixName(m_entries[i])) return i;
      if (IsNitroxName(m_entries[i]) && OxygenOf(m_entries[i]) > oxygen) return i;
    }
    return n;
  }
  // Trimix: among the trimix entries, by oxygen and then helium.
  std::size_t i = 0;
  while (i < n && !IsTrimixName(m_entries[i])) ++i;
  for (; i < n; ++i) {
    double o = OxygenOf(m_entries[i]);
    if (o > oxygen || (o == oxygen && HeliumOf(m_entries[i]) > helium)) return i;
  }
  return n;
}

void CGasList::InsertAt(std::size_t position, std::string name, bool doNotSelect) {
  m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(position), std::move(name));
  int at = static_cast<int>(position);
  if (!doNotSelect)
    m_selected = at;
  else if (m_selected >= at)
    ++m_selected;  // the selected entry moved down one place
}

bool CGasList::AddGas(const CGas& gas, bool doNotSelect) {
  // A negative helium share passes SetMix but is no breathable mix; it would
  // otherwise be listed as a trimix such as "30/-5".
  if (!gas.IsValid() || gas.Helium() < 0.0) return false;
  std::string name = gas.Format(false);
  if (IndexOf(name) >= 0) return true;
  bool named = name == "Air" || name == "Oxygen";
  if (!named && !IsNitroxName(name) && !IsTrimixName(name)) return false;
  std::size_t place = PlaceOf(name, gas.Oxygen(), gas.Helium());
  InsertAt(place, std::move(name), doNotSelect);
  return true;
}

bool CGasList::AddGas(double oxygen, double helium, bool doNotSelect) {
  CGas gas;
  if (!gas.SetMix(oxygen, helium)) return false;
  return AddGas(gas, doNotSelect);
}

std::string CGasList::GetListText() const {
  std::string text;
  for (const std::string& entry : m_entries) {
    CGas gas;
    if (!gas.Parse(entry)) continue;
    if (!text.empty()) text += ',';
    text += gas.Format(true);
  }
  return text;
}

void CGasList::SetListText(std::string_view text) {
  Clear();
  // Every mix the text holds, however many: the remembered gases have no limit.
  const CGasMixList list = CGasMixList::Read(text);
  for (const SGasListItem& item : list.Items())
    if (item.IsMix()) AddGas(item.gas, true);
  Select(0);
}

void CGasList::Clear() {
  m_entries.clear();
  m_selected = -1;
}

int CGasList::IndexOf(std::string_view name) const {
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    if (m_entries[i] == name) return static_cast<int>(i);
  return -1;
}

void CGasList::Select(int index) { m_selected = index >= 0 && index < Count() ? index : -1; }

std::string CGasList::SelectedText() const {
  return m_selected >= 0 ? m_entries[static_cast<std::size_t>(m_selected)] : std::string();
}

int CGasList::FindCompletion(std::string_view typed) const {
  if (typed.empty()) return -1;
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    if (StartsWithIgnoringCase(m_entries[i], typed)) return static_cast<int>(i);
  return -1;
}

CGasList::SCompletion CGasList::Complete(std::string_view typed) const {
  SCompletion c;
  c.text = std::string(typed);
  c.selectionStart = typed.size();
  if (!m_completeAsYouType) return c;
  c.index = FindCompletion(typed);
  if (c.index >= 0) c.text = m_entries[static_cast<std::size_t>(c.index)];
  return c;
}

CGasList::SLeaveResult CGasList::LeaveField(const std::string& text) {
  SLeaveResult result;
  if (text.empty() || text == m_lastText) return result;
  m_lastText = text;
  CGas gas;
  if (!gas.Parse(text)) {
    result.action = ELeaveAction::Invalid;
    result.message = LoadString(1264);
    m_lastText.clear();
    return result;
  }
  result.gas = gas;
  int existing = IndexOf(gas.Format(false));
  if (existing >= 0) {
    Select(existing);
    result.action = ELeaveAction::SelectedExisting;
    return result;
  }
  AddGas(gas, false);
  m_listChanged = true;
  result.action = ELeaveAction::AddedNew;
  return result;
}

}  // namespace kv
