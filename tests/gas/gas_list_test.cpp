#include "gas/gas_list.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using Names = std::vector<std::string>;

CGas Mix(double oxygen, double helium) {
  CGas g;
  g.SetMix(oxygen, helium);
  return g;
}

TEST(GasListOrder, TrimixAndNitroxFindTheirPlaces) {
  CGasList list;
  list.SetListText("21/0,100/0,32/0,21/35");
  ASSERT_EQ(list.Entries(), (Names{"Air", "Oxygen", "32% Nitrox", "21/35"}));
  ASSERT_TRUE(list.AddGas(18, 45, false));
  EXPECT_EQ(list.Entries(), (Names{"Air", "Oxygen", "32% Nitrox", "18/45", "21/35"}));
  ASSERT_TRUE(list.AddGas(50, 0, false));
  EXPECT_EQ(list.Entries(), (Names{"Air", "Oxygen", "32% Nitrox", "50% Nitrox", "18/45", "21/35"}));
  EXPECT_EQ(list.Selected(), 3);
}

TEST(GasListOrder, NamedGasesLeadWhateverTheOrderOfArrival) {
  CGasList list;
  list.AddGas(18, 45);
  list.AddGas(36, 0);
  list.AddGas(100, 0);
  list.AddGas(28, 0);
  list.AddGas(21, 0);
  list.AddGas(18, 35);
  list.AddGas(10, 70);
  list.AddGas(80, 0);
  EXPECT_EQ(list.Entries(), (Names{"Air", "Oxygen", "28% Nitrox", "36% Nitrox", "80% Nitrox", "10/70", "18/35",
                                   "18/45"}));
  EXPECT_EQ(list.GetListText(), "21/0,100/0,28/0,36/0,80/0,10/70,18/35,18/45");
}

TEST(GasListOrder, RepeatsAndRejectsLeaveTheListAlone) {
  CGasList list;
  list.SetListText("21/0,50/0");
  list.Select(1);
  EXPECT_TRUE(list.AddGas(21, 0));           // already listed: succeeds, nothing added
  EXPECT_TRUE(list.AddGas(Mix(21.4, 0)));    // named "21% Nitrox", a gas of its own
  EXPECT_EQ(list.Count(), 3);
  EXPECT_FALSE(list.AddGas(4, 0));           // SetMix refuses
  EXPECT_FALSE(list.AddGas(CGas()));         // invalid
  EXPECT_FALSE(list.AddGas(30, -5));         // negative helium
  CGas helium;
  helium.SetHelium(100);                     // "Helium" fits no class of the list
  EXPECT_FALSE(list.AddGas(helium));
  EXPECT_EQ(list.Count(), 3);
}

TEST(GasListOrder, UnselectedInsertKeepsTheSelectionOnItsEntry) {
  CGasList list;
  list.SetListText("32/0,18/45");
  list.Select(1);
  list.AddGas(21, 0, true);
  EXPECT_EQ(list.SelectedText(), "18/45");
}

TEST(GasListText, SkipsUnreadableItemsAndSelectsFirst) {
  CGasList list;
  list.SetListText("32,abc,18/45,10/91,32.5/0,,100/0");
  EXPECT_EQ(list.Entries(), (Names{"Oxygen", "33% Nitrox", "18/45"}));
  EXPECT_EQ(list.Selected(), 0);
  list.SetListText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.GetListText(), "");
}

TEST(GasListCompletion, FirstEntryBeginningWithTypedText) {
  CGasList list;
  list.SetListText("21/0,100/0,32/0,36/0,18/45");
  EXPECT_EQ(list.FindCompletion("3"), 2);
  EXPECT_EQ(list.FindCompletion("36"), 3);
  EXPECT_EQ(list.FindCompletion("ox"), 1);
  EXPECT_EQ(list.FindCompletion("4"), -1);
  EXPECT_EQ(list.FindCompletion(""), -1);

  CGasList::SCompletion c = list.Complete("1");
  EXPECT_EQ(c.text, "18/45");
  EXPECT_EQ(c.selectionStart, 1u);
  list.OnKeyPress(true);  // Backspace: the user is shortening the text
  c = list.Complete("1");
  EXPECT_EQ(c.index, -1);
  EXPECT_EQ(c.text, "1");
  list.OnKeyPress(false);
  EXPECT_TRUE(list.CompleteAsYouType());
}

TEST(GasListLeave, DecidesWhatTheFieldDoes) {
  CGasList list;
  list.SetListText("21/0,32/0");
  EXPECT_EQ(list.LastText(), CGasList::kNotSet);

  auto r = list.LeaveField("32%");
  EXPECT_EQ(r.action, CGasList::ELeaveAction::SelectedExisting);
  EXPECT_EQ(list.SelectedText(), "32% Nitrox");
  EXPECT_FALSE(list.ListChanged());

  EXPECT_EQ(list.LeaveField("32%").action, CGasList::ELeaveAction::Nothing);
  EXPECT_EQ(list.LeaveField("").action, CGasList::ELeaveAction::Nothing);

  r = list.LeaveField("18/45");
  EXPECT_EQ(r.action, CGasList::ELeaveAction::AddedNew);
  EXPECT_EQ(r.gas.Oxygen(), 18);
  EXPECT_EQ(r.gas.Helium(), 45);
  EXPECT_EQ(list.SelectedText(), "18/45");
  EXPECT_TRUE(list.ListChanged());

  r = list.LeaveField("nitrox");
  EXPECT_EQ(r.action, CGasList::ELeaveAction::Invalid);
  EXPECT_EQ(r.message.substr(0, 14), "Invalid entry!");
  EXPECT_EQ(list.LastText(), "");
  EXPECT_EQ(list.Count(), 3);
  // The same bad text typed again is read again, since the field was emptied.
  EXPECT_EQ(list.LeaveField("nitrox").action, CGasList::ELeaveAction::Invalid);
}

}  // namespace
}  // namespace kv
