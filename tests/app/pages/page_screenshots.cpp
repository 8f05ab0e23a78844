// Renders the dive page with a calculated closed-circuit dive, the same dive
// in bailout mode with the cursor readout, and the tissue chart, into PNG
// files, so that they can be looked at (run it under a virtual display).
//   kv_page_screenshots OUTPUT_FOLDER

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>

#include "app/charts/bar_graph.h"
#include "app/charts/graph_widget.h"
#include "app/charts/profile_chart_data.h"
#include "page_test_util.h"
#include "plan/plan_group.h"

using namespace kv::app;

namespace {

class CPageSink final : public kv::IPlanGroupSink {
public:
  explicit CPageSink(kv::app::CTabDivePlan& page) : m_page(page) {}
  void Deliver(const kv::SPlanNotification& n) override {
    if (n.kind == kv::EPlanNotification::DiveCalculated) m_page.Refresh();
  }

private:
  kv::app::CTabDivePlan& m_page;
};

bool Save(QWidget& w, const QString& folder, const char* name) {
  QApplication::processEvents();
  const QString path = QDir(folder).filePath(QString::fromLatin1(name));
  const bool ok = w.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);

  kv::CPlanGroup plan;
  if (!plan.LoadPlanGroup(EXAMPLES_DIR "/cc-trimix-70m-bailout.ccp")) {
    std::fprintf(stderr, "cannot load the example plan\n");
    return 1;
  }
  plan.SetAutoRecalc(true);
  plan.SetBailoutDriver(kv::test::SimpleBailoutPlan);
  kv::app::CTabDivePlan page;
  CPageSink sink(page);
  plan.SetSink(&sink);
  plan.CalculateDivePlans(true, 0, true);
  page.Bind(&plan, 0);
  page.setWindowTitle(QStringLiteral("Kestrun Varnadel"));
  page.resize(1280, 860);
  page.show();
  plan.DeliverNotifications();
  page.SetSelectedRow(2);
  bool ok = Save(page, folder, "dive-page-cc.png");

  kv::app::CGraphWidget& chart = *page.ChartWidget();
  page.BailoutFromCursor(1800);
  plan.DeliverNotifications();
  chart.Graph().MoveCursorBy(2400);
  chart.update();
  ok = Save(page, folder, "dive-page-bailout.png") && ok;

  kv::app::CGraphWidget tissue(std::make_unique<kv::app::CBarGraph>());
  auto& bars = static_cast<kv::app::CBarGraph&>(tissue.Graph());
  bars.SetContent(kv::app::BuildTissueChart(*plan.GetDive(0), 2400));
  tissue.SetMenusEnabled(false);
  tissue.resize(520, 320);
  tissue.show();
  ok = Save(tissue, folder, "tissue-chart.png") && ok;
  plan.SetSink(nullptr);
  return ok ? 0 : 1;
}
