#include "app/pages/tab_dive_plan.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

#include "base/preferences.h"
#include "base/text.h"
#include "base/units.h"
#include "base/value_ranges.h"
#include "app/charts/graph_widget.h"
#include "app/charts/profile_chart_data.h"
#include "app/charts/xy_line_graph.h"
#include "app/help/help.h"
#include "engine/dive_plan.h"
#include "app/models/dive_results_models.h"
#include "app/models/plan_points_model.h"
#include "app/pages/setting_fields.h"
#include "app/pages/tab_dive_plan_bailout_gas_list.h"
#include "app/pages/tab_dive_plan_bailout_settings.h"
#include "app/pages/tab_dive_plan_dive_settings.h"
#include "plan/dive_status.h"
#include "plan/plan_group.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/widgets/gas_entry_fields.h"
#include "app/widgets/return_moves_focus.h"
#include "app/widgets/spin_field.h"
#include "bailout/bailout_sweep.h"
#include "gas/gas_mix_list.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {
namespace {

constexpr int kBailoutSheet = 1;

const std::vector<CPlanPoint>& ShownPoints(const CDivePlan& dive) {
  return dive.IsBailoutMode() ? dive.BailoutPlanPoints() : dive.UserPoints();
}

// A whole-number field's value.
int ShownInt(const CSpinField* field) { return static_cast<int>(std::lround(field->value())); }

// Sets a value as the program does, so that no message goes out.
template <typename Widget, typename Value>
void SetQuietly(Widget* w, Value v) {
  const QSignalBlocker block(w);
  w->setValue(v);
}

}  // namespace

SListEditEnabling ListEditEnabling(const CDivePlan* dive, int highlightedRow) {
  SListEditEnabling e;
  if (!dive) return e;
  const bool copied = dive->HasCurrentPoint();
  if (!dive->IsBailoutMode()) {
    e.cut = e.copy = e.remove = true;
    e.paste = copied;
    return e;
  }
  const auto& points = dive->BailoutPlanPoints();
  const bool onBailoutPoint = highlightedRow >= 0 && highlightedRow < static_cast<int>(points.size()) &&
                              points[static_cast<std::size_t>(highlightedRow)].m_bailout != 0;
  e.cut = e.copy = e.remove = onBailoutPoint;
  e.paste = copied && onBailoutPoint;
  return e;
}

QString NotCalculatedText(const CPlanGroup& plan, int dive) {
  const SDiveStatus status = DiveStatus(plan, dive);
  switch (status.status) {
    case EDiveStatus::SixHoursDeclined:
      return Tr("Not calculated: its decompression needs more than 6 hours, and planning beyond 6 hours was "
                "declined.");
    case EDiveStatus::TwentyFourHours:
      return Tr("Not calculated: its decompression does not end within the 24-hour limit.");
    case EDiveStatus::EarlierDiveFailed:
      return Tr("Not calculated: dive %1 before it could not be calculated, so this dive has no state to start from.")
          .arg(status.failedDive + 1);
    default:
      break;
  }
  return {};
}

CTabDivePlan::CTabDivePlan(QWidget* parent) : QWidget(parent) {
  m_lastSetpoint = Prefs().GetScaled(EPref::DefaultPpo2);
  // What's This on any control of the page opens the page's own topic.
  CHelp::SetTopic(this, QStringLiteral("dive_page"));

  auto* entryBox = new QGroupBox(this);
  BuildEntryFields(entryBox);
  BuildList();
  BuildSettings();
  BuildChart();

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(entryBox);
  leftLayout->addWidget(m_list, 1);

  auto* top = new QWidget(this);
  auto* topLayout = new QHBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->addWidget(left, 3);
  topLayout->addWidget(m_settingsTabs, 2);

  m_results = new QTabWidget(this);
  auto table = [this](QAbstractItemModel* model) {
    auto* view = new QTableView(this);
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
  };
  m_warnings = new CGasWarningsModel(this);
  m_segments = new CDiveSegmentsModel(this);
  m_results->addTab(table(m_warnings), QString());
  m_results->addTab(table(m_segments), QString());

  auto* bottom = new QSplitter(Qt::Horizontal, this);
  bottom->addWidget(m_chart);
  bottom->addWidget(m_results);
  bottom->setStretchFactor(0, 3);
  bottom->setStretchFactor(1, 1);

  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(top);
  split->addWidget(bottom);
  // The entry part keeps what it needs to show every setting; the chart
  // takes the rest (and a low window makes the settings scroll instead).
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(split);

  SetImperial(m_units.imperial);
  RetranslateTexts();
  Bind(nullptr, -1);
}

CTabDivePlan::~CTabDivePlan() {
  // Children that lose the focus while they are destroyed report it; by then
  // this page is half gone and must not hear them.
  m_busy = true;
  m_entry->SetSurfacePressureSource(nullptr);
  const QList<QObject*> senders = findChildren<QObject*>();
  for (QObject* child : senders) disconnect(child, nullptr, this, nullptr);
}

// ---- Building ----------------------------------------------------------------------

void CTabDivePlan::BuildEntryFields(QWidget* box) {
  m_entry = new CGasEntryFields(box, m_units.imperial);
  m_entry->SetSurfacePressureSource([this] {
    const CDivePlan* dive = Dive();
    return dive ? dive->GetSurfacePressure() : 1000.0;
  });
  m_entry->Ppo2Display()->setMinimumWidth(40);
  m_depthLabel = new QLabel(box);
  m_depthLabel->setBuddy(m_entry->DepthField());
  m_duration = new CSpinField(box);
  // Whole minutes on the page; the range is held in seconds.
  const SFieldRange& minutes = ValueRange(EValue::PointDuration).metric;
  m_duration->SetLimits(minutes.minimum / 60, minutes.maximum / 60, 1, 0);
  // The duration is entered right after the depth.
  QWidget::setTabOrder(m_entry->DepthField(), m_duration);
  m_durationLabel = new QLabel(box);
  m_durationLabel->setBuddy(m_duration);
  m_gasLabel = new QLabel(box);
  m_gasLabel->setBuddy(m_entry->GasField());
  m_ncs = new QCheckBox(box);
  m_ncs->setChecked(Prefs().GetNumber(EPref::DefaultNoClearSurface) != 0);
  ReturnMovesFocus(m_ncs);

  m_add = new QPushButton(box);
  m_insert = new QPushButton(box);
  m_update = new QPushButton(box);
  m_delete = new QPushButton(box);
  for (QPushButton* b : {m_add, m_insert, m_update, m_delete}) b->setAutoDefault(false);

  LayOutEntryFields(box);
  ConnectEntryFields();
}

void CTabDivePlan::LayOutEntryFields(QWidget* box) {
  auto* grid = new QGridLayout(box);
  grid->addWidget(m_depthLabel, 0, 0);
  grid->addWidget(m_entry->DepthField(), 0, 1);
  grid->addWidget(m_durationLabel, 0, 2);
  grid->addWidget(m_duration, 0, 3);
  grid->addWidget(m_entry->ClosedCircuitButton(), 1, 0);
  grid->addWidget(m_entry->OpenCircuitButton(), 1, 1);
  grid->addWidget(m_gasLabel, 1, 2);
  grid->addWidget(m_entry->GasField(), 1, 3);
  grid->addWidget(m_entry->SetpointLabel(), 2, 0);
  auto* ppo2Row = new QHBoxLayout;
  ppo2Row->addWidget(m_entry->SetpointField());
  ppo2Row->addWidget(m_entry->Ppo2Display());
  grid->addLayout(ppo2Row, 2, 1);
  grid->addWidget(m_ncs, 2, 2);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {m_add, m_insert, m_update, m_delete}) buttons->addWidget(b);
  grid->addLayout(buttons, 3, 0, 1, 4);
}

void CTabDivePlan::ConnectEntryFields() {
  connect(m_add, &QPushButton::clicked, this, &CTabDivePlan::AddEntry);
  connect(m_insert, &QPushButton::clicked, this, &CTabDivePlan::InsertEntry);
  connect(m_update, &QPushButton::clicked, this, &CTabDivePlan::UpdateEntry);
  connect(m_delete, &QPushButton::clicked, this, &CTabDivePlan::DeleteEntry);
  // Closed circuit chosen by the user starts from the preferred setpoint.
  connect(m_entry->ClosedCircuitButton(), &QRadioButton::clicked, this,
          [this] { m_entry->SetSetpoint(Prefs().GetScaled(EPref::DefaultPpo2)); });
  connect(m_entry->DepthField(), &CSpinField::posted, this, [this] { m_lastDepth = m_entry->ShownDepth(); });
  connect(m_duration, &CSpinField::posted, this, [this] { m_lastDuration = ShownInt(m_duration); });
  connect(m_entry->SetpointField(), &CSpinField::posted, this, [this] { m_lastSetpoint = m_entry->Setpoint(); });
  connect(m_entry, &CGasEntryFields::gasChanged, this, &CTabDivePlan::gasChanged);
  connect(m_entry, &CGasEntryFields::gasAdded, this, &CTabDivePlan::gasListChanged);
}

void CTabDivePlan::BuildList() {
  m_points = new CPlanPointsModel(this);
  m_list = new QTableView(this);
  m_list->setModel(m_points);
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_list->verticalHeader()->hide();
  m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_list->horizontalHeader()->setStretchLastSection(true);
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);

  auto action = [this](QKeySequence key, void (CTabDivePlan::*slot)()) {
    auto* a = new QAction(this);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(a);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  m_cutAction = action(QKeySequence::Cut, &CTabDivePlan::CutEntry);
  m_copyAction = action(QKeySequence::Copy, &CTabDivePlan::CopyEntry);
  m_pasteAction = action(QKeySequence::Paste, &CTabDivePlan::PasteEntry);
  m_deleteAction = action(QKeySequence::Delete, &CTabDivePlan::DeleteEntry);

  connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu* menu = CreateListMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_list->viewport()->mapToGlobal(pos));
  });
  connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (m_restoringSelection || !current.isValid()) return;
            m_selectedRow = current.row();
            LoadFieldsFromRow(current.row());
            UpdateEnabling();
          });
}

void CTabDivePlan::BuildSettings() {
  m_settingsTabs = new QTabWidget(this);
  m_diveSettings = new CTabDivePlanDiveSettings(m_settingsTabs);
  m_bailoutSettings = new CTabDivePlanBailoutSettings(m_settingsTabs);
  m_gasList = new CTabDivePlanBailoutGasList(m_settingsTabs);
  // Each sheet scrolls when the window is low (a 768-pixel screen), so that
  // the settings never make the whole window taller than the screen.
  auto sheet = [this](QWidget* page) {
    auto* area = new QScrollArea(m_settingsTabs);
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
  };
  m_diveSheet = sheet(m_diveSettings);
  m_bailoutSheet = sheet(m_bailoutSettings);
  m_gasListSheet = sheet(m_gasList);
  m_settingsTabs->addTab(m_diveSheet, QString());
  m_settingsTabs->addTab(m_bailoutSheet, QString());
  m_gasListSheet->hide();
  connect(m_diveSettings, &CSettingsPage::settingEdited, this, &CTabDivePlan::ApplySetting);
  connect(m_bailoutSettings, &CSettingsPage::settingEdited, this, &CTabDivePlan::ApplySetting);
  connect(m_diveSettings, &CTabDivePlanDiveSettings::surfaceIntervalEdited, this, &CTabDivePlan::ApplySurfaceInterval);
  connect(m_bailoutSettings, &CTabDivePlanBailoutSettings::useGasListToggled, this, [this](bool use) {
    if (EditSettings(*m_bailoutSettings, true, [use](CDivePlan& dive) { dive.SetBailoutUseGasList(use); }))
      UpdateGasListTab(use);
  });
  connect(m_bailoutSettings, &CTabDivePlanBailoutSettings::ignoreIcdToggled, this, [this](bool ignore) {
    EditSettings(*m_bailoutSettings, true, [ignore](CDivePlan& dive) { dive.SetBailoutIgnoreIcd(ignore); });
  });
  connect(m_bailoutSettings, &CTabDivePlanBailoutSettings::ignoreCnsToggled, this, [this](bool ignore) {
    EditSettings(*m_bailoutSettings, true, [ignore](CDivePlan& dive) { dive.SetBailoutIgnoreCns(ignore); });
  });
  connect(m_gasList, &CTabDivePlanBailoutGasList::listChanged, this, &CTabDivePlan::ApplyBailoutGasList);
  connect(m_gasList, &CTabDivePlanBailoutGasList::gasListChanged, this, &CTabDivePlan::gasListChanged);
}

void CTabDivePlan::BuildChart() {
  auto graph = std::make_unique<CXYLineGraph>();
  graph->SetReadoutProvider([this](int second) {
    const CDivePlan* dive = Dive();
    return dive ? BuildCursorReadout(*dive, second, m_units.imperial) : SCursorReadout();
  });
  m_chart = new CGraphWidget(std::move(graph), this);
  m_chart->setMinimumHeight(160);
  connect(m_chart, &CGraphWidget::bailoutFromCursor, this, &CTabDivePlan::BailoutFromCursor);
  connect(m_chart, &CGraphWidget::bailoutFromEndOfSegment, this, &CTabDivePlan::BailoutFromEndOfSegment);
  connect(m_chart, &CGraphWidget::returnToDive, this, &CTabDivePlan::ReturnToDive);
  connect(m_chart, &CGraphWidget::clearBailout, this, &CTabDivePlan::ClearBailout);
  connect(m_chart, &CGraphWidget::worstCaseBailout, this, [this] {
    if (Dive() && !m_busy) emit worstCaseBailoutRequested(m_diveIndex);
  });
  connect(m_chart, &CGraphWidget::cursorSecondChanged, this, [this](int second) {
    if (second >= 0 && Dive()) emit secondShown(m_diveIndex, second);
  });
}

CSpinField* CTabDivePlan::DepthField() const { return m_entry->DepthField(); }
QRadioButton* CTabDivePlan::ClosedCircuitButton() const { return m_entry->ClosedCircuitButton(); }
QRadioButton* CTabDivePlan::OpenCircuitButton() const { return m_entry->OpenCircuitButton(); }
CGasComboCompletion* CTabDivePlan::GasField() const { return m_entry->GasField(); }
CSpinField* CTabDivePlan::SetpointField() const { return m_entry->SetpointField(); }
QLabel* CTabDivePlan::Ppo2Display() const { return m_entry->Ppo2Display(); }

const CXYLineGraph& CTabDivePlan::Chart() const { return static_cast<const CXYLineGraph&>(m_chart->Graph()); }

// ---- Binding and refreshing ------------------------------------------------------------

CDivePlan* CTabDivePlan::Dive() const { return m_plan ? m_plan->GetDive(m_diveIndex) : nullptr; }

void CTabDivePlan::Bind(CPlanGroup* plan, int diveIndex) {
  m_plan = plan;
  m_diveIndex = plan ? diveIndex : -1;
  m_selectedRow = -1;
  CDivePlan* dive = Dive();
  m_points->SetDive(dive);
  m_warnings->SetDive(dive);
  m_segments->SetDive(dive);
  Refresh();
}

void CTabDivePlan::Refresh() {
  CDivePlan* dive = Dive();
  {
    const QScopedValueRollback busy(m_busy, true);
    m_points->Sync();
    HighlightRow(m_selectedRow);
    m_warnings->Reload();
    m_segments->Reload();
    UpdateWarningsTabText();
    m_diveSettings->ShowDive(dive);
    m_bailoutSettings->ShowDive(dive);
    // Bailout settings apply only to a dive in bailout mode; outside it they are shown, not edited.
    m_bailoutSettings->setEnabled(dive && dive->IsBailoutMode());
    m_gasList->setEnabled(dive && dive->IsBailoutMode());
    if (dive) m_gasList->SetListText(dive->GetBailoutGasList());
    UpdateGasListTab(dive && dive->BailoutSettings().useBailoutGasList);
    for (QWidget* w : std::initializer_list<QWidget*>{m_add, m_insert, m_update, m_duration, m_ncs})
      w->setEnabled(dive != nullptr);
    m_entry->SetEnabled(dive != nullptr);
    RefreshChart();
    m_entry->RefreshDisplay();
    UpdateEnabling();
  }
  if (dive) TellOfListItemsLeftOut(*dive);
}

void CTabDivePlan::TellOfListItemsLeftOut(const CDivePlan& dive) {
  // As kvplan does: a bailout planned from the list says which of its items
  // the planner left out, once for the same items.
  if (!dive.IsBailoutMode() || !dive.BailoutSettings().useBailoutGasList || !dive.BailoutWalked()) return;
  const std::vector<std::string> leftOut = CGasMixList::Read(dive.GetBailoutGasList()).LeftOut();
  if (leftOut.empty() || leftOut == m_toldLeftOut) return;
  m_toldLeftOut = leftOut;
  QString message = Tr("The bailout plan of dive %1 leaves out these items of its bailout gas list:").arg(m_diveIndex + 1);
  message += QStringLiteral("\n");
  for (const std::string& why : leftOut) message += QStringLiteral("\n") + ToQt(why);
  UserPrompt().ShowMessage(FromQt(message), EIcon::Information);
}

void CTabDivePlan::RefreshChart() {
  CXYLineGraph& chart = static_cast<CXYLineGraph&>(m_chart->Graph());
  const CDivePlan* dive = Dive();
  chart.SetContent(dive ? BuildProfileChart(*dive, m_units.imperial) : SChartContent());
  chart.SetAxisTitles(Str(kTextRunTime), Str(m_units.imperial ? kTextDepthFeet : kTextDepthMetres));
  chart.SetYUnit(QString::fromLatin1(m_units.Unit()));
  chart.SetGrid(Prefs().GetNumber(EPref::ChartGridEnable) != 0);
  chart.SetBailoutModeCaption(dive && dive->IsBailoutMode());
  // The sweep plans from the dive's own profile, so it is offered outside
  // bailout mode on a dive with closed-circuit time under water.
  chart.SetWorstCaseMenu(dive && !dive->IsBailoutMode() && !BailoutSweepSeconds(*dive, kWorstCaseStep).empty());
  chart.SetRecalculationCaption(m_plan && m_plan->IsRecalculationRequired());
  chart.SetNoticeCaption(m_plan && dive ? NotCalculatedText(*m_plan, m_diveIndex) : QString());
  m_chart->update();
}

void CTabDivePlan::Retranslate() {
  RetranslateTexts();
  m_diveSettings->Retranslate();
  m_bailoutSettings->Retranslate();
  m_gasList->Retranslate();
  // The lists show translated words (modes, headings): they are rebuilt.
  m_points->Reload();
  m_warnings->Reload();
  m_segments->Reload();
  Refresh();
}

void CTabDivePlan::RetranslateTexts() {
  m_depthLabel->setText(Str(m_units.imperial ? kTextDepthFeet : kTextDepthMetres));
  m_durationLabel->setText(Tr("Duration (mins)"));
  m_entry->Retranslate();
  m_gasLabel->setText(Tr("Gas Mix"));
  m_ncs->setText(Str(kTextNoClearSurface));
  int tip = kTipsEntryFields;
  for (QWidget* w : std::initializer_list<QWidget*>{m_entry->DepthField(), m_duration, m_entry->ClosedCircuitButton(),
                                                    m_entry->OpenCircuitButton(), m_entry->SetpointField(),
                                                    m_entry->Ppo2Display(), m_ncs})
    w->setToolTip(Str(tip++));
  m_entry->GasField()->setToolTip(Str(kTipGasEntryStyles));
  m_add->setText(Tr("&Add"));
  m_insert->setText(Tr("&Insert"));
  m_update->setText(Tr("&Update"));
  m_delete->setText(Tr("&Delete"));
  tip = kTipsEntryButtons;
  for (QPushButton* b : {m_add, m_insert, m_update, m_delete}) b->setToolTip(Str(tip++));
  m_cutAction->setText(Tr("Cu&t"));
  m_copyAction->setText(Tr("&Copy"));
  m_pasteAction->setText(Tr("&Paste"));
  m_deleteAction->setText(Tr("&Delete"));
  m_list->setToolTip(Str(kTipPointList));
  m_settingsTabs->setToolTip(Str(kTipSettingsTabs));
  m_settingsTabs->setTabText(m_settingsTabs->indexOf(m_diveSheet), Tr("Dive Settings"));
  m_settingsTabs->setTabText(m_settingsTabs->indexOf(m_bailoutSheet), Tr("Bailout Settings"));
  if (const int at = m_settingsTabs->indexOf(m_gasListSheet); at >= 0)
    m_settingsTabs->setTabText(at, Tr("Bailout Gas List"));
  m_results->widget(0)->setToolTip(Str(kTipWarningsList));
  m_results->widget(1)->setToolTip(Str(kTipSegmentsList));
  m_results->setTabText(1, Tr("Segments"));
  UpdateWarningsTabText();
  m_chart->setToolTip(Str(kTipProfileChart));
}

void CTabDivePlan::UpdateWarningsTabText() {
  const int warnings = m_warnings->WarningCount();
  m_results->setTabText(0, warnings > 0 ? Tr("Warnings (%1)").arg(warnings) : Tr("Warnings"));
}

void CTabDivePlan::ShowFirstSheet() { m_settingsTabs->setCurrentIndex(0); }

void CTabDivePlan::SetSelectedRow(int row) {
  m_selectedRow = row;
  HighlightRow(row);
  UpdateEnabling();
}

void CTabDivePlan::HighlightRow(int row) {
  const QScopedValueRollback restoring(m_restoringSelection, true);
  if (row >= 0 && row < m_points->rowCount()) {
    m_list->selectionModel()->setCurrentIndex(m_points->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(m_points->index(row, 0));
  } else {
    m_list->selectionModel()->clear();
  }
}

void CTabDivePlan::SetImperial(bool imperial) {
  const bool changed = imperial != m_units.imperial;
  m_units.imperial = imperial;
  m_depthLabel->setText(Str(imperial ? kTextDepthFeet : kTextDepthMetres));
  m_entry->SetImperial(imperial);
  m_diveSettings->SetImperial(imperial);
  m_bailoutSettings->SetImperial(imperial);
  m_points->SetImperial(imperial);
  m_segments->SetImperial(imperial);
  if (changed) Refresh();
}

void CTabDivePlan::ReloadGasMixes() {
  m_entry->ReloadGases();
  m_gasList->ReloadGasMixes();
}

// ---- Entry fields -----------------------------------------------------------------------

void CTabDivePlan::LoadFieldsFromRow(int row) {
  const CDivePlan* dive = Dive();
  if (!dive || row < 0 || row >= static_cast<int>(ShownPoints(*dive).size())) return;
  const CPlanPoint& p = ShownPoints(*dive)[static_cast<std::size_t>(row)];
  m_entry->SetDepthMetres(p.Depth());
  SetQuietly(m_duration, p.m_duration / 60);
  m_entry->SetClosedCircuit(p.m_closedCircuit);
  CGas gas;
  gas.SetMix(p.m_oxygen, p.m_helium);
  m_entry->SetGas(gas);
  if (p.m_closedCircuit) m_entry->SetSetpoint(p.m_setpoint);
  m_ncs->setChecked(p.m_noClearSurface != 0);
}

void CTabDivePlan::UpdateEnabling() {
  const SListEditEnabling e = EditEnabling();
  m_cutAction->setEnabled(e.cut);
  m_copyAction->setEnabled(e.copy);
  m_pasteAction->setEnabled(e.paste);
  m_deleteAction->setEnabled(e.remove);
  m_delete->setEnabled(e.remove);
}

SListEditEnabling CTabDivePlan::EditEnabling() const { return ListEditEnabling(Dive(), m_selectedRow); }

void CTabDivePlan::Edited() {
  UpdateEnabling();
  emit diveEdited(m_diveIndex);
}

// ---- Commands ---------------------------------------------------------------------------

bool CTabDivePlan::CommitFields() {
  m_duration->Commit();
  return m_entry->Commit();
}

bool CTabDivePlan::AddEntry() { return AddAt(false); }
bool CTabDivePlan::InsertEntry() { return AddAt(true); }

bool CTabDivePlan::AddAt(bool insert) {
  CDivePlan* dive = Dive();
  if (!dive || m_busy) return false;
  // Fields typed in but not left yet are read now; an invalid gas has had its message.
  if (!CommitFields()) return false;

  const CGas gas = m_entry->Gas();
  const bool closedCircuit = m_entry->IsClosedCircuit();
  if (closedCircuit) m_lastSetpoint = m_entry->Setpoint();
  const double setpoint = m_lastSetpoint;
  const double depth = m_entry->DepthMetres();
  const int seconds = ShownInt(m_duration) * 60;
  const bool ncs = m_ncs->isChecked();
  const int count = static_cast<int>(ShownPoints(*dive).size());
  const bool highlighted = m_selectedRow >= 0 && m_selectedRow < count;
  const int index = highlighted ? (insert ? m_selectedRow : m_selectedRow + 1) : count;

  const CDivePlan::SAddedPoints added = [&] {
    const QScopedValueRollback busy(m_busy, true);
    return dive->AddEnteredPoint(index, {seconds, depth * 100.0, closedCircuit, gas.Oxygen(), gas.Helium(), setpoint, ncs});
  }();
  if (added.surface) m_points->PointInserted(0);
  const int at = added.at;
  if (at < 0) {
    if (added.surface) Edited();
    return false;
  }
  m_points->PointInserted(at);
  m_selectedRow = at;
  HighlightRow(at);
  Edited();
  return true;
}

bool CTabDivePlan::UpdateEntry() {
  CDivePlan* dive = Dive();
  if (!dive || m_busy) return false;
  const int count = static_cast<int>(ShownPoints(*dive).size());
  if (m_selectedRow < 0 || m_selectedRow >= count) return false;
  if (!CommitFields()) return false;
  const CGas gas = m_entry->Gas();
  const bool closedCircuit = m_entry->IsClosedCircuit();
  const double setpoint = closedCircuit ? m_entry->Setpoint() : 0.7;
  const int row = m_selectedRow;
  const bool ok = [&] {
    const QScopedValueRollback busy(m_busy, true);
    return dive->UpdatePoint(row, {ShownInt(m_duration) * 60, m_entry->DepthMetres() * 100.0, closedCircuit,
                                   gas.Oxygen(), gas.Helium(), setpoint, m_ncs->isChecked()});
  }();
  if (!ok) return false;
  m_points->PointChanged(row);
  Edited();
  return true;
}

void CTabDivePlan::DeleteEntry() {
  CDivePlan* dive = Dive();
  if (!dive || m_busy || !EditEnabling().remove) return;
  const int count = static_cast<int>(ShownPoints(*dive).size());
  if (m_selectedRow < 0 || m_selectedRow >= count) return;
  const int row = m_selectedRow;
  {
    const QScopedValueRollback busy(m_busy, true);
    dive->DeletePoint(row);
  }
  m_points->PointRemoved(row);
  m_selectedRow = std::min(row, m_points->rowCount() - 1);
  HighlightRow(m_selectedRow);
  Edited();
}

void CTabDivePlan::CopyEntry() {
  CDivePlan* dive = Dive();
  if (!dive || m_busy || !EditEnabling().copy) return;
  if (dive->SelectCurrentPoint(m_selectedRow)) UpdateEnabling();
}

void CTabDivePlan::CutEntry() {
  CDivePlan* dive = Dive();
  if (!dive || m_busy || !EditEnabling().cut) return;
  if (!dive->SelectCurrentPoint(m_selectedRow)) return;
  DeleteEntry();
}

void CTabDivePlan::PasteEntry() {
  CDivePlan* dive = Dive();
  if (!dive || m_busy || !EditEnabling().paste) return;
  const int count = static_cast<int>(ShownPoints(*dive).size());
  const int index = m_selectedRow >= 0 && m_selectedRow < count ? m_selectedRow + 1 : count;
  int at = -1;
  {
    const QScopedValueRollback busy(m_busy, true);
    at = dive->InsertCurrentPoint(index);
  }
  if (at < 0) return;
  m_points->PointInserted(at);
  m_selectedRow = at;
  HighlightRow(at);
  Edited();
}

QMenu* CTabDivePlan::CreateListMenu(QWidget* parent) {
  UpdateEnabling();
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("Dive Plan List Pop"));
  for (QAction* a : {m_cutAction, m_copyAction, m_pasteAction, m_deleteAction}) menu->addAction(a);
  return menu;
}

// ---- Chart requests -------------------------------------------------------------------------

void CTabDivePlan::BailoutFromCursor(int second) { StartBailout(second, false); }
void CTabDivePlan::BailoutFromEndOfSegment(int second) { StartBailout(second, true); }

void CTabDivePlan::StartBailout(int second, bool fromEndOfSegment) {
  if (second < 0) return;
  ChangeBailout(kBailoutSheet, [second, fromEndOfSegment](CDivePlan& dive) { dive.SetBailout(second, fromEndOfSegment); });
}

void CTabDivePlan::ReturnToDive() {
  ChangeBailout(0, [](CDivePlan& dive) { dive.ShowNormalPlan(); });
}

void CTabDivePlan::ClearBailout() {
  ChangeBailout(0, [](CDivePlan& dive) { dive.ClearBailout(); });
}

void CTabDivePlan::ChangeBailout(int sheet, const std::function<void(CDivePlan&)>& change) {
  CDivePlan* dive = Dive();
  if (!dive || m_busy) return;
  m_settingsTabs->setCurrentIndex(sheet);
  {
    const QScopedValueRollback busy(m_busy, true);
    change(*dive);
  }
  Edited();
}

// ---- Settings -------------------------------------------------------------------------------

void CTabDivePlan::UpdateGasListTab(bool show) {
  const int at = m_settingsTabs->indexOf(m_gasListSheet);
  if (show && at < 0) m_settingsTabs->addTab(m_gasListSheet, Tr("Bailout Gas List"));
  if (!show && at >= 0) m_settingsTabs->removeTab(at);
}

bool CTabDivePlan::EditSettings(const CSettingsPage& page, bool bailout, const std::function<void(CDivePlan&)>& edit) {
  CDivePlan* dive = Dive();
  if (!dive || m_busy) return false;
  // A page never shown has reported nothing the user did (only filling it in).
  if (!page.WasShown()) return false;
  // The bailout settings belong to the bailout: they apply only while one is shown.
  if (bailout && !dive->IsBailoutMode()) return false;
  {
    const QScopedValueRollback busy(m_busy, true);
    edit(*dive);
  }
  Edited();
  return true;
}

void CTabDivePlan::ApplySetting(ESetting setting) {
  const SSettingField* found = FindSettingField(setting);
  if (!found) return;
  const SFieldDescriptor<CDivePlan>* field = &found->field;
  const bool bailout = m_bailoutSettings->Field(setting) != nullptr;
  const CSettingsPage& page = bailout ? static_cast<const CSettingsPage&>(*m_bailoutSettings) : *m_diveSettings;
  EditSettings(page, bailout, [&](CDivePlan& dive) {
    // A field left unchanged shows the stored value rounded for display;
    // storing that rounding back would change the dive behind the user's back.
    const double held = field->get(dive);
    const double value =
        m_units.HeldFromField(field->Range().quantity, page.Field(setting)->value(), held, field->Field(m_units).decimals);
    if (value == held) return;
    field->set(dive, value);
    if (setting == ESetting::SurfacePressure) {
      m_entry->RefreshDisplay();
      m_points->SettingsChanged();
    }
  });
}

void CTabDivePlan::ApplySurfaceInterval(int seconds) {
  EditSettings(*m_diveSettings, false, [seconds](CDivePlan& dive) {
    // Compared in whole minutes, as the field shows it.
    if (seconds / 60 != dive.GetSurfaceInterval() / 60) dive.SetSurfaceInterval(seconds);
  });
}

void CTabDivePlan::ApplyBailoutGasList() {
  CDivePlan* dive = Dive();
  // The list page is only on screen in bailout mode; it reports every change.
  if (!dive || m_busy || !dive->IsBailoutMode()) return;
  {
    const QScopedValueRollback busy(m_busy, true);
    const std::string text = m_gasList->ListText();
    if (text != dive->GetBailoutGasList()) dive->SetBailoutGasList(text);
  }
  Edited();
}

}  // namespace kv::app
