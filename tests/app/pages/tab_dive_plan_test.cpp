// The profile entry page driven as a diver drives it: fields, buttons, list
// commands, the chart's bailout menu and the settings pages.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "app/charts/graph_widget.h"
#include "app/charts/xy_line_graph.h"
#include "app/models/dive_results_models.h"
#include "app/models/plan_points_model.h"
#include "page_test_util.h"
#include "app/pages/setting_fields.h"
#include "app/pages/tab_dive_plan_bailout_settings.h"
#include "app/pages/tab_dive_plan_dive_settings.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/widgets/spin_field.h"

namespace kv::test {
namespace {

using app::CPlanPointsModel;

void TypeGas(app::CTabDivePlan& page, const QString& text) {
  page.GasField()->setFocus();
  page.GasField()->lineEdit()->clear();
  QTest::keyClicks(page.GasField(), text);
}

QAction* FindAction(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions())
    if (a->text() == text) return a;
  return nullptr;
}

// Enters one row through the fields and Add.
bool EnterRow(app::CTabDivePlan& page, int depth, int minutes, const QString& gas, bool closedCircuit) {
  (closedCircuit ? page.ClosedCircuitButton() : page.OpenCircuitButton())->click();
  page.DepthField()->setValue(depth);
  page.DurationField()->setValue(minutes);
  TypeGas(page, gas);
  return page.AddEntry();
}

TEST(TabDivePlan, EnteringADiveAddsTheSurfaceRowAndCalculatesTheProfile) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 30, 20, "18/45", false));
  h.Pump();

  const auto& points = h.Dive().UserPoints();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].Depth(), 0.0);
  EXPECT_EQ(points[0].m_duration, 0);
  EXPECT_EQ(points[1].Depth(), 30.0);
  EXPECT_EQ(points[1].m_duration, 1200);
  EXPECT_EQ(points[1].m_oxygen, 18.0);
  EXPECT_EQ(points[1].m_helium, 45.0);
  EXPECT_FALSE(points[1].m_closedCircuit);

  // The list shows both rows and highlights the new one.
  const CPlanPointsModel& model = *page.PointsModel();
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.CellText(1, CPlanPointsModel::EColumn::Depth), "30     ");
  EXPECT_EQ(model.CellText(1, CPlanPointsModel::EColumn::Gas), "Gas - 18/45");
  EXPECT_EQ(page.SelectedRow(), 1);

  // Calculated: a profile with the ascent, drawn by the chart.
  ASSERT_GT(h.Dive().ProfilePointCount(), 3);
  const app::CGraphDataSet* depth = page.Chart().FindSeries(QString::fromLatin1(app::kSeriesDepth));
  ASSERT_NE(depth, nullptr);
  EXPECT_EQ(depth->Count(), h.Dive().ProfilePointCount());
  EXPECT_EQ(page.Chart().FullX().max, h.Dive().GetRunTime());
  EXPECT_GT(page.SegmentsModel()->rowCount(), 0);

  // A first entry at 0 m makes a single row.
  CPageHarness second;
  ASSERT_TRUE(EnterRow(*second.page, 0, 0, "Air", false));
  EXPECT_EQ(second.Dive().UserPointCount(), 1);
}

TEST(TabDivePlan, ARefusedPointShowsTheMessageAndChangesNothing) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  // Oxygen at 30 m on the first entry: refused before any surface row is added.
  EXPECT_FALSE(EnterRow(page, 30, 20, "Oxygen", false));
  ASSERT_EQ(h.env.prompt.shown.size(), 1u);
  EXPECT_NE(h.env.prompt.shown[0].text.find("Hyperoxic"), std::string::npos);
  EXPECT_EQ(h.Dive().UserPointCount(), 0);
  EXPECT_EQ(page.PointsModel()->rowCount(), 0);

  ASSERT_TRUE(EnterRow(page, 30, 20, "Air", false));
  h.Pump();
  const bool modifiedBefore = h.Dive().IsModified();
  h.env.prompt.shown.clear();
  // A hypoxic mix at the surface.
  EXPECT_FALSE(EnterRow(page, 0, 5, "10/50", false));
  ASSERT_EQ(h.env.prompt.shown.size(), 1u);
  EXPECT_NE(h.env.prompt.shown[0].text.find("Hypoxic"), std::string::npos);
  EXPECT_EQ(h.Dive().UserPointCount(), 2);
  EXPECT_EQ(page.PointsModel()->rowCount(), 2);
  EXPECT_EQ(h.Dive().IsModified(), modifiedBefore);

  // A typed text that is no gas: the gas field's own message, nothing else.
  h.env.prompt.shown.clear();
  EXPECT_FALSE(EnterRow(page, 20, 5, "32", false));
  ASSERT_EQ(h.env.prompt.shown.size(), 1u);
  EXPECT_EQ(h.env.prompt.shown[0].text.rfind("Invalid entry!", 0), 0u);
  EXPECT_EQ(h.Dive().UserPointCount(), 2);
}

TEST(TabDivePlan, AHypoxicFirstPointExplainsTheSurfacePointItBrings) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  // 10/50 is fine at 60 m (PPO2 0.70) but not in the automatic point at 0 m.
  EXPECT_FALSE(EnterRow(page, 60, 20, "10/50", false));
  ASSERT_EQ(h.env.prompt.shown.size(), 1u);
  EXPECT_EQ(h.env.prompt.shown[0].text,
            "The first point at 60 m needs a point at the surface before it, which the program adds by itself with "
            "the same gas.\n\n10/50 gives a PPO2 of 0.10 at the surface, below the 0.16 limit.\n\nFirst add a point "
            "at 0 m on a gas that can be breathed at the surface (a travel gas), then the point at 60 m.");
  EXPECT_EQ(h.Dive().UserPointCount(), 0);

  // As it says: a travel gas at the surface, then the bottom mix.
  h.env.prompt.shown.clear();
  ASSERT_TRUE(EnterRow(page, 0, 0, "Air", false));
  ASSERT_TRUE(EnterRow(page, 60, 5, "10/50", false));
  EXPECT_TRUE(h.env.prompt.shown.empty());
  EXPECT_EQ(h.Dive().UserPointCount(), 2);
}

TEST(TabDivePlan, TheChartSaysWhyADiveOfAFailedChainHasNoResults) {
  CPageHarness h;
  // Three dives in a row, the second needing more than six hours of
  // decompression; the question is answered No.
  for (int i = 0; i < 2; ++i) h.plan.AddDivePlan();
  GiveSquareDive(*h.plan.GetDive(0), 30, 20);
  GiveSquareDive(*h.plan.GetDive(1), 90, 120);
  GiveSquareDive(*h.plan.GetDive(2), 30, 20);
  ASSERT_TRUE(h.plan.CalculateDivePlans(true, 0, true));
  EXPECT_EQ(app::NotCalculatedText(h.plan, 0), "");
  EXPECT_EQ(app::NotCalculatedText(h.plan, 1),
            "Not calculated: its decompression needs more than 6 hours, and planning beyond 6 hours was declined.");
  EXPECT_EQ(app::NotCalculatedText(h.plan, 2),
            "Not calculated: dive 2 before it could not be calculated, so this dive has no state to start from.");
  h.page->Bind(&h.plan, 2);
  EXPECT_EQ(h.page->Chart().NoticeCaption(), app::NotCalculatedText(h.plan, 2));
  h.page->Bind(&h.plan, 0);
  EXPECT_TRUE(h.page->Chart().NoticeCaption().isEmpty());
  EXPECT_NE(h.page->Chart().FindSeries(QString::fromLatin1(app::kSeriesDepth)), nullptr)
      << "the dive before the failure keeps its profile";
}

TEST(TabDivePlan, InsertUpdateAndDeleteFollowTheHighlightedRow) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 30, 20, "Air", false));
  ASSERT_TRUE(EnterRow(page, 20, 5, "Air", false));  // after row 1
  EXPECT_EQ(h.Dive().UserPoints()[2].Depth(), 20.0);

  page.SetSelectedRow(2);
  page.DepthField()->setValue(25);
  page.DurationField()->setValue(3);
  ASSERT_TRUE(page.InsertEntry());  // before row 2
  EXPECT_EQ(h.Dive().UserPoints()[2].Depth(), 25.0);
  EXPECT_EQ(h.Dive().UserPoints()[3].Depth(), 20.0);

  // Insert with nothing highlighted appends.
  page.SetSelectedRow(-1);
  page.DepthField()->setValue(15);
  ASSERT_TRUE(page.InsertEntry());
  EXPECT_EQ(h.Dive().UserPoints().back().Depth(), 15.0);

  // Clicking a row loads it; Update of an open-circuit row stores setpoint 0.7.
  page.PointList()->selectRow(2);
  EXPECT_EQ(page.DepthField()->value(), 25);
  EXPECT_EQ(page.DurationField()->value(), 3);
  page.DurationField()->setValue(4);
  ASSERT_TRUE(page.UpdateEntry());
  EXPECT_EQ(h.Dive().UserPoints()[2].m_duration, 240);
  EXPECT_EQ(h.Dive().UserPoints()[2].m_setpoint, 0.7);

  page.DeleteEntry();
  EXPECT_EQ(h.Dive().UserPointCount(), 4);
  EXPECT_EQ(page.PointsModel()->rowCount(), 4);
  EXPECT_EQ(h.Dive().UserPoints()[2].Depth(), 20.0);

  // A 90 s point switches the duration column to minutes and seconds.
  CPlanPoint odd = h.Dive().UserPoints()[2];
  odd.m_duration = 90;
  h.Dive().AppendUserPoint(odd);
  h.page->PointsModel()->Reload();
  EXPECT_EQ(page.PointsModel()->CellText(4, CPlanPointsModel::EColumn::Duration), "1:30        ");
  EXPECT_EQ(page.PointsModel()->CellText(1, CPlanPointsModel::EColumn::Duration), "20:00        ");
}

TEST(TabDivePlan, CutCopyPasteEnablingInAndOutOfBailoutMode) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 40, 25, "21/35", true));
  h.Pump();
  page.SetSelectedRow(1);
  app::SListEditEnabling e = page.EditEnabling();
  EXPECT_TRUE(e.cut && e.copy && e.remove);
  EXPECT_FALSE(e.paste);  // nothing copied yet
  page.PasteEntry();
  EXPECT_EQ(h.Dive().UserPointCount(), 2);

  page.CopyEntry();
  EXPECT_TRUE(page.EditEnabling().paste);
  page.PasteEntry();
  EXPECT_EQ(h.Dive().UserPointCount(), 3);
  EXPECT_EQ(page.SelectedRow(), 2);
  page.CutEntry();
  EXPECT_EQ(h.Dive().UserPointCount(), 2);
  h.Pump();

  page.BailoutFromCursor(600);
  h.Pump();
  ASSERT_TRUE(h.Dive().IsBailoutMode());
  ASSERT_EQ(page.PointsModel()->rowCount(), 4);  // the bailout plan points
  page.SetSelectedRow(1);                        // done on the diluent
  e = page.EditEnabling();
  EXPECT_FALSE(e.cut || e.copy || e.remove || e.paste);
  page.DeleteEntry();
  EXPECT_EQ(h.Dive().BailoutPlanPoints().size(), 4u);

  page.SetSelectedRow(2);  // the bailout point itself
  e = page.EditEnabling();
  EXPECT_TRUE(e.cut && e.copy && e.remove);
  EXPECT_TRUE(e.paste);  // the copy made before bailout is still held
  page.CopyEntry();
  page.PasteEntry();
  EXPECT_EQ(h.Dive().BailoutPlanPoints().size(), 5u);
  EXPECT_EQ(h.Dive().UserPointCount(), 2);
}

TEST(TabDivePlan, BailoutFromTheChartMenuShowsTheBailoutProfile) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 40, 25, "21/35", true));
  h.Pump();
  const int normalRunTime = h.Dive().GetRunTime();

  // The cursor on minute 10, then the chart's right-click menu.
  app::CGraphWidget& chart = *page.ChartWidget();
  chart.Graph().MoveCursorBy(600);
  ASSERT_EQ(chart.CursorSecond(), 600);
  std::unique_ptr<QMenu> menu(chart.CreateContextMenu(nullptr));
  EXPECT_EQ(menu->objectName(), "Graph Bailout Pop");
  QAction* bailout = FindAction(menu.get(), "&Bailout from cursor");
  ASSERT_NE(bailout, nullptr);
  ASSERT_TRUE(bailout->isEnabled());
  bailout->trigger();
  h.Pump();

  CDivePlan& dive = h.Dive();
  ASSERT_TRUE(dive.IsBailoutMode());
  EXPECT_EQ(dive.Bailout().time, 600);
  EXPECT_EQ(dive.Bailout().depth, 40.0);
  EXPECT_TRUE(dive.BailoutWalked());
  EXPECT_EQ(page.SettingsTabs()->currentIndex(), 1);
  EXPECT_TRUE(page.Chart().BailoutModeCaption());
  EXPECT_NE(dive.GetRunTime(), normalRunTime);
  // The profile after the bailout is open circuit, with the switch to 50 %.
  bool sawFifty = false;
  for (const CPlanPoint& p : dive.ProfilePoints())
    if (p.m_oxygen == 50.0) sawFifty = !p.m_closedCircuit;
  EXPECT_TRUE(sawFifty);
  EXPECT_EQ(page.Chart().FindSeries(QString::fromLatin1(app::kSeriesDepth))->Count(), dive.ProfilePointCount());

  // In bailout mode the menu offers the way back.
  menu.reset(chart.CreateContextMenu(nullptr));
  EXPECT_EQ(menu->objectName(), "Graph Bailout Pop 2");
  FindAction(menu.get(), "Return to &Dive")->trigger();
  h.Pump();
  EXPECT_FALSE(dive.IsBailoutMode());
  EXPECT_EQ(page.SettingsTabs()->currentIndex(), 0);
  EXPECT_EQ(dive.BailoutPlanPoints().size(), 4u);  // kept
  EXPECT_EQ(dive.GetRunTime(), normalRunTime);
  EXPECT_FALSE(page.Chart().BailoutModeCaption());

  int bottomEnd = -1;
  for (const CPlanPoint& p : dive.ProfilePoints())
    if (p.m_start <= 600 && p.End() >= 600) bottomEnd = p.End();
  page.BailoutFromEndOfSegment(600);
  h.Pump();
  ASSERT_TRUE(dive.IsBailoutMode());
  // From the end of the bottom segment that holds minute 10.
  EXPECT_EQ(dive.Bailout().time, bottomEnd);
  EXPECT_GT(bottomEnd, 600);
  menu.reset(chart.CreateContextMenu(nullptr));
  FindAction(menu.get(), "&Clear Bailout")->trigger();
  h.Pump();
  EXPECT_FALSE(dive.IsBailoutMode());
  EXPECT_TRUE(dive.BailoutPlanPoints().empty());
  EXPECT_EQ(dive.GetRunTime(), normalRunTime);
}

TEST(TabDivePlan, UnitSwitchRelabelsAndConvertsTheFields) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 30, 20, "Air", false));
  h.Pump();
  page.SetImperial(true);
  EXPECT_EQ(page.DepthLabel()->text(), "Depth (ft)");
  EXPECT_EQ(page.DepthField()->maximum(), 1000);
  EXPECT_EQ(page.DepthField()->value(), 98);  // 30 m
  EXPECT_EQ(page.PointsModel()->headerData(1, Qt::Horizontal).toString(), "Depth (ft)");
  EXPECT_EQ(page.PointsModel()->CellText(1, CPlanPointsModel::EColumn::Depth), "98     ");

  app::CSpinField* ead = page.DiveSettingsPage()->Field(app::ESetting::MaxEad);
  EXPECT_EQ(ead->minimum(), 65);
  EXPECT_EQ(ead->maximum(), 230);
  EXPECT_EQ(ead->value(), 114);  // 35 m
  app::CSpinField* sac = page.DiveSettingsPage()->Field(app::ESetting::SacRate);
  EXPECT_DOUBLE_EQ(sac->minimum(), 0.28);
  EXPECT_EQ(sac->decimals(), 2);
  EXPECT_EQ(page.Chart().YTitle(), "Depth (ft)");

  // A depth entered in feet goes to the dive in metres.
  page.SetSelectedRow(-1);
  page.DepthField()->setValue(70);
  ASSERT_TRUE(page.AddEntry());
  EXPECT_NEAR(h.Dive().UserPoints().back().Depth(), 70 * 0.30705, 1e-9);

  page.SetImperial(false);
  EXPECT_EQ(page.DepthLabel()->text(), "Depth (m)");
  EXPECT_EQ(ead->value(), 35);
}

// A row shown in feet and updated without touching its depth keeps the
// metres it has: 40 m shows as 130 ft, which is 39.92 m.
TEST(TabDivePlan, AnUnchangedUpdateInFeetKeepsTheStoredDepth) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 40, 20, "21/35", false));
  h.Pump();
  page.SetImperial(true);
  page.PointList()->selectionModel()->setCurrentIndex(page.PointsModel()->index(1, 0),
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  EXPECT_EQ(page.DepthField()->value(), 130);
  page.DurationField()->setValue(25);
  ASSERT_TRUE(page.UpdateEntry());
  EXPECT_EQ(h.Dive().UserPoints()[1].Depth(), 40.0);
  EXPECT_EQ(h.Dive().UserPoints()[1].m_duration, 25 * 60);
  page.DepthField()->setValue(131);
  ASSERT_TRUE(page.UpdateEntry());
  EXPECT_NEAR(h.Dive().UserPoints()[1].Depth(), 131 * 0.30705, 1e-9) << "a changed depth is the feet typed";
}

TEST(TabDivePlan, SettingsPagesApplyWithinTheirRangesAndRules) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 40, 25, "21/35", true));
  h.Pump();
  CDivePlan& dive = h.Dive();
  QTest::qWait(0);

  app::CSpinField* gfHigh = page.DiveSettingsPage()->Field(app::ESetting::GfHigh);
  const std::int64_t stampBefore = dive.GetTimeStamp();
  gfHigh->setFocus();
  gfHigh->selectAll();
  QTest::keyClicks(gfHigh, "70");
  QTest::keyClick(gfHigh, Qt::Key_Return);  // moves on and applies
  EXPECT_FALSE(gfHigh->hasFocus());
  EXPECT_EQ(dive.GetGfHigh(), 70.0);
  h.Pump();
  EXPECT_GE(dive.GetTimeStamp(), stampBefore);

  // Leaving an imperial field unchanged does not store its rounding.
  page.SetImperial(true);
  dive.SetModified(false);
  app::CSpinField* ead = page.DiveSettingsPage()->Field(app::ESetting::MaxEad);
  page.ApplySetting(app::ESetting::MaxEad);
  EXPECT_EQ(dive.GetMaxEad(), 35.0);
  EXPECT_FALSE(dive.IsModified());
  ead->setValue(100);
  page.ApplySetting(app::ESetting::MaxEad);
  EXPECT_NEAR(dive.GetMaxEad(), 100 * 0.30705, 1e-9);
  page.SetImperial(false);

  // Bailout settings are not applied outside bailout mode.
  page.SettingsTabs()->setCurrentIndex(1);
  QTest::qWait(0);
  app::CSpinField* cns = page.BailoutSettingsPage()->Field(app::ESetting::BailoutMaxCns);
  EXPECT_FALSE(page.BailoutSettingsPage()->isEnabled());
  cns->setValue(150);
  page.ApplySetting(app::ESetting::BailoutMaxCns);
  EXPECT_EQ(dive.BailoutSettings().maxCns, 100.0);

  page.BailoutFromCursor(600);
  h.Pump();
  ASSERT_TRUE(page.BailoutSettingsPage()->isEnabled());
  // Typing 90 into Max CNS and leaving it shows 100.
  cns->setFocus();
  cns->selectAll();
  QTest::keyClicks(cns, "90");
  QTest::keyClick(cns, Qt::Key_Tab);
  EXPECT_EQ(cns->value(), 100.0);
  cns->setValue(120);
  page.ApplySetting(app::ESetting::BailoutMaxCns);
  EXPECT_EQ(dive.BailoutSettings().maxCns, 120.0);

  // "Use Bailout Gas List" adds the gas list page and disables the switch count.
  ASSERT_EQ(page.SettingsTabs()->count(), 2);
  page.BailoutSettingsPage()->UseGasListBox()->click();
  EXPECT_EQ(page.SettingsTabs()->count(), 3);
  EXPECT_EQ(page.SettingsTabs()->tabText(2), "Bailout Gas List");
  EXPECT_TRUE(dive.BailoutSettings().useBailoutGasList);
  EXPECT_FALSE(page.BailoutSettingsPage()->Field(app::ESetting::BailoutNoOfGasSwitches)->isEnabled());
  page.BailoutSettingsPage()->UseGasListBox()->click();
  EXPECT_EQ(page.SettingsTabs()->count(), 2);
  h.Pump();
  EXPECT_TRUE(page.BailoutSettingsPage()->Field(app::ESetting::BailoutNoOfGasSwitches)->isEnabled());

  // Back on the normal plan the bailout settings are shown but not editable;
  // entering bailout again with the list in use keeps the count disabled.
  dive.SetBailoutUseGasList(true);
  page.ReturnToDive();
  h.Pump();
  EXPECT_FALSE(page.BailoutSettingsPage()->isEnabled());
  page.BailoutFromCursor(600);
  h.Pump();
  EXPECT_TRUE(page.BailoutSettingsPage()->isEnabled());
  EXPECT_FALSE(page.BailoutSettingsPage()->Field(app::ESetting::BailoutNoOfGasSwitches)->isEnabled());
  EXPECT_EQ(page.SettingsTabs()->count(), 3);
}

// A bailout planned from a list with items the planner cannot use says so,
// once for each list.
TEST(TabDivePlan, ABailoutFromTheListSaysOnceWhichItemsItLeftOut) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 40, 20, "21/35", true));
  h.Pump();
  CDivePlan& dive = h.Dive();
  dive.SetBailoutUseGasList(true);
  dive.SetBailoutGasList("21/35,50%,50/0");
  page.BailoutFromCursor(600);
  h.Pump();
  auto told = [&] {
    int n = 0;
    for (const auto& shown : h.env.prompt.shown) n += shown.text.find("leaves out") != std::string::npos;
    return n;
  };
  ASSERT_EQ(told(), 1);
  EXPECT_NE(h.env.prompt.shown.back().text.find("\"50%\" is not a mix written as O2/He"), std::string::npos);
  page.Refresh();
  dive.SetBailoutGasList("21/35,50%,50/0,100/0");
  h.Pump();
  EXPECT_EQ(told(), 1) << "once for the same items";
  dive.SetBailoutGasList("21/35,50/0,Oxygen");
  h.Pump();
  EXPECT_EQ(told(), 2) << "other items left out are told";
}

// Tab walks the entry fields in the order a point is read out: depth,
// duration, the mode chosen, the gas, the setpoint, NCS, then the buttons.
TEST(TabDivePlan, TabWalksTheEntryFieldsInReadingOrder) {
  CPageHarness h;
  ASSERT_TRUE(h.active);
  app::CTabDivePlan& page = *h.page;
  const std::vector<std::pair<QWidget*, std::string>> named = {
      {page.DepthField(), "depth"},        {page.DurationField(), "duration"},
      {page.ClosedCircuitButton(), "CC"},  {page.OpenCircuitButton(), "OC"},
      {page.GasField(), "gas"},            {page.SetpointField(), "setpoint"},
      {page.NoClearSurfaceBox(), "NCS"},   {page.AddButton(), "Add"},
      {page.InsertButton(), "Insert"},     {page.UpdateButton(), "Update"},
      {page.DeleteButton(), "Delete"}};
  EXPECT_EQ(TabWalk(page.DepthField(), named, 10),
            (std::vector<std::string>{"depth", "duration", "CC", "gas", "setpoint", "NCS", "Add", "Insert", "Update",
                                      "Delete"}));
}

TEST(TabDivePlan, OpenCircuitShowsThePpo2AtTheDivesSurfacePressure) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  page.OpenCircuitButton()->click();
  EXPECT_FALSE(page.SetpointField()->isVisibleTo(&page));
  EXPECT_TRUE(page.Ppo2Display()->isVisibleTo(&page));
  page.DepthField()->setValue(30);
  TypeGas(page, "32%");
  page.GasField()->LeaveField();
  EXPECT_EQ(page.Ppo2Display()->text(), "1.28");  // (1000 + 3000) / 1000 x 0.32
  h.Dive().SetSurfacePressure(900);
  page.Refresh();
  EXPECT_EQ(page.Ppo2Display()->text(), "1.25");

  Prefs().SetNumber(EPref::DefaultPpo2, 1200);
  page.ClosedCircuitButton()->click();
  EXPECT_TRUE(page.SetpointField()->isVisibleTo(&page));
  EXPECT_DOUBLE_EQ(page.SetpointField()->value(), 1.2);
}

}  // namespace
}  // namespace kv::test

namespace kv::test {
namespace {

TEST(TabDivePlan, WithoutAutoRecalcTheChartSaysARecalculationIsRequired) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(EnterRow(page, 30, 20, "Air", false));
  h.Pump();
  EXPECT_FALSE(page.Chart().RecalculationCaption());
  h.plan.SetAutoRecalc(false);
  page.SetSelectedRow(1);
  page.DurationField()->setValue(25);
  ASSERT_TRUE(page.UpdateEntry());
  h.Pump();
  EXPECT_TRUE(page.Chart().RecalculationCaption());
  h.plan.Recalculate(0);
  h.Pump();
  EXPECT_FALSE(page.Chart().RecalculationCaption());
}

TEST(TabDivePlan, KeyboardAloneEntersARowAndTheCursorReportsItsSecond) {
  CPageHarness h;
  app::CTabDivePlan& page = *h.page;
  ASSERT_TRUE(h.active);
  QSignalSpy shown(&page, &app::CTabDivePlan::secondShown);
  page.DepthField()->setFocus();
  page.DepthField()->selectAll();
  QTest::keyClicks(page.DepthField(), "20");
  QTest::keyClick(page.DepthField(), Qt::Key_Return);
  EXPECT_TRUE(page.DurationField()->hasFocus());
  QTest::keyClicks(page.DurationField(), "15");
  QTest::keyClick(page.DurationField(), Qt::Key_Return);
  page.GasField()->setFocus();
  page.GasField()->lineEdit()->clear();
  QTest::keyClicks(page.GasField(), "32%");
  QTest::keyClick(page.GasField(), Qt::Key_Return);  // leaves the field, reading the gas
  EXPECT_EQ(page.GasField()->currentText(), "32% Nitrox");
  // Alt+A, or Tab to the button and Space.
  EXPECT_EQ(page.AddButton()->shortcut(), QKeySequence(Qt::ALT | Qt::Key_A));
  page.AddButton()->setFocus();
  QTest::keyClick(page.AddButton(), Qt::Key_Space);
  ASSERT_EQ(h.Dive().UserPointCount(), 2);
  EXPECT_EQ(h.Dive().UserPoints()[1].m_oxygen, 32.0);
  EXPECT_EQ(h.Dive().UserPoints()[1].m_duration, 15 * 60);
  h.Pump();

  // The chart's cursor moves with the arrow keys and names its second.
  page.ChartWidget()->setFocus();
  QTest::keyClick(page.ChartWidget(), Qt::Key_Right, Qt::ControlModifier);
  ASSERT_FALSE(shown.isEmpty());
  EXPECT_EQ(shown.last(), (QList<QVariant>{0, 60}));
}

}  // namespace
}  // namespace kv::test
