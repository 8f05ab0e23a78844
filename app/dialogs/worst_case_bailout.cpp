#include "app/dialogs/worst_case_bailout.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/charts/graph_widget.h"
#include "app/charts/worst_case_chart.h"
#include "app/help/help.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"
#include "app/viewer/viewer.h"
#include "base/prompt.h"
#include "base/text.h"
#include "report/latin1.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

namespace {

QString Clock(int seconds) {
  seconds = std::max(seconds, 0);
  return ToQt(kv::Format("%d:%02d", seconds / 60, seconds % 60));
}

QTableWidgetItem* Item(const QString& text, bool worst = false) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (worst) {
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
    item->setBackground(QColor(255, 200, 200));
  }
  return item;
}

CGraphWidget* MakeChart(SChartContent content, const QString& yTitle,
                                 CXYLineGraph::ReadoutProvider readout, QWidget* parent) {
  auto graph = std::make_unique<CWorstCaseGraph>();
  graph->SetContent(std::move(content));
  graph->SetAxisTitles(Tr("Bailout at (run time)"), yTitle);
  graph->SetReadoutProvider(std::move(readout));
  auto* widget = new CGraphWidget(std::move(graph), parent);
  widget->setMinimumSize(520, 200);
  return widget;
}

}  // namespace

CWorstCaseBailoutWindow::CWorstCaseBailoutWindow(kv::SBailoutSweep sweep, const kv::SWorstCaseHeading& heading,
                                                 IFileChooser* chooser, QWidget* parent)
    : QDialog(parent, Qt::Window), m_sweep(std::move(sweep)), m_heading(heading),
      m_document(kv::WorstCaseBailoutHtml(m_sweep, heading)), m_chooser(chooser), m_summary(new QLabel(this)),
      m_table(new QTableWidget(this)) {
  CHelp::SetTopic(this, QStringLiteral("worst_case_bailout"));
  QString title = Tr("Worst-case Bailout - Dive %1").arg(heading.dive + 1);
  if (!heading.diveName.empty()) title += QStringLiteral(" - ") + ToQt(heading.diveName);
  setWindowTitle(title);

  QString summary = Tr("Bailout planned from every %1 s of closed-circuit time and from the end of every segment: "
                       "%2 moments, %3 without a valid bailout plan.")
                        .arg(m_sweep.step)
                        .arg(m_sweep.moments.size())
                        .arg(m_sweep.invalid);
  summary += QStringLiteral("\n") + CarriedText();
  if (m_sweep.runTime.second < 0)
    summary += QStringLiteral("\n") + Tr("No moment has a valid bailout plan: there is no worst case.");
  else if (m_sweep.invalid > 0)
    summary += QStringLiteral("\n") + Tr("The worst case covers the moments with a valid bailout plan only.");
  // No gases to carry because the planner was not allowed to change the
  // number of bailout gases (the dive's bailout settings).
  const bool refused = std::any_of(m_sweep.carried.shown.begin(), m_sweep.carried.shown.end(), [](const auto& shown) {
    const kv::EBailoutQuestion q = kv::ClassifyBailoutQuestion(shown.text);
    return shown.question && !shown.answer && (q == kv::EBailoutQuestion::MoreGases || q == kv::EBailoutQuestion::FewerGases);
  });
  if (refused && m_sweep.carried.gases.empty())
    summary += QStringLiteral("\n") + Tr("The number of bailout gases in the Bailout Settings does not fit the "
                                         "deepest bailout; change it there to plan the sweep.");
  m_summary->setText(summary);
  m_summary->setWordWrap(true);
  if (m_sweep.invalid > 0) m_summary->setStyleSheet(QStringLiteral("color: #b00000"));

  auto readout = [this](int second) { return SCursorReadout{{{MomentText(second), false}}, {}}; };
  m_gasChart = MakeChart(BuildWorstCaseGasChart(m_sweep, heading.units),
                         heading.units.imperial ? Tr("Bailout gas (cu ft)") : Tr("Bailout gas (l)"), readout, this);
  m_runTimeChart = MakeChart(BuildWorstCaseRunTimeChart(m_sweep), Tr("Run time (mins)"), readout, this);

  FillTable();

  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(m_gasChart);
  split->addWidget(m_runTimeChart);
  split->addWidget(m_table);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  split->setStretchFactor(2, 2);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* print = buttons->addButton(Tr("&Print"), QDialogButtonBox::ActionRole);
  QPushButton* save = buttons->addButton(Tr("&Save"), QDialogButtonBox::ActionRole);
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setText(Tr("&Close"));
  connect(print, &QPushButton::clicked, this, &CWorstCaseBailoutWindow::Print);
  connect(save, &QPushButton::clicked, this, &CWorstCaseBailoutWindow::Save);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_summary);
  layout->addWidget(split, 1);
  layout->addWidget(buttons);
  resize(900, 760);
}

CWorstCaseBailoutWindow::~CWorstCaseBailoutWindow() = default;

const CWorstCaseGraph& CWorstCaseBailoutWindow::GasChart() const {
  return static_cast<const CWorstCaseGraph&>(m_gasChart->Graph());
}

const CWorstCaseGraph& CWorstCaseBailoutWindow::RunTimeChart() const {
  return static_cast<const CWorstCaseGraph&>(m_runTimeChart->Graph());
}

QString CWorstCaseBailoutWindow::CarriedText() const {
  const kv::SBailoutCarried& c = m_sweep.carried;
  QString gases;
  for (const std::string& name : kv::CarriedGasNames(m_sweep))
    gases += (gases.isEmpty() ? QString() : QStringLiteral(", ")) + ToQt(name);
  if (c.source == kv::SBailoutCarried::ESource::List)
    return Tr("Carried at every moment: the dive's bailout gas list, %1.")
        .arg(gases.isEmpty() ? Tr("which holds no usable mix") : gases);
  if (c.gases.empty())
    return Tr("No bailout gases could be suggested for a bailout at %1 (the deepest moment), so no moment was "
              "planned.")
        .arg(Clock(c.second));
  return Tr("Carried at every moment: %1, the gases suggested for a bailout at %2 (the deepest moment).")
      .arg(gases, Clock(c.second));
}

void CWorstCaseBailoutWindow::FillTable() {
  const kv::SDisplayUnits& units = m_heading.units;
  const bool cylinders = units.imperial || m_heading.workingPressure > 0.0;
  QStringList headings{Tr("Worst case"), Tr("Value"),
                       Tr("With %1% reserve").arg(ToQt(kv::Format("%0.0f", m_heading.gasReserve))), Tr("Bailout at")};
  if (cylinders)
    headings << Tr("Cylinder (%1) at %2, with reserve")
                    .arg(ToQt(units.VolumeUnit()), ToQt(units.PressureText(m_heading.workingPressure)));
  m_table->setColumnCount(static_cast<int>(headings.size()));
  m_table->setHorizontalHeaderLabels(headings);
  m_table->verticalHeader()->hide();
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionMode(QAbstractItemView::NoSelection);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_table->horizontalHeader()->setStretchLastSection(true);
  if (m_sweep.runTime.second < 0) return;
  m_table->setRowCount(2 + static_cast<int>(m_sweep.gases.size()));
  auto row = [&](int r, const QString& what, const QString& value, const QString& withReserve, const QString& when,
                 const QString& cylinder) {
    auto* label = Item(what);
    label->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->setItem(r, 0, label);
    m_table->setItem(r, 1, Item(value, true));
    m_table->setItem(r, 2, Item(withReserve));
    m_table->setItem(r, 3, Item(when));
    if (cylinders) m_table->setItem(r, 4, Item(cylinder));
  };
  row(0, Tr("Longest run time"), Clock(static_cast<int>(m_sweep.runTime.value)), QString(),
      Clock(m_sweep.runTime.second), QString());
  row(1, Tr("Highest CNS"), ToQt(kv::Format("%0.1f%%", m_sweep.cnsFinal.value * 100.0)), QString(),
      Clock(m_sweep.cnsFinal.second), QString());
  int r = 2;
  for (const kv::SBailoutWorstGas& g : m_sweep.gases) {
    const QString what = ToQt(g.gas) + QStringLiteral(" (") + ToQt(units.VolumeUnit()) + QStringLiteral(")");
    if (g.second < 0) {
      // Carried, but no valid moment breathes it.
      row(r++, what, QStringLiteral("0"), QString(), Tr("none"), QString());
      continue;
    }
    row(r++, what, ToQt(units.VolumeNumber(g.litres)), ToQt(units.VolumeNumber(g.litresWithReserve)),
        Clock(g.second), ToQt(units.CylinderNumber(g.litresWithReserve, m_heading.workingPressure)));
  }
}

// The readout of the moment nearest a run time second.
QString CWorstCaseBailoutWindow::MomentText(int second) const {
  const kv::SBailoutMoment* nearest = nullptr;
  for (const kv::SBailoutMoment& m : m_sweep.moments)
    if (!nearest || std::abs(m.second - second) < std::abs(nearest->second - second)) nearest = &m;
  if (!nearest) return {};
  const kv::SBailoutMoment& m = *nearest;
  const kv::SDisplayUnits& units = m_heading.units;
  QString text = Tr("Bailout at") + QStringLiteral(" ") + Clock(m.second) + QStringLiteral("   ") + Str(kTextDepth) +
                 QStringLiteral(" ") + ToQt(units.DepthText("%0.1f", m.depth, " "));
  if (!m.valid) return text + QStringLiteral("   ") + Tr("no valid bailout plan");
  text += QStringLiteral("   ") + Tr("Run time") + QStringLiteral(" ") + Clock(m.runTime);
  text += QStringLiteral("   ") + Str(kTextCns) + ToQt(kv::Format(" %0.1f%%", m.cnsFinal * 100.0));
  for (const std::string& gas : kv::CarriedGasNames(m_sweep))
    text += QStringLiteral("   ") + ToQt(gas) + QStringLiteral(" ") + ToQt(units.VolumeText(kv::MomentLitres(m, gas)));
  return text;
}

void CWorstCaseBailoutWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  CViewer::PrintDocument(m_document, &printer);
}

bool CWorstCaseBailoutWindow::Save() { return CViewer::SaveDocumentAs(this, m_chooser, m_document); }

}  // namespace kv::app
