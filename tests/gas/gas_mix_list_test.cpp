// The gas mix list as every reader of it sees it: which items are mixes, which
// 12 count, what adding and removing do to the text.

#include "gas/gas_mix_list.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

std::vector<EGasListItem> States(const CGasMixList& list) {
  std::vector<EGasListItem> states;
  for (const SGasListItem& item : list.Items()) states.push_back(item.state);
  return states;
}

TEST(GasMixList, ItemsAreMixesWrittenAsOxygenSlashHeliumAsTheyStand) {
  const CGasMixList list = CGasMixList::Read("50%,Oxygen,15/55, 21/35,32.5/0,4/0,,18/45 trimix,30/-5,21/90");
  using S = EGasListItem;
  EXPECT_EQ(States(list), (std::vector<S>{S::NotAMix, S::NotAMix, S::Usable, S::Usable, S::Usable, S::NotAMix,
                                          S::NotAMix, S::Usable, S::NotAMix, S::NotAMix}));
  const std::vector<SGasListItem> usable = list.UsableItems();
  ASSERT_EQ(usable.size(), 4u);
  EXPECT_EQ(usable[1].text, " 21/35") << "kept as written";
  EXPECT_EQ(usable[1].position, 4);
  EXPECT_EQ(usable[2].gas.Format(true), "33/0") << "rounded half up like a typed gas";
  EXPECT_EQ(usable[3].gas.Format(false), "18/45");
  EXPECT_EQ(list.LeftOut(), (std::vector<std::string>{"\"50%\" is not a mix written as O2/He",
                                                      "\"Oxygen\" is not a mix written as O2/He",
                                                      "\"4/0\" has too little oxygen to breathe (under 5 %)",
                                                      "\"\" is not a mix written as O2/He",
                                                      "\"30/-5\" has a share below 0 %",
                                                      "\"21/90\" adds up to more than 100 %"}));
  EXPECT_EQ(list.Text(), "50%,Oxygen,15/55, 21/35,32.5/0,4/0,,18/45 trimix,30/-5,21/90") << "written back unchanged";
  EXPECT_EQ(CGasMixList::Read("").Count(), 0);
  EXPECT_EQ(CGasMixList::Read("").Text(), "");
}

TEST(GasMixList, ThePlannerTakesTheFirstTwelveMixesInListOrder) {
  std::string text = "junk";
  for (int o = 10; o <= 24; ++o) text += "," + std::to_string(o) + "/40";
  CGasMixList list = CGasMixList::Read(text);
  ASSERT_EQ(list.Count(), 16);
  EXPECT_EQ(list.UsableCount(), 12);
  EXPECT_EQ(list.UsableItems().back().text, "21/40");
  EXPECT_EQ(list.Items()[13].state, EGasListItem::BeyondLimit);
  EXPECT_EQ(list.Items()[13].Reason(), "\"22/40\" is beyond the first 12 gases");
  EXPECT_EQ(list.Add(CGas()), CGasMixList::EAdd::Invalid);
  CGas air;
  air.Parse("air");
  EXPECT_EQ(list.Add(air), CGasMixList::EAdd::Full);
  // Removing a counted mix lets the next one in.
  list.Remove(1);
  EXPECT_EQ(list.UsableCount(), 12);
  EXPECT_EQ(list.Items()[12].text, "22/40");
  EXPECT_EQ(list.Items()[12].state, EGasListItem::Usable);
  EXPECT_EQ(list.Items()[12].position, 13);
  list.Remove(99);
  EXPECT_EQ(list.Count(), 15);
}

TEST(GasMixList, AddingAppendsTheShortFormAndRewritesNothing) {
  CGasMixList list = CGasMixList::Read("50%, 21/35,100/0");
  CGas gas;
  ASSERT_TRUE(gas.Parse("18/45"));
  EXPECT_EQ(list.Add(gas), CGasMixList::EAdd::Added);
  EXPECT_EQ(list.Text(), "50%, 21/35,100/0,18/45");
  ASSERT_TRUE(gas.Parse("oxygen"));
  EXPECT_EQ(list.Add(gas), CGasMixList::EAdd::AlreadyListed) << "100/0 is Oxygen";
  ASSERT_TRUE(gas.Parse("21/35"));
  EXPECT_EQ(list.Add(gas), CGasMixList::EAdd::AlreadyListed) << "the same gas whatever the blanks";
  ASSERT_TRUE(gas.Parse("50%"));
  EXPECT_EQ(list.Add(gas), CGasMixList::EAdd::Added) << "\"50%\" is no mix the planner can read";
  EXPECT_EQ(list.Text(), "50%, 21/35,100/0,18/45,50/0");
  EXPECT_EQ(list.UsableCount(), 4);
}

TEST(GasMixList, ShownAirAndOxygenFirstThenNitroxAndTrimixThenWhatIsNoMix) {
  auto shown = [](const char* text) {
    const CGasMixList list = CGasMixList::Read(text);
    std::vector<std::string> names;
    for (const int i : list.ShownOrder()) {
      const SGasListItem& item = list.Items()[static_cast<std::size_t>(i)];
      names.push_back(item.IsMix() ? item.gas.Format(false) : item.text);
    }
    return names;
  };
  EXPECT_EQ(shown("32/0,21/0,18/45,100/0"), (std::vector<std::string>{"Air", "Oxygen", "32% Nitrox", "18/45"}));
  EXPECT_EQ(shown("15/55, 21/35,50%,21/0,10/70,50/0,21/0,15/40"),
            (std::vector<std::string>{"Air", "Air", "50% Nitrox", "10/70", "15/40", "15/55", "21/35", "50%"}))
      << "a second Air stands among the nitrox mixes";
}

}  // namespace
}  // namespace kv
