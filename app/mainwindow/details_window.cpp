#include "app/mainwindow/details_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/help/help.h"
#include "app/platform/qt_text.h"
#include "base/preferences.h"
#include "base/text.h"
#include "base/units.h"
#include "gas/gas.h"
#include "plan/plan_group.h"

namespace {

// Labels of the value list: string numbers.
const int kLabels[] = {1059, 1324, 1055, 1056, 1057, 1058, 1060, 1061, 1062, 1063, 1064, 1065, 1047};

QTableWidgetItem* Item(const QString& text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(align);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

CDetailsWindow::CDetailsWindow(QWidget* parent)
    : QDialog(parent, Qt::Window), m_heading(new QLabel(this)), m_values(new QTableWidget(this)),
      m_table(new QTableWidget(this)) {
  CHelp::SetTopic(this, QStringLiteral("details"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_heading);
  auto* row = new QHBoxLayout;
  m_values->setColumnCount(2);
  m_values->setRowCount(static_cast<int>(std::size(kLabels)));
  m_values->horizontalHeader()->hide();
  m_values->verticalHeader()->hide();
  m_values->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_table->setColumnCount(5);
  m_table->setRowCount(16);
  m_table->verticalHeader()->hide();
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  row->addWidget(m_values);
  row->addWidget(m_table, 1);
  layout->addLayout(row);
  Retranslate();
  resize(760, 480);
}

void CDetailsWindow::Retranslate() {
  setWindowTitle(Tr("Details"));
  for (int i = 0; i < static_cast<int>(std::size(kLabels)); ++i) m_values->setItem(i, 0, Item(Str(kLabels[i]), Qt::AlignLeft | Qt::AlignVCenter));
  m_table->setHorizontalHeaderLabels(
      {Str(1066), Tr("Nitrogen (mBar)"), Tr("Helium (mBar)"), Tr("Total (% of limit)"), Tr("Nitrogen (% of limit)")});
  if (m_plan) ShowSecond(m_plan, m_dive, m_second);
}

QString CDetailsWindow::ValueText(const char* label) const {
  const QString l = ToQt(label);
  for (int i = 0; i < m_values->rowCount(); ++i)
    if (m_values->item(i, 0) && m_values->item(i, 0)->text() == l && m_values->item(i, 1))
      return m_values->item(i, 1)->text();
  return {};
}

void CDetailsWindow::Clear() {
  for (int i = 0; i < m_values->rowCount(); ++i) m_values->setItem(i, 1, Item(QString()));
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 5; ++c) m_table->setItem(r, c, Item(c == 0 ? QString::number(r + 1) : QString()));
}

void CDetailsWindow::ShowSecond(const kv::CPlanGroup* plan, int dive, int second) {
  m_plan = plan;
  m_dive = std::max(dive, 0);
  m_second = std::max(second, 0);
  Clear();
  const kv::CDivePlan* d = plan ? plan->GetDive(m_dive) : nullptr;
  m_heading->setText(Tr("Dive %1").arg(m_dive + 1));
  if (!d || d->PredictionCount() == 0) return;
  // A second past the dive's last is shown as the last.
  const kv::CPredictionPoint* p = d->Prediction(std::min(m_second, d->PredictionCount() - 1));
  if (!p) p = d->LastPrediction();
  if (!p) return;
  const bool imperial = kv::Prefs().GetNumber(kv::EPref::Units) == 1;
  auto depth = [imperial](double metres) {
    return imperial ? ToQt(kv::Format("%.1f (ft)", metres * kv::kFeetPerMetre)) : ToQt(kv::Format("%.2f (m)", metres));
  };
  auto mbar = [](double v) { return ToQt(kv::Format("%.1f (mBar)", v)); };
  kv::CGas gas;
  gas.SetMix(p->m_oxygen, p->m_heliumFraction);
  const QString values[] = {
      ToQt(kv::Format("%2d:%02d (mm:ss)", p->m_time / 60, p->m_time % 60)),
      depth(p->m_depthPressure / 100.0),
      depth(p->m_ceiling / 100.0),
      depth(p->m_maxCeiling / 100.0),
      mbar(p->m_inspiredNitrogen),
      mbar(p->m_inspiredHelium),
      ToQt(kv::Format("%.1f%%", p->m_cns * 100.0)),
      ToQt(kv::Format("%.1f%%", p->m_otu / 300.0 * 100.0)),
      ToQt(kv::Format("%d", static_cast<int>(p->m_gradientFactor * 100.0))),
      mbar(p->m_maxTissuePressure),
      mbar(p->m_highestTissuePressure),
      ToQt(gas.Format(false)),
      ToQt(kv::Format("%.2f", p->m_ppo2)),
  };
  for (int i = 0; i < static_cast<int>(std::size(values)); ++i) m_values->setItem(i, 1, Item(values[i]));

  // Tolerated compartment pressure at the surface under GF High, with the
  // coefficients weighted by the compartment's nitrogen and helium.
  const double surface = d->GetSurfacePressure();
  const double g = d->GetGfHigh() / 100.0;
  for (int c = 0; c < kv::kCompartments; ++c) {
    const double n = p->m_nitrogen[static_cast<std::size_t>(c)];
    const double h = p->m_helium[static_cast<std::size_t>(c)];
    const double total = n + h;
    double percent = 0.0, nitrogenPercent = 0.0;
    if (total > 0.0) {
      const double a = (d->AN()[static_cast<std::size_t>(c)] * n + d->AH()[static_cast<std::size_t>(c)] * h) / total;
      const double b = (d->BN()[static_cast<std::size_t>(c)] * n + d->BH()[static_cast<std::size_t>(c)] * h) / total;
      const double limit = b > 0.0 ? surface * (g / b - g + 1.0) + a * g : 0.0;
      if (limit > 0.0) {
        percent = total / limit * 100.0;
        nitrogenPercent = percent * n / total;
      }
    }
    m_table->setItem(c, 1, Item(ToQt(kv::Format("%.1f", n))));
    m_table->setItem(c, 2, Item(ToQt(kv::Format("%.1f", h))));
    m_table->setItem(c, 3, Item(ToQt(kv::Format("%.1f", percent))));
    m_table->setItem(c, 4, Item(ToQt(kv::Format("%.1f", nitrogenPercent))));
  }
}
