// The bailout gas list page: order, limits, and files.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QFileInfo>
#include <QFont>
#include <QListView>
#include <fstream>
#include <QPushButton>
#include <QSignalSpy>

#include "page_test_util.h"
#include "app/models/gas_mix_list_model.h"
#include "app/pages/tab_dive_plan_bailout_gas_list.h"
#include "app/widgets/gas_combo_completion.h"

namespace kv::test {
namespace {

using app::CTabDivePlanBailoutGasList;

QVariant Cell(const CTabDivePlanBailoutGasList& page, int row, int role = Qt::DisplayRole) {
  return page.List()->model()->index(row, 0).data(role);
}

QStringList Rows(const CTabDivePlanBailoutGasList& page) {
  QStringList rows;
  for (int i = 0; i < page.List()->model()->rowCount(); ++i) rows << Cell(page, i).toString();
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
  QAbstractItemModelTester tester(page.ListModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  page.SetListText("15/55, 21/35, 50%, Oxygen,50/0");
  EXPECT_EQ(Rows(page), (QStringList{"50% Nitrox", "15/55", "21/35", " 50%", " Oxygen"}));
  EXPECT_TRUE(Cell(page, 0, Qt::ToolTipRole).toString().isEmpty());
  EXPECT_FALSE(Cell(page, 0, Qt::FontRole).value<QFont>().italic());
  EXPECT_EQ(Cell(page, 3, Qt::ToolTipRole).toString(),
            "The bailout planner leaves this out: \" 50%\" is not a mix written as O2/He");
  EXPECT_TRUE(Cell(page, 4, Qt::FontRole).value<QFont>().italic());
  EXPECT_TRUE(Cell(page, 4, Qt::ForegroundRole).isValid()) << "greyed";

  // Fifteen mixes: the planner takes the first twelve as the list holds them.
  std::string fifteen;
  for (int o = 10; o < 25; ++o) fifteen += (fifteen.empty() ? "" : ",") + std::to_string(o) + "/40";
  page.SetListText(fifteen);
  ASSERT_EQ(page.Count(), 15);
  int left = 0;
  for (int r = 0; r < page.Count(); ++r) {
    const QString tip = Cell(page, r, Qt::ToolTipRole).toString();
    if (tip.isEmpty()) continue;
    ++left;
    EXPECT_TRUE(tip.endsWith("is beyond the first 12 gases")) << tip.toStdString();
    EXPECT_GE(Cell(page, r).toString().left(2).toInt(), 22) << "22/40, 23/40 and 24/40";
  }
  EXPECT_EQ(left, 3);
  EXPECT_FALSE(page.AddButton()->isEnabled());
}

TEST(BailoutGasList, AddsUpToTwelveDistinctGasesAndDeletesSelectedRows) {
  CTestEnvironment env;
  GuiApp();
  CTabDivePlanBailoutGasList page;
  QAbstractItemModelTester tester(page.ListModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
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

  for (int row : {1, 3})
    page.List()->selectionModel()->select(page.List()->model()->index(row, 0), QItemSelectionModel::Select);
  page.DeleteSelected();
  EXPECT_EQ(page.Count(), 10);
  EXPECT_EQ(page.List()->currentIndex().row(), 0);
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
