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
  page.SetListText("15/55, 21/35, 50%, Oxygen,nonsense,50/0");
  EXPECT_EQ(Rows(page), (QStringList{"Oxygen", "50% Nitrox", "50% Nitrox", "15/55", "21/35"}));
  EXPECT_EQ(page.ListText(), "100/0,50/0,50/0,15/55,21/35");
}

TEST(BailoutGasList, AddsUpToTwelveDistinctGasesAndDeletesSelectedRows) {
  CTestEnvironment env;
  GuiApp();
  CTabDivePlanBailoutGasList page;
  QSignalSpy changed(&page, &CTabDivePlanBailoutGasList::listChanged);
  page.SetListText("21/0");
  EXPECT_EQ(changed.size(), 0);
  page.GasField()->setEditText("18/45");
  page.Add();
  EXPECT_EQ(page.ListText(), "21/0,18/45");
  EXPECT_EQ(changed.size(), 1);
  page.GasField()->setEditText("air");
  page.Add();  // already listed
  EXPECT_EQ(page.Count(), 2);

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
