#include "app/pages/tab_dive_plan.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/platform/qt_text.h"
#include "base/text.h"
#include "base/units.h"
#include "gas/gas.h"
#include "plan/plan_group.h"

namespace {

QTreeWidget* List(QWidget* parent, const QStringList& headings) {
  auto* list = new QTreeWidget(parent);
  list->setHeaderLabels(headings);
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return list;
}

QString LongGasName(double oxygen, double helium) {
  kv::CGas gas;
  gas.SetMix(oxygen, helium);
  return ToQt(gas.Format(false));
}

QString Minutes(int seconds) { return ToQt(kv::Format("%d:%02d", seconds / 60, seconds % 60)); }

}  // namespace

namespace kv::app {

CTabDivePlan::CTabDivePlan(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  m_points = List(this, {Tr("No."), Str(1048), Tr("Duration"), Tr("Mode"), Str(1306), Str(1047)});
  m_segments = List(this, {Str(1306), Str(1307), Str(1308), Str(1310), Str(1311)});
  m_status = new QLabel(this);
  layout->addWidget(new QLabel(Tr("Profile"), this));
  layout->addWidget(m_points, 1);
  layout->addWidget(new QLabel(Tr("Dive Segments"), this));
  layout->addWidget(m_segments, 2);
  layout->addWidget(m_status);
}

void CTabDivePlan::Bind(kv::CPlanGroup* plan, int diveIndex) {
  m_plan = plan;
  m_diveIndex = plan ? diveIndex : -1;
  Refresh();
}

void CTabDivePlan::ShowFirstSheet() {}

void CTabDivePlan::SetSelectedRow(int row) { m_selectedRow = row; }

void CTabDivePlan::SetImperial(bool imperial) {
  m_imperial = imperial;
  Refresh();
}

void CTabDivePlan::Refresh() {
  m_points->clear();
  m_segments->clear();
  m_status->clear();
  const kv::CDivePlan* dive = m_plan ? m_plan->GetDive(m_diveIndex) : nullptr;
  if (!dive) return;
  const double factor = m_imperial ? kv::kFeetPerMetre : 1.0;
  const auto& points = dive->IsBailoutMode() ? dive->BailoutPlanPoints() : dive->UserPoints();
  int row = 1;
  for (const kv::CPlanPoint& p : points) {
    new QTreeWidgetItem(m_points, {ToQt(kv::Format("%02d", row++)), ToQt(kv::Format("%.0f", p.Depth() * factor)),
                                   Minutes(p.m_duration), p.m_closedCircuit ? Str(1053) : Str(1052),
                                   LongGasName(p.m_oxygen, p.m_helium),
                                   p.m_closedCircuit ? ToQt(kv::Format("%.2f", p.m_setpoint)) : Str(1052)});
  }
  for (const kv::CDiveSegment& s : dive->Segments()) {
    new QTreeWidgetItem(m_segments, {LongGasName(s.m_oxygen, s.m_helium),
                                     s.m_closedCircuit ? ToQt(kv::Format("%.2f", s.m_ppo2)) : Str(1052),
                                     ToQt(kv::Format("%2.0f", s.m_depth * factor)), Minutes(s.m_duration),
                                     Minutes(s.m_end)});
  }
  if (m_plan->IsRecalculationRequired()) m_status->setText(Tr("Recalculation Required"));
}

}  // namespace kv::app
