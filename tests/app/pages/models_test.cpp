// The item models of the dive page under QAbstractItemModelTester, through
// the edits the page makes.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <algorithm>

#include "app/models/dive_results_models.h"
#include "app/models/plan_points_model.h"
#include "page_test_util.h"

namespace kv::test {
namespace {

using app::CPlanPointsModel;
using C = CPlanPointsModel::EColumn;

TEST(PlanPointsModel, FollowsEditsRowByRowAndShowsTheNcsColumnOnlyWhenUsed) {
  CTestEnvironment env;
  GuiApp();
  CDivePlan dive;
  CPlanPointsModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.SetDive(&dive);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

  dive.AppendUserPoint(UserPoint(0, 0, 21, 0, false));
  model.PointInserted(0);
  dive.AppendUserPoint(UserPoint(30, 1200, 21, 0, false));
  model.PointInserted(1);
  EXPECT_EQ(inserted.size(), 2);
  EXPECT_EQ(reset.size(), 0);
  EXPECT_EQ(model.columnCount(), 6);

  // A "No Clear Surface" point brings its column; removing it takes it away.
  CPlanPoint overhead = UserPoint(25, 300, 21, 0, false);
  overhead.m_noClearSurface = 1;
  dive.AppendUserPoint(overhead);
  model.PointInserted(2);
  ASSERT_EQ(model.columnCount(), 7);
  EXPECT_EQ(model.ColumnKind(2), C::NoClearSurface);
  EXPECT_EQ(model.data(model.index(2, 2)).toString(), "NCS");
  dive.DeletePoint(2);
  model.PointRemoved(2);
  EXPECT_EQ(model.columnCount(), 6);

  // Texts of the list.
  EXPECT_EQ(model.CellText(1, C::Number), "02");
  EXPECT_EQ(model.CellText(1, C::Duration), "20        ");
  EXPECT_EQ(model.CellText(1, C::Mode), "OC");
  EXPECT_EQ(model.CellText(1, C::Ppo2), " 0.84");
  dive.SetSurfacePressure(800);
  model.SettingsChanged();
  EXPECT_EQ(model.CellText(1, C::Ppo2), " 0.80");
  CPlanPoint cc = UserPoint(30, 90, 10, 50, true, 1.2);
  dive.AppendUserPoint(cc);
  model.PointInserted(2);
  EXPECT_EQ(model.CellText(2, C::Gas), "Dil - 10/50");
  EXPECT_EQ(model.CellText(2, C::Ppo2), " 1.20");
  EXPECT_EQ(model.CellText(2, C::Duration), "1:30        ");
  EXPECT_EQ(model.CellText(1, C::Duration), "20:00        ");

  // A list changed behind the model's back (a rebuilt bailout plan) resets it.
  dive.AppendUserPoint(cc);
  dive.AppendUserPoint(cc);
  model.PointInserted(3);
  EXPECT_EQ(reset.size(), 1);
  EXPECT_EQ(model.rowCount(), 5);
  model.Sync();
  EXPECT_EQ(reset.size(), 1);
  model.SetDive(nullptr);
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(DiveResultModels, ResetOnEachCalculation) {
  CTestEnvironment env;
  GuiApp();
  CDivePlan dive;
  app::CDiveSegmentsModel segments;
  app::CGasWarningsModel warnings;
  QAbstractItemModelTester t1(&segments, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QAbstractItemModelTester t2(&warnings, QAbstractItemModelTester::FailureReportingMode::Fatal);
  segments.SetDive(&dive);
  warnings.SetDive(&dive);
  EXPECT_EQ(segments.rowCount(), 0);

  dive.AppendUserPoint(UserPoint(0, 0, 21, 0, false));
  dive.AppendUserPoint(UserPoint(70, 600, 21, 0, false));
  ASSERT_TRUE(dive.Calculate(0, nullptr, nullptr, 0, 0, true));
  segments.Reload();
  warnings.Reload();
  ASSERT_EQ(segments.rowCount(), dive.SegmentCount());
  const CDiveSegment& bottom = dive.Segments()[1];
  EXPECT_EQ(segments.data(segments.index(1, app::CDiveSegmentsModel::kRunTime)).toString(),
            QString::asprintf("%d:%02d", bottom.m_end / 60, bottom.m_end % 60));
  EXPECT_EQ(warnings.rowCount(), static_cast<int>(dive.GasWarnings().size()));
  EXPECT_GE(warnings.WarningCount(), 1);  // air at 70 m is over the PPO2 limit
  EXPECT_EQ(warnings.data(warnings.index(0, app::CGasWarningsModel::kGas)).toString(), "Air");

  dive.ClearResults();
  segments.Reload();
  warnings.Reload();
  EXPECT_EQ(segments.rowCount(), 0);
  EXPECT_EQ(warnings.WarningCount(), 0);
}

// From the helium mix to 32 % at 30 m, and again to 50 % at 21 m, the EAD
// jumps by more than the margin to the ceiling; nothing else is wrong with
// the dive, and the Warnings tab still counts both gases.
TEST(DiveResultModels, GasesWhoseOnlyWarningIsIcdCount) {
  CTestEnvironment env;
  GuiApp();
  CDivePlan dive;
  for (const CPlanPoint& p : {UserPoint(0, 0, 21, 0, false), UserPoint(50, 1500, 15, 55, false),
                              UserPoint(30, 600, 32, 0, false), UserPoint(30, 600, 15, 55, false),
                              UserPoint(21, 0, 50, 0, false), UserPoint(6, 0, 100, 0, false)})
    dive.AppendUserPoint(p);
  dive.SetMaxEad(60);
  ASSERT_TRUE(dive.Calculate(0, nullptr, nullptr, 0, 0, true));
  std::vector<std::string> records;
  for (const CDiveGasWarning& w : dive.GasWarnings()) records.push_back(w.DisplayText());
  EXPECT_EQ(records, (std::vector<std::string>{"32% Nitrox~ICD Risk", "50% Nitrox~ICD Risk"}));
  app::CGasWarningsModel warnings;
  warnings.SetDive(&dive);
  EXPECT_EQ(warnings.WarningCount(), 2);
}

TEST(DiveResultModels, TheWarningsListTheOxygenExposureTheBandShows) {
  CTestEnvironment env;
  GuiApp();
  // Oxygen at 6 m is 1.6 bar: three hours are far beyond 100 % CNS and 300 OTU,
  // and no gas warning says so.
  CDivePlan dive;
  dive.AppendUserPoint(UserPoint(0, 0, 100, 0, false));
  dive.AppendUserPoint(UserPoint(6, 180 * 60, 100, 0, false));
  ASSERT_TRUE(dive.Calculate(0, nullptr, nullptr, 0, 0, true));
  app::CGasWarningsModel warnings;
  QAbstractItemModelTester tester(&warnings, QAbstractItemModelTester::FailureReportingMode::Fatal);
  warnings.SetDive(&dive);

  const std::vector<app::SExposureWarning> exposure = app::ExposureWarnings(dive);
  ASSERT_EQ(exposure.size(), 2u);
  // Independently: the first and last second flagged and the highest CNS.
  int first = -1, last = -1;
  double highest = 0.0;
  for (int i = 1; i < dive.PredictionCount(); ++i) {
    const CPredictionPoint* p = dive.Prediction(i);
    if (!(p->m_warningFlags & kWarnCns)) continue;
    if (first < 0) first = p->m_time;
    last = p->m_time;
    highest = std::max(highest, p->m_cns * 100.0);
  }
  EXPECT_EQ(exposure[0], (app::SExposureWarning{kWarnCns, first, last, highest}));
  EXPECT_EQ(exposure[1].flag, kWarnOtu);

  const int gasRows = static_cast<int>(dive.GasWarnings().size());
  ASSERT_EQ(warnings.rowCount(), gasRows + 2);
  EXPECT_EQ(warnings.data(warnings.index(gasRows, app::CGasWarningsModel::kGas)).toString(), "CNS");
  const QString cns = warnings.data(warnings.index(gasRows, app::CGasWarningsModel::kHighO2)).toString();
  EXPECT_TRUE(cns.startsWith(QStringLiteral("CNS above 100 % from %1 to ")
                                 .arg(app::CGraph::MinutesSeconds(first))))
      << cns.toStdString();
  EXPECT_EQ(warnings.data(warnings.index(gasRows + 1, app::CGasWarningsModel::kGas)).toString(), "OTU");
  EXPECT_GE(warnings.WarningCount(), 2);

  // A dive within the limits lists no exposure.
  CDivePlan shallow;
  shallow.AppendUserPoint(UserPoint(0, 0, 21, 0, false));
  shallow.AppendUserPoint(UserPoint(10, 600, 21, 0, false));
  ASSERT_TRUE(shallow.Calculate(0, nullptr, nullptr, 0, 0, true));
  EXPECT_TRUE(app::ExposureWarnings(shallow).empty());
}

}  // namespace
}  // namespace kv::test
