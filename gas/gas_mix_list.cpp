#include "gas/gas_mix_list.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace kv {
namespace {

// "O2/He": both numbers read (leading blanks skipped, trailing text ignored)
// and rounded half up to whole percent, as a typed gas is. A mix the gas
// entry would refuse, or with a share below 0 %, has no usable pressures.
// Empty when the item is a mix, else why not.
std::string ReadMix(const std::string& item, CGas& gas) {
  const std::size_t slash = item.find('/');
  double oxygen = 0.0, helium = 0.0;
  if (slash == std::string::npos || !ReadNumber(std::string_view(item).substr(0, slash), oxygen) ||
      !ReadNumber(std::string_view(item).substr(slash + 1), helium))
    return "is not a mix written as O2/He";
  oxygen = std::floor(oxygen + 0.5);
  helium = std::floor(helium + 0.5);
  if (oxygen < 0.0 || helium < 0.0) return "has a share below 0 %";
  if (gas.SetMix(oxygen, helium)) return {};
  if (oxygen + helium > 100.0) return "adds up to more than 100 %";
  if (oxygen < 5.0) return "has too little oxygen to breathe (under 5 %)";
  return "is not a breathable mix";
}

// Reads an item's mix into it.
void ReadItem(SGasListItem& item) {
  item.whyNotAMix = ReadMix(item.text, item.gas);
  item.state = item.whyNotAMix.empty() ? EGasListItem::Usable : EGasListItem::NotAMix;
  if (item.state == EGasListItem::NotAMix) item.gas = CGas();
}

}  // namespace

std::string SGasListItem::Reason() const {
  switch (state) {
    case EGasListItem::NotAMix: return "\"" + text + "\" " + whyNotAMix;
    case EGasListItem::BeyondLimit:
      return "\"" + text + "\" is beyond the first " + std::to_string(kMaxGases) + " gases";
    case EGasListItem::Usable: break;
  }
  return {};
}

CGasMixList CGasMixList::Read(std::string_view text) {
  CGasMixList list;
  if (text.empty()) return list;
  const CSParser items(text, ',');
  for (int i = 1; i <= items.Count(); ++i) {
    SGasListItem item;
    item.text = items.GetField(i);
    item.position = i;
    ReadItem(item);
    list.m_items.push_back(std::move(item));
  }
  list.Recount();
  return list;
}

std::string CGasMixList::Text() const {
  std::string text;
  for (const SGasListItem& item : m_items) {
    if (&item != &m_items.front()) text += ',';
    text += item.text;
  }
  return text;
}

void CGasMixList::Recount() {
  int mixes = 0;
  for (SGasListItem& item : m_items) {
    if (!item.IsMix()) continue;
    item.state = ++mixes <= kMaxGases ? EGasListItem::Usable : EGasListItem::BeyondLimit;
  }
}

std::vector<SGasListItem> CGasMixList::UsableItems() const {
  std::vector<SGasListItem> usable;
  for (const SGasListItem& item : m_items)
    if (item.state == EGasListItem::Usable) usable.push_back(item);
  return usable;
}

int CGasMixList::UsableCount() const {
  return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const SGasListItem& item) {
    return item.state == EGasListItem::Usable;
  }));
}

std::vector<std::string> CGasMixList::LeftOut() const {
  std::vector<std::string> reasons;
  for (const SGasListItem& item : m_items)
    if (item.state != EGasListItem::Usable) reasons.push_back(item.Reason());
  return reasons;
}

bool CGasMixList::Contains(const CGas& gas) const {
  return std::any_of(m_items.begin(), m_items.end(),
                     [&](const SGasListItem& item) { return item.IsMix() && item.gas.SameGas(gas); });
}

std::vector<int> CGasMixList::ShownOrder() const {
  // Groups: 0 the first Air, 1 the first Oxygen, 2 other nitrox, 3 trimix, 4 no mix.
  std::vector<int> group(m_items.size());
  bool air = false, oxygen = false;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    const SGasListItem& item = m_items[i];
    const std::string name = item.IsMix() ? item.gas.Format(true) : std::string();
    if (!item.IsMix())
      group[i] = 4;
    else if (name == "21/0" && !air)
      group[i] = 0, air = true;
    else if (name == "100/0" && !oxygen)
      group[i] = 1, oxygen = true;
    else
      group[i] = item.gas.Helium() == 0.0 ? 2 : 3;
  }
  std::vector<int> order(m_items.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const std::size_t i = static_cast<std::size_t>(a), j = static_cast<std::size_t>(b);
    if (group[i] != group[j]) return group[i] < group[j];
    if (group[i] == 4) return false;
    const CGas& x = m_items[i].gas;
    const CGas& y = m_items[j].gas;
    return x.Oxygen() != y.Oxygen() ? x.Oxygen() < y.Oxygen() : x.Helium() < y.Helium();
  });
  return order;
}

CGasMixList::EAdd CGasMixList::Add(const CGas& gas) {
  if (!gas.IsValid()) return EAdd::Invalid;
  if (Contains(gas)) return EAdd::AlreadyListed;
  if (UsableCount() >= kMaxGases) return EAdd::Full;
  SGasListItem item;
  item.text = gas.Format(true);
  item.position = Count() + 1;
  // The short form is what the planner reads back: the same mix, truncated
  // to whole percent as the names are.
  ReadItem(item);
  m_items.push_back(std::move(item));
  Recount();
  return EAdd::Added;
}

void CGasMixList::Remove(int index) {
  if (index < 0 || index >= Count()) return;
  m_items.erase(m_items.begin() + index);
  for (int i = index; i < Count(); ++i) m_items[static_cast<std::size_t>(i)].position = i + 1;
  Recount();
}

}  // namespace kv
