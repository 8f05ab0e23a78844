// The bailout gas list page: order, limits, and files.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QListWidget>
#include <fstream>
#include <QPushButton>
#include <QSignalSpy>

#include "page_test_util.h"
#include "app/pages/tab_dive_plan_bailout_gas_list.h"
#include "app/widgets/gas_combo_completion.h"

namespace kv::test {
namespace {

using app::CTabDivePlanBailoutGasList;

QStringList Rows(const CTabDivePlanBailoutGasList& page) {
  QStringList rows;
  for (int i = 0; i < page.List()->count(); ++i) rows << page.List()->item(i)->text();
  return rows;
}

TEST(BailoutGasList, ShowsAirAndOxygenFirstThenNitroxAndTrimix) {
  CTestEnvironment env;
  GuiApp();
  CTabDivePlanBailoutGasList page;
  page.SetListText("32/0,21/0,18/45,100/0");
  EXPECT_EQ(Rows(page), (QStringList{"Air", "Oxygen", "32% Nitrox", "18/45"}));
  EXPECT_EQ(page.ListText(), "32/0,21/0,18/45,100/0") << "shown in order, kept as written";
}

// The page shows what the planner will use: items it leaves out are there,
// greyed, with the planner's reason.
TEST(BailoutGasList, ItemsThePlannerLeavesOutAreMarkedWithTheReason) {
  CTestEnvironment env;
  GuiApp();
  CTabDivePlanBailoutGasList page;
  page.SetListText("15/55, 21/35, 50%, Oxygen,50/0");
  EXPECT_EQ(Rows(page), (QStringList{"50% Nitrox", "15/55", "21/35", " 50%", " Oxygen"}));
  EXPECT_TRUE(page.List()->item(0)->toolTip().isEmpty());
  EXPECT_EQ(page.List()->item(3)->toolTip(),
            "The bailout planner leaves this out: \" 50%\" is not a mix written as O2/He");
  EXPECT_TRUE(page.List()->item(4)->font().italic());

  // Fifteen mixes: the planner takes the first twelve as the list holds them.
  std::string fifteen;
  for (int o = 10; o < 25; ++o) fifteen += (fifteen.empty() ? "" : ",") + std::to_string(o) + "/40";
  page.SetListText(fifteen);
  ASSERT_EQ(page.Count(), 15);
  int left = 0;
  for (int r = 0; r < page.Count(); ++r) {
    const QString tip = page.List()->item(r)->toolTip();
    if (tip.isEmpty()) continue;
    ++left;
    EXPECT_TRUE(tip.endsWith("is beyond the first 12 gases")) << tip.toStdString();
    EXPECT_GE(page.List()->item(r)->text().left(2).toInt(), 22) << "22/40, 23/40 and 24/40";
  }
  EXPECT_EQ(left, 3);
  EXPECT_FALSE(page.AddButton()->isEnabled());
}

TEST(BailoutGasList, AddsUpToTwelveDistinctGasesAndDeletesSelectedRows) {
  CTestEnvironment env;
  GuiApp();
  CTabDivePlanBailoutGasList page;
  QSignalSpy changed(&page, &CTabDivePlanBailoutGasList::listChanged);
  page.SetListText("21/0, 50%");
  EXPECT_EQ(changed.size(), 0);
  page.GasField()->setEditText("18/45");
  page.Add();
  EXPECT_EQ(page.ListText(), "21/0, 50%,18/45") << "the new gas is appended; nothing else is rewritten";
  EXPECT_EQ(changed.size(), 1);
  page.GasField()->setEditText("air");
  page.Add();  // already listed
  EXPECT_EQ(page.Count(), 3);

  std::string twelve = "21/0";
  for (int o = 22; o < 33; ++o) twelve += "," + std::to_string(o) + "/0";
  page.SetListText(twelve);
  EXPECT_EQ(page.Count(), 12);
  EXPECT_FALSE(page.AddButton()->isEnabled());
  page.GasField()->setEditText("50%");
  page.Add();
  EXPECT_EQ(page.Count(), 12);

  page.List()->item(1)->setSelected(true);
  page.List()->item(3)->setSelected(true);
  page.DeleteSelected();
  EXPECT_EQ(page.Count(), 10);
  EXPECT_EQ(page.List()->currentRow(), 0);
  EXPECT_TRUE(page.AddButton()->isEnabled());
  page.SetListText("");
  EXPECT_FALSE(page.DeleteButton()->isEnabled());
}

TEST(BailoutGasList, SavesAndLoadsGasMixListFiles) {
  CTestEnvironment env;
  GuiApp();
  const QString path = QString::fromStdString(TempDir() + "/bailout.ccg");
  CTabDivePlanBailoutGasList page;
  page.SetFileChooser([&](bool) { return path; });
  page.SetListText("21/0,50/0,15/55");
  page.Save();
  EXPECT_EQ(ReadFile(path.toStdString()), "Gas Mix List\r\n060~21/0,50/0,15/55\r\n");

  CTabDivePlanBailoutGasList other;
  other.SetFileChooser([&](bool) { return path; });
  QSignalSpy changed(&other, &CTabDivePlanBailoutGasList::listChanged);
  other.Load();
  EXPECT_EQ(other.ListText(), "21/0,50/0,15/55");
  EXPECT_EQ(changed.size(), 1);
  EXPECT_EQ(Prefs().GetText(EPref::DefaultGasMixListDirectory), QFileInfo(path).absolutePath().toStdString());

  // A file that is no gas mix list changes nothing.
  std::ofstream(path.toStdString(), std::ios::binary) << "Dive Plan\r\n";
  other.Load();
  EXPECT_EQ(other.ListText(), "21/0,50/0,15/55");
  ASSERT_FALSE(env.prompt.shown.empty());
  EXPECT_EQ(env.prompt.shown.back().text.rfind("Invalid Bailout Gas Mix List file\n\n" + path.toStdString(), 0), 0u);
}

}  // namespace
}  // namespace kv::test
