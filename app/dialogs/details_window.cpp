#include "app/dialogs/details_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "app/charts/bar_graph.h"
#include "app/charts/graph_widget.h"
#include "app/charts/profile_chart_data.h"
#include "app/help/help.h"
#include "app/platform/qt_text.h"
#include "base/text.h"
#include "base/units.h"
#include "engine/compartment_loads.h"
#include "gas/gas.h"
#include "plan/plan_group.h"
#include "app/i18n/text_ids.h"
#include "base/strings.h"

namespace kv::app {

namespace {

// The rows of the value list, by the string number of their label. The gas
// row is labelled "Dil" on closed circuit and "Gas" on open circuit.
enum ERow { kTime, kDepth, kCeiling, kMaxCeiling, kInspN2, kInspHe, kCns, kOtu, kGf, kPigt, kMaxPigt, kGas, kPpo2, kRows };
const int kLabels[kRows] = {kTextTime, kTextDetailsDepth, kTextCeiling, kTextMaxCeiling, kTextInspiredNitrogen,
                             kTextInspiredHelium, kTextCns, kTextOtu, kTextGradientFactor, kTextPigt,
                             kTextMaxPigt, kTextDiluent, kTextPpo2};
constexpr int kGasOnOpenCircuit = kMsgGasHeading;

QTableWidgetItem* Item(const QString& text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(align);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

QTableWidget* ReadOnlyTable(int rows, int columns, QWidget* parent) {
  auto* table = new QTableWidget(rows, columns, parent);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

}  // namespace

CDetailsWindow::CDetailsWindow(QWidget* parent)
    : QDialog(parent, Qt::Window), m_heading(new QLabel(this)), m_values(ReadOnlyTable(kRows, 2, this)),
      m_chart(new CGraphWidget(std::make_unique<CBarGraph>(), this)),
      m_table(ReadOnlyTable(kv::kCompartments, 5, this)) {
  CHelp::SetTopic(this, QStringLiteral("details"));
  m_values->horizontalHeader()->hide();
  // Its own menu (Zoom, Pan, Cursor, Reset) undoes a zoom dragged on it.
  m_chart->setMinimumSize(360, 220);

  auto* right = new QSplitter(Qt::Vertical, this);
  right->addWidget(m_chart);
  right->addWidget(m_table);
  right->setStretchFactor(0, 3);
  right->setStretchFactor(1, 2);
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(m_values);
  split->addWidget(right);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 3);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_heading);
  layout->addWidget(split, 1);
  Retranslate();
  Clear();
  resize(900, 620);
}

const CBarGraph& CDetailsWindow::TissueChart() const {
  return static_cast<const CBarGraph&>(m_chart->Graph());
}

void CDetailsWindow::Retranslate() {
  setWindowTitle(Tr("Details"));
  for (int i = 0; i < kRows; ++i) m_values->setItem(i, 0, Item(Str(kLabels[i]), Qt::AlignLeft | Qt::AlignVCenter));
  FitValues();
  m_table->setHorizontalHeaderLabels(
      {Str(kTextCompartment), Tr("Nitrogen (mBar)"), Tr("Helium (mBar)"), Tr("Total (% of limit)"), Tr("Nitrogen (% of limit)")});
  // The compartment table shows its headings whole (longer in German).
  int tableWidth = 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width() + 4;
  for (int c = 0; c < m_table->columnCount(); ++c) tableWidth += m_table->horizontalHeader()->sectionSizeHint(c);
  m_table->setMinimumWidth(tableWidth);
  m_chart->setToolTip(Str(kTipTissueChart));
  static_cast<CBarGraph&>(m_chart->Graph()).Retranslate();
  Reshow();
}

QString CDetailsWindow::ValueText(const QString& label) const {
  for (int i = 0; i < m_values->rowCount(); ++i)
    if (m_values->item(i, 0) && m_values->item(i, 0)->text() == label && m_values->item(i, 1))
      return m_values->item(i, 1)->text();
  return {};
}

void CDetailsWindow::Clear() {
  m_shownSecond = -1;
  for (int i = 0; i < m_values->rowCount(); ++i) m_values->setItem(i, 1, Item(QString()));
  for (int r = 0; r < kv::kCompartments; ++r)
    for (int c = 0; c < 5; ++c) m_table->setItem(r, c, Item(c == 0 ? QString::number(r + 1) : QString()));
  auto& chart = static_cast<CBarGraph&>(m_chart->Graph());
  chart.SetContent(SChartContent{{}, {0.0, 17.0}, {0.0, 1000.0}});
  m_chart->update();
}

void CDetailsWindow::FitValues() {
  // The list is never narrower than its labels and values ("32:18 (mm:ss)",
  // "50% Nitrox", longer words in other languages): nothing is cut off.
  int width = 2 * m_values->frameWidth() + m_values->verticalScrollBar()->sizeHint().width() + 8;
  const QFontMetrics metrics(m_values->font());
  for (int c = 0; c < m_values->columnCount(); ++c) {
    int column = 0;
    for (int r = 0; r < m_values->rowCount(); ++r)
      if (const QTableWidgetItem* item = m_values->item(r, c))
        column = std::max(column, metrics.horizontalAdvance(item->text()));
    width += column + 16;
  }
  m_values->setMinimumWidth(width);
}

void CDetailsWindow::Reshow() {
  if (m_plan) ShowSecond(m_plan, m_dive, m_second);
}

void CDetailsWindow::ShowSecond(const kv::CPlanGroup* plan, int dive, int second) {
  m_plan = plan;
  m_dive = std::max(dive, 0);
  m_second = std::max(second, 0);
  Clear();
  const kv::CDivePlan* d = plan ? plan->GetDive(m_dive) : nullptr;
  const QString name = d ? ToQt(d->GetName()) : QString();
  QString heading = name.isEmpty() ? Tr("Dive %1").arg(m_dive + 1) : Tr("Dive %1 - %2").arg(m_dive + 1).arg(name);
  if (!d || d->PredictionCount() == 0) {
    m_heading->setText(heading);
    return;
  }
  // A second past the dive's last is shown as the last.
  const int count = d->PredictionCount();
  const kv::CPredictionPoint* p = d->Prediction(std::min(m_second, count - 1));
  if (!p) p = d->LastPrediction();
  if (!p) return;
  m_shownSecond = p->m_time;
  const QString time = ToQt(kv::Format("%2d:%02d (mm:ss)", p->m_time / 60, p->m_time % 60));
  m_heading->setText(QStringLiteral("<b>%1</b> &nbsp; %2 %3").arg(heading.toHtmlEscaped(), Str(kTextTime), time));

  // The units the plan's calculations speak, as the window took them.
  const kv::SDisplayUnits units = plan->GetCalculationSettings().units;
  auto depth = [&units](double metres) {
    // Feet to a tenth, metres to the centimetre the files hold.
    return ToQt(units.DepthText(units.imperial ? "%.1f" : "%.2f", metres, " (") + ")");
  };
  auto mbar = [](double v) { return ToQt(kv::Format("%.1f (mBar)", v)); };
  // Second 0 is the state before the dive starts, when the diver has not
  // breathed its gas yet: it shows the gas the dive starts on (name, PPO2 and
  // inspired pressures) as second 1 does; tissues and ceilings are its own.
  const kv::CPredictionPoint* breathing = p->m_time == 0 && count > 1 ? d->Prediction(1) : p;
  kv::CGas gas;
  gas.SetMix(breathing->m_oxygen, breathing->m_heliumFraction);
  // A ceiling above the surface means none: 0, as the chart's readout shows it.
  const QString values[kRows] = {
      time,
      depth(p->m_depthPressure / 100.0),
      depth(std::max(0.0, p->m_ceiling / 100.0)),
      depth(std::max(0.0, p->m_maxCeiling / 100.0)),
      mbar(breathing->m_inspiredNitrogen),
      mbar(breathing->m_inspiredHelium),
      ToQt(kv::Format("%.1f%%", kv::CnsPercent(p->m_cns))),
      ToQt(kv::Format("%.1f%%", kv::OtuPercentOfLimit(p->m_otu))),
      ToQt(kv::Format("%d", static_cast<int>(p->m_gradientFactor * 100.0))),
      mbar(p->m_maxTissuePressure),
      mbar(p->m_highestTissuePressure),
      ToQt(gas.Format(false)),
      ToQt(kv::Format("%.2f", breathing->m_ppo2)),
  };
  for (int i = 0; i < kRows; ++i) m_values->setItem(i, 1, Item(values[i]));
  m_values->item(kGas, 0)->setText(Str(breathing->m_closedCircuit ? kLabels[kGas] : kGasOnOpenCircuit));
  FitValues();

  ShowCompartments(*d);
}

// The table and chart of the compartments at the second asked for.
void CDetailsWindow::ShowCompartments(const kv::CDivePlan& d) {
  const std::vector<kv::SCompartmentLoad> loads = kv::CompartmentLoads(d, m_second);
  for (int c = 0; c < static_cast<int>(loads.size()); ++c) {
    const kv::SCompartmentLoad& load = loads[static_cast<std::size_t>(c)];
    m_table->setItem(c, 1, Item(ToQt(kv::Format("%.1f", load.nitrogen))));
    m_table->setItem(c, 2, Item(ToQt(kv::Format("%.1f", load.helium))));
    m_table->setItem(c, 3, Item(ToQt(kv::Format("%.1f", load.percent))));
    m_table->setItem(c, 4, Item(ToQt(kv::Format("%.1f", load.nitrogenPercent))));
  }
  auto& chart = static_cast<CBarGraph&>(m_chart->Graph());
  chart.SetContent(BuildTissueChart(d, m_second));
  m_chart->update();
}

}  // namespace kv::app
