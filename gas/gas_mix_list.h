#pragma once
// A list of gas mixes as the bailout gas list holds it: items written "O2/He"
// joined by ",". A dive's bailout gas list, the preferences' default list and
// gas mix list files (".ccg") hold this text; the bailout planner, kvplan,
// the pages and the files read and write it only here, so that all of them
// agree on what an item may be, which 12 gases count and what a duplicate is.

#include <string>
#include <string_view>
#include <vector>

#include "gas/gas.h"

namespace kv {

// What the bailout planner makes of an item.
enum class EGasListItem {
  Usable,       // a mix the planner takes
  NotAMix,      // not two numbers "O2/He" giving a breathable mix
  BeyondLimit,  // a mix after the first 12: the planner takes only those
};

struct SGasListItem {
  std::string text;  // as written
  CGas gas;          // the mix (rounded to whole percent); invalid for NotAMix
  EGasListItem state = EGasListItem::NotAMix;
  int position = 0;  // 1-based, in the text

  bool IsMix() const { return state != EGasListItem::NotAMix; }
  // Why the planner leaves the item out ("\"50%\" is not a mix written as
  // O2/He", "\"3/0\" has too little oxygen to breathe (under 5 %)",
  // "\"21/90\" adds up to more than 100 %", "\"21/35\" is beyond the first
  // 12 gases"); empty when it uses it.
  std::string Reason() const;
  std::string whyNotAMix;  // for NotAMix: the reason after the quoted text
};

class CGasMixList {
public:
  // What adding a gas did.
  enum class EAdd { Added, AlreadyListed, Full, Invalid };

  CGasMixList() = default;
  // The one reader: every item of the text, as written (an empty text has none).
  static CGasMixList Read(std::string_view text);
  // The one writer: the items as written, joined by ",".
  std::string Text() const;

  const std::vector<SGasListItem>& Items() const { return m_items; }
  int Count() const { return static_cast<int>(m_items.size()); }
  // The items the planner uses: the first 12 mixes, in list order.
  std::vector<SGasListItem> UsableItems() const;
  int UsableCount() const;
  // The reasons of the items the planner leaves out, in list order.
  std::vector<std::string> LeftOut() const;
  // Whether a mix of the list is the same gas (same long-form name).
  bool Contains(const CGas& gas) const;
  // The item indexes in the order a list shows them: the first Air, the
  // first Oxygen, the other mixes without helium and then those with helium,
  // each by oxygen and then helium; items that are no mix last, as written.
  std::vector<int> ShownOrder() const;

  // Appends the gas in short form; the items already listed stay as written.
  // Refused for an invalid gas, a gas already listed, or a list that already
  // holds the 12 gases the planner takes.
  EAdd Add(const CGas& gas);
  // Removes the item at index (0-based); later items move up.
  void Remove(int index);

private:
  // Marks the mixes after the 12th as beyond the limit.
  void Recount();

  std::vector<SGasListItem> m_items;
};

}  // namespace kv
