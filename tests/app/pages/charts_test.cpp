// The chart engine and the profile and tissue charts: series built from a
// calculated dive, axis ticks, the mouse, the menus, the readout and the
// pixels of the warning band.

#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QPainter>
#include <cmath>

#include "app/charts/bar_graph.h"
#include "app/charts/graph_widget.h"
#include "app/charts/profile_chart_data.h"
#include "app/charts/xy_line_graph.h"
#include "page_test_util.h"

namespace kv::test {
namespace {

using app::CGraph;
using app::CGraphDataSet;
using app::SChartContent;

// A calculated dive on its own (no plan): the user points as given.
std::unique_ptr<CDivePlan> Calculated(std::initializer_list<CPlanPoint> points) {
  auto dive = std::make_unique<CDivePlan>();
  for (const CPlanPoint& p : points) dive->AppendUserPoint(p);
  EXPECT_TRUE(dive->Calculate(0, nullptr, nullptr, 0, 0, true));
  return dive;
}

std::vector<const CGraphDataSet*> Named(const SChartContent& c, const char* name) {
  std::vector<const CGraphDataSet*> found;
  for (const CGraphDataSet& s : c.series)
    if (s.Name() == QLatin1String(name)) found.push_back(&s);
  return found;
}

TEST(ProfileChart, SeriesFollowTheCalculatedDive) {
  CTestEnvironment env;
  CPlanPoint overhead = UserPoint(30, 20 * 60, 21, 0, false, 0.7);
  overhead.m_noClearSurface = 1;
  auto dive = Calculated({UserPoint(0, 0, 21, 0, false, 0.7), overhead, UserPoint(21, 0, 50, 0, false, 0.7)});
  const SChartContent c = app::BuildProfileChart(*dive, false);
  const int n = dive->PredictionCount();
  const int k = std::max(1, n / 1000);

  const auto ceiling = Named(c, app::kSeriesCeiling);
  ASSERT_EQ(ceiling.size(), 1u);
  ASSERT_EQ(ceiling[0]->Count(), (n + k - 1) / k);
  EXPECT_EQ(ceiling[0]->Colour(), QColor(0, 255, 255));
  for (int i = 0; i < ceiling[0]->Count(); i += 97) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ceiling[0]->Points()[static_cast<std::size_t>(i)].x, i * k);
    EXPECT_DOUBLE_EQ(ceiling[0]->Points()[static_cast<std::size_t>(i)].y, dive->GetCeiling(i * k));
  }

  const auto band = Named(c, CGraphDataSet::kErrorBar);
  ASSERT_EQ(band.size(), 1u);
  ASSERT_EQ(band[0]->Count(), n - 1);
  for (int t = 1; t < n; ++t)
    ASSERT_EQ(band[0]->Points()[static_cast<std::size_t>(t - 1)].y, dive->Prediction(t)->m_warningFlags ? 1.0 : 0.0);

  // The overhead bar spans the 30 m point, thick and salmon.
  const auto bars = Named(c, app::kSeriesOverhead);
  ASSERT_FALSE(bars.empty());
  EXPECT_EQ(bars[0]->LineWidth(), 5);
  EXPECT_EQ(bars[0]->Colour(), QColor(255, 160, 122));
  EXPECT_EQ(bars[0]->Points()[0].y, 30.0);

  // One cross where the breathing changes: the switch to 50 % at 21 m.
  const auto& profile = dive->ProfilePoints();
  int changes = 0;
  for (std::size_t i = 1; i + 1 < profile.size(); ++i) changes += profile[i].SameBreathing(profile[i + 1]) ? 0 : 1;
  const auto crosses = Named(c, app::kSeriesGasSwitch);
  EXPECT_EQ(static_cast<int>(crosses.size()), changes);
  ASSERT_FALSE(crosses.empty());
  EXPECT_EQ(crosses[0]->Marker(), CGraphDataSet::kMarkerCross);
  EXPECT_EQ(crosses[0]->Points()[0], crosses[0]->Points()[1]);

  const auto depth = Named(c, app::kSeriesDepth);
  ASSERT_EQ(depth.size(), 1u);
  ASSERT_EQ(depth[0]->Count(), dive->ProfilePointCount());
  EXPECT_EQ(depth[0]->Points().back().x, dive->GetRunTime());
  EXPECT_EQ(c.x.max, dive->GetRunTime());
  EXPECT_GE(c.y.max, 30.0);

  // Feet: every depth times 3.2568.
  const SChartContent feet = app::BuildProfileChart(*dive, true);
  EXPECT_DOUBLE_EQ(Named(feet, app::kSeriesDepth)[0]->Points()[1].y, depth[0]->Points()[1].y * 3.2568);

  // A dive without points has nothing to draw.
  CDivePlan empty;
  EXPECT_TRUE(app::BuildProfileChart(empty, false).series.empty());
}

TEST(ProfileChart, LongDivesDrawEveryThirdSecondOfTheCeiling) {
  CTestEnvironment env;
  auto dive = Calculated({UserPoint(0, 0, 21, 0, false, 0.7), UserPoint(25, 33 * 60, 21, 0, false, 0.7)});
  const int n = dive->PredictionCount();
  ASSERT_GE(n, 3000);
  ASSERT_LT(n, 4000);
  const SChartContent c = app::BuildProfileChart(*dive, false);
  EXPECT_EQ(Named(c, app::kSeriesCeiling)[0]->Points()[1].x, 3.0);
}

int RedPixelsOnRow(const QImage& image, int y) {
  int count = 0;
  for (int x = 0; x < image.width(); ++x) {
    const QColor c = image.pixelColor(x, y);
    count += c.red() > 200 && c.green() < 60 && c.blue() < 60;
  }
  return count;
}

TEST(ProfileChart, TheWarningBandShowsOnlyForSecondsWithWarnings) {
  CTestEnvironment env;
  GuiApp();
  auto clean = Calculated({UserPoint(0, 0, 21, 0, false, 0.7), UserPoint(30, 10 * 60, 21, 0, false, 0.7)});
  // Air at 70 m: PPO2 1.68, over the 1.6 limit for the whole bottom time.
  auto high = Calculated({UserPoint(0, 0, 21, 0, false, 0.7), UserPoint(70, 10 * 60, 21, 0, false, 0.7)});
  app::CXYLineGraph graph;
  QImage image(800, 400, QImage::Format_ARGB32);
  const QRectF area(image.rect());
  const int bandRow = static_cast<int>(graph.PlotRect(area).top() + 5);

  graph.SetContent(app::BuildProfileChart(*clean, false));
  {
    QPainter p(&image);
    graph.Paint(p, area);
  }
  EXPECT_EQ(RedPixelsOnRow(image, bandRow), 0);

  graph.SetContent(app::BuildProfileChart(*high, false));
  {
    QPainter p(&image);
    graph.Paint(p, area);
  }
  EXPECT_GT(RedPixelsOnRow(image, bandRow), 100);
}

TEST(ChartEngine, TicksAreRoundValuesAndTimesReadMinutesAndSeconds) {
  app::SAxisTicks t = CGraph::MakeTicks({0, 7200}, 8, true);
  ASSERT_EQ(t.values.size(), 9u);
  EXPECT_EQ(t.values[1], 900.0);
  EXPECT_EQ(CGraph::TickLabel(t.values[1], t.decimals, true), "15:00");
  EXPECT_EQ(CGraph::TickLabel(7200, 0, true), "120:00");
  EXPECT_EQ(CGraph::TickLabel(65, 0, true), "01:05");

  t = CGraph::MakeTicks({0, 83}, 5, false);
  EXPECT_EQ(t.values, (std::vector<double>{0, 20, 40, 60, 80}));
  EXPECT_EQ(t.decimals, 0);
  t = CGraph::MakeTicks({0.2, 1.7}, 4, false);
  EXPECT_EQ(t.values, (std::vector<double>{0.5, 1.0, 1.5}));
  EXPECT_EQ(CGraph::TickLabel(1.5, t.decimals, false), "1.5");
  EXPECT_EQ(CGraph::MakeTicks({5, 5}, 4, false).values.size(), 1u);
}

TEST(ChartEngine, LongDivesAreLabelledInHoursAndMinutes) {
  // An 18-hour dive reads "18:00", not "1080:00".
  app::SAxisTicks t = CGraph::MakeTicks({0, 64800}, 8, true);
  QStringList labels = CGraph::TimeTickLabels(t, {0, 64800});
  EXPECT_EQ(labels.front(), "0:00");
  EXPECT_EQ(labels.back(), "18:00");
  EXPECT_TRUE(labels.contains("3:00")) << labels.join(' ').toStdString();
  // Below 100 minutes minutes and seconds, as before.
  t = CGraph::MakeTicks({0, 3600}, 8, true);
  labels = CGraph::TimeTickLabels(t, {0, 3600});
  EXPECT_EQ(labels.back(), "60:00");
  // Zoomed into seconds late in a long dive: hours, minutes and seconds.
  t = CGraph::MakeTicks({7200, 7260}, 6, true);
  labels = CGraph::TimeTickLabels(t, {7200, 7260});
  EXPECT_EQ(labels.front(), "2:00:00");
  EXPECT_EQ(labels[1], "2:00:10");
}

TEST(ChartEngine, DraggingZoomsTimeClicksPinTheCursorAndResetRestores) {
  CTestEnvironment env;
  GuiApp();
  app::CXYLineGraph graph;
  graph.SetRanges({0, 6000}, {0, 80});
  const QRectF area(0, 0, 1058, 478);  // a plot of 1000 x 400 pixels
  const QRectF plot = graph.PlotRect(area);
  ASSERT_DOUBLE_EQ(plot.width(), 984.0);
  auto at = [&](double second, double depth) { return graph.ToPixel({second, depth}, plot); };

  // A click pins the cursor where it is; the mouse then no longer moves it.
  graph.MouseMove(at(1200, 10), area);
  EXPECT_NEAR(*graph.CursorX(), 1200, 1e-6);
  graph.MousePress(at(1200, 10), area);
  graph.MouseRelease(at(1200, 10), area);
  EXPECT_TRUE(graph.CursorPersistent());
  graph.MouseMove(at(3000, 10), area);
  EXPECT_NEAR(*graph.CursorX(), 1200, 1e-6);
  graph.MousePress(at(3000, 10), area);
  graph.MouseRelease(at(3000, 10), area);
  EXPECT_FALSE(graph.CursorPersistent());

  // A drag zooms the time axis only: the profile chart is time-only.
  graph.MousePress(at(1000, 20), area);
  graph.MouseMove(at(2000, 40), area);
  EXPECT_TRUE(graph.Dragging());
  const QPointF release = at(2000, 40);
  graph.MouseRelease(release, area);
  EXPECT_NEAR(graph.ViewX().min, 1000, 1e-6);
  EXPECT_NEAR(graph.ViewX().max, 2000, 1e-6);
  EXPECT_EQ(graph.ViewY(), graph.FullY());
  EXPECT_TRUE(graph.IsZoomed());
  // The readout follows the mouse again at once: the cursor is the second
  // under the mouse where it was let go, read in the new view.
  ASSERT_TRUE(graph.CursorX().has_value());
  EXPECT_NEAR(*graph.CursorX(), graph.ToValue(release, plot).x, 1e-6);
  EXPECT_NEAR(*graph.CursorX(), 1000 + 1000.0 / 3, 1e-6);
  EXPECT_FALSE(graph.CursorPersistent());
  graph.MouseMove(at(1500, 10), area);
  EXPECT_NEAR(*graph.CursorX(), 1500, 1e-6);

  // New content with the same ranges keeps the zoom; other ranges reset it.
  graph.SetRanges({0, 6000}, {0, 80});
  EXPECT_TRUE(graph.IsZoomed());
  graph.ResetZoom();
  EXPECT_FALSE(graph.IsZoomed());

  // Panning moves the view by the dragged distance.
  graph.SetMode(CGraph::EMode::Pan);
  graph.MousePress(at(3000, 40), area);
  graph.MouseMove(at(2000, 40), area);
  graph.MouseRelease(at(2000, 40), area);
  EXPECT_NEAR(graph.ViewX().min, 1000, 1e-6);
  EXPECT_NEAR(graph.ViewX().max, 7000, 1e-6);
}

TEST(ChartEngine, TheRightClickMenuFollowsTheChartAndTheDive) {
  CTestEnvironment env;
  GuiApp();
  app::CGraphWidget bailoutChart(std::make_unique<app::CXYLineGraph>());
  std::unique_ptr<QMenu> menu(bailoutChart.CreateContextMenu(nullptr));
  EXPECT_EQ(menu->objectName(), "Graph Bailout Pop");
  ASSERT_EQ(menu->actions().size(), 3);
  EXPECT_EQ(menu->actions()[0]->text(), "&Bailout from cursor");
  EXPECT_EQ(menu->actions()[1]->text(), "Bailout from end of &segment");
  EXPECT_EQ(menu->actions()[2]->text(), "&Reset Zoom");
  EXPECT_FALSE(menu->actions()[0]->isEnabled());  // no cursor yet

  bailoutChart.Graph().SetBailoutModeCaption(true);
  menu.reset(bailoutChart.CreateContextMenu(nullptr));
  EXPECT_EQ(menu->objectName(), "Graph Bailout Pop 2");
  EXPECT_EQ(menu->actions()[0]->text(), "Return to &Dive");
  EXPECT_EQ(menu->actions()[1]->text(), "&Clear Bailout");

  app::CGraphWidget plain(std::make_unique<app::CXYLineGraph>());
  plain.Graph().SetBailoutMenu(false);
  menu.reset(plain.CreateContextMenu(nullptr));
  EXPECT_EQ(menu->objectName(), "Graph Pop");
  QStringList texts;
  for (QAction* a : menu->actions()) texts << a->text();
  EXPECT_EQ(texts, (QStringList{"Zoom", "Pan", "Cursor", "Persistent Cursor", "Reset"}));
  menu->actions()[1]->trigger();
  EXPECT_EQ(plain.Graph().Mode(), CGraph::EMode::Pan);
}

TEST(ChartEngine, TheTissueChartResetsItsZoomFromItsOwnMenu) {
  CTestEnvironment env;
  GuiApp();
  app::CGraphWidget tissue(std::make_unique<app::CBarGraph>());
  tissue.Graph().SetRanges({0, 17}, {0, 200});
  tissue.Graph().ZoomTo({2, 6}, {0, 100});
  ASSERT_TRUE(tissue.Graph().IsZoomed());
  std::unique_ptr<QMenu> menu(tissue.CreateContextMenu(nullptr));
  QAction* reset = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == "Reset") reset = a;
  ASSERT_NE(reset, nullptr);
  reset->trigger();
  EXPECT_FALSE(tissue.Graph().IsZoomed());
}

TEST(CursorReadout, ShowsTheStateOfTheSecondUnderTheCursor) {
  CTestEnvironment env;
  GuiApp();
  auto dive = Calculated({UserPoint(0, 0, 21, 0, false, 0.7), UserPoint(30, 20 * 60, 21, 0, false, 0.7)});
  const CPlanPoint* bottom = nullptr;
  for (const CPlanPoint& p : dive->ProfilePoints())
    if (p.m_kind == kKindPlanned) bottom = &p;
  ASSERT_NE(bottom, nullptr);

  const app::SCursorReadout r = app::BuildCursorReadout(*dive, 600, false);
  EXPECT_EQ(r.RowText(0), QStringLiteral("Time 10:00   Depth 30.0   OC   Gas - Air   PPO2 0.84   End Time %1")
                              .arg(CGraph::MinutesSeconds(bottom->End())));
  for (const app::SReadoutPart& part : r.first) EXPECT_FALSE(part.warning);

  // On the way down and up every second has its own depth, PPO2 and
  // ceiling, unlike its neighbours at the bottom: each is that second's state.
  const CPlanPoint& up = dive->ProfilePoints().back();
  for (const int t : {45, 600, up.m_start + up.m_duration / 2}) {
    SCOPED_TRACE(t);
    const CPredictionPoint& s = *dive->Prediction(t);
    const app::SCursorReadout at = app::BuildCursorReadout(*dive, t, false);
    EXPECT_EQ(at.first[1].text, QString::asprintf("Depth %.1f", s.m_depthPressure / 100));
    EXPECT_EQ(at.first[4].text, QString::asprintf("PPO2 %0.2f", s.m_ppo2));
    EXPECT_EQ(at.RowText(1), QString::asprintf("Ceiling %.1f   GF %.0f   CNS %0.1f%%   OTU %0.1f%%   EAD %0.1fm",
                                               std::max(0.0, s.m_ceiling / 100), s.m_gradientFactor * 100,
                                               s.m_cns * 100, s.m_otu / 3, s.m_ead));
  }

  const app::SCursorReadout feet = app::BuildCursorReadout(*dive, 600, true);
  EXPECT_EQ(feet.first[1].text, "Depth 97.7");
  EXPECT_TRUE(feet.second[4].text.endsWith("ft"));

  EXPECT_TRUE(app::BuildCursorReadout(*dive, dive->GetRunTime() + 10, false).IsEmpty());

  // Air at 70 m breaks the PPO2 limit: that part turns red.
  auto deep = Calculated({UserPoint(0, 0, 21, 0, false, 0.7), UserPoint(70, 10 * 60, 21, 0, false, 0.7)});
  EXPECT_TRUE(app::BuildCursorReadout(*deep, 400, false).first[4].warning);

  // Second 0, before the dive starts, shows the PPO2 of the gas it starts on.
  auto trimix = Calculated({UserPoint(0, 0, 18, 45, false, 0.7), UserPoint(30, 10 * 60, 18, 45, false, 0.7)});
  EXPECT_EQ(app::BuildCursorReadout(*trimix, 0, false).first[4].text,
            QString::asprintf("PPO2 %0.2f", trimix->Prediction(1)->m_ppo2));
}

// A generated dive keeps only its last second: partway down its depth comes
// from the profile, and must be the depth the same dive has at that second;
// the other values are not known (second 0 is not the state kept).
TEST(CursorReadout, GeneratedDiveShowsTheDepthOfItsDescent) {
  CTestEnvironment env;
  GuiApp();
  const std::initializer_list<CPlanPoint> points = {UserPoint(0, 0, 21, 0, false, 0.7),
                                                    UserPoint(40, 20 * 60, 21, 0, false, 0.7)};
  auto dive = Calculated(points);
  CDivePlan generated;
  generated.SetTableGenerationMode(true);
  for (const CPlanPoint& p : points) generated.AppendUserPoint(p);
  ASSERT_TRUE(generated.Calculate(0, nullptr, nullptr, 0, 0, true));
  ASSERT_EQ(generated.PredictionCount(), 1);
  for (const int t : {0, 1, 2, 60, 119, 120}) {
    SCOPED_TRACE(t);
    const app::SCursorReadout r = app::BuildCursorReadout(generated, t, false);
    EXPECT_EQ(r.first[1].text, QString::asprintf("Depth %.1f", dive->GetDepth(t)));
    EXPECT_EQ(r.second[0].text, "Ceiling Invalid");
  }
}

TEST(TissueChart, BarsArePercentagesOfTheSurfaceLimitUnderGfHigh) {
  CTestEnvironment env;
  auto dive = Calculated({UserPoint(0, 0, 18, 45, false, 0.7), UserPoint(50, 20 * 60, 18, 45, false, 0.7)});
  SChartContent c = app::BuildTissueChart(*dive, 1200);
  ASSERT_EQ(c.series.size(), 2u);
  EXPECT_EQ(c.series[0].Name(), "Helium");
  EXPECT_EQ(c.series[1].Name(), "Nitrogen");
  EXPECT_EQ(c.x.max, 17.0);
  EXPECT_EQ(c.y.max, 200.0);
  ASSERT_EQ(c.series[0].Count(), 16);

  // Compartment 1 from the definition: p / (P (g / b - g + 1) + a g).
  const CPredictionPoint* s = dive->Prediction(1200);
  const double n = s->m_nitrogen[0], h = s->m_helium[0], p = n + h;
  const double a = (dive->AN()[0] * n + dive->AH()[0] * h) / p;
  const double b = (dive->BN()[0] * n + dive->BH()[0] * h) / p;
  const double g = dive->GetGfHigh() / 100.0;
  const double limit = dive->GetSurfacePressure() * (g / b - g + 1) + a * g;
  EXPECT_NEAR(c.series[0].Points()[0].y, p / limit * 100, 1e-9);
  EXPECT_NEAR(c.series[1].Points()[0].y, p / limit * 100 * n / p, 1e-9);
  EXPECT_EQ(c.series[0].Points()[0].x, 1.0);
  for (int i = 0; i < 16; ++i) EXPECT_GT(c.series[0].Points()[i].y, c.series[1].Points()[i].y);

  // A second past the end shows the last; a dive without seconds draws no bars.
  EXPECT_EQ(app::BuildTissueChart(*dive, 999999).series[0].Points()[5],
            app::BuildTissueChart(*dive, dive->PredictionCount() - 1).series[0].Points()[5]);
  CDivePlan empty;
  c = app::BuildTissueChart(empty, 0);
  EXPECT_TRUE(c.series.empty());
  EXPECT_EQ(c.y.max, 1000.0);
}

}  // namespace
}  // namespace kv::test
