#include "app/pages/table_generation_dlg.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cmath>

#include "app/dialogs/import_settings.h"
#include "app/help/help.h"
#include "app/models/check_state_icon.h"
#include "app/models/gas_schedule_model.h"
#include "app/models/table_messages_model.h"
#include "app/widgets/field_descriptor.h"
#include "app/platform/file_chooser.h"
#include "app/platform/long_work.h"
#include "app/platform/qt_text.h"
#include "app/platform/user_profile.h"
#include "app/viewer/viewer.h"
#include "app/dialogs/gas_switch_edit.h"
#include "app/widgets/spin_field.h"
#include "base/preferences.h"
#include "base/progress.h"
#include "base/prompt.h"
#include "base/text.h"
#include "base/units.h"
#include "base/value_ranges.h"
#include "frontend/table_generation_preferences.h"
#include "plan/plan_group.h"

namespace kv::app {
namespace {

const char* kPlacement = "KestrunVarnadelTableGeneration";

// One numeric input: its field (labels, range, where it lives in the model's
// inputs, in the units the page shows) and its tooltip.
struct SInputInfo {
  SFieldDescriptor<STableGenerationInputs> field;
  const char* tooltip;
};

// Whole minutes: a field with no decimals holds them exactly.
int Minutes(double value) { return static_cast<int>(std::lround(value)); }

const SInputInfo& InputInfo(ETableInput input) {
  using In = STableGenerationInputs;
  static const SInputInfo infos[] = {
      {{"Start / Finish", "Start / Finish", EValue::Depth, [](const In& i) { return i.depthStart; },
        [](In& i, double v) { i.depthStart = v; }},
       "Shallowest table depth"},
      {{"", "", EValue::Depth, [](const In& i) { return i.depthFinish; }, [](In& i, double v) { i.depthFinish = v; }},
       "Deepest table depth"},
      {{"Step Size", "Step Size", EValue::Depth, [](const In& i) { return i.depthStep; },
        [](In& i, double v) { i.depthStep = v; }},
       "Depth between two tables (0: the start depth only)"},
      {{"Start / Finish", "Start / Finish", EValue::TableDuration, [](const In& i) { return double(i.durationStart); },
        [](In& i, double v) { i.durationStart = Minutes(v); }},
       "Shortest bottom time, in minutes"},
      {{"", "", EValue::TableDuration, [](const In& i) { return double(i.durationFinish); },
        [](In& i, double v) { i.durationFinish = Minutes(v); }},
       "Longest bottom time, in minutes"},
      {{"Step Size", "Step Size", EValue::TableDuration, [](const In& i) { return double(i.durationStep); },
        [](In& i, double v) { i.durationStep = Minutes(v); }},
       "Minutes between two bottom times (0: the start only)"},
      {{"Surface Pressure (mBar)", "Surface Pressure (mBar)", EValue::SurfacePressure,
        [](const In& i) { return i.surfacePressure; }, [](In& i, double v) { i.surfacePressure = v; }},
       "Atmospheric pressure at the surface of the dive site"},
      {{"Gradient Factor Low (%)", "Gradient Factor Low (%)", EValue::GradientFactor,
        [](const In& i) { return i.gfLow; }, [](In& i, double v) { i.gfLow = v; }},
       "Gradient factor that sets the first stop"},
      {{"Gradient Factor High (%)", "Gradient Factor High (%)", EValue::GradientFactor,
        [](const In& i) { return i.gfHigh; }, [](In& i, double v) { i.gfHigh = v; }},
       "Gradient factor that applies at the surface"},
      {{"Descent Rate (m/min)", "Descent Rate (ft/min)", EValue::DescentRate, [](const In& i) { return i.descentRate; },
        [](In& i, double v) { i.descentRate = v; }},
       "Speed of descent"},
      {{"Ascent Rate (m/min)", "Ascent Rate (ft/min)", EValue::AscentRate, [](const In& i) { return i.ascentRate; },
        [](In& i, double v) { i.ascentRate = v; }},
       "Speed of ascent"},
      {{"Last Deco Stop (m)", "Last Deco Stop (ft)", EValue::LastDecoStop, [](const In& i) { return i.lastDecoStop; },
        [](In& i, double v) { i.lastDecoStop = v; }},
       "Depth of the last decompression stop"},
      {{"Max PPO2", "Max PPO2", EValue::MaxPpo2, [](const In& i) { return i.maxPpo2; },
        [](In& i, double v) { i.maxPpo2 = v; }},
       "Highest PPO2 allowed on any scheduled gas"},
      {{"Max EAD (m)", "Max EAD (ft)", EValue::MaxEad, [](const In& i) { return i.maxEad; },
        [](In& i, double v) { i.maxEad = v; }},
       "Highest equivalent air depth allowed on any scheduled gas"},
  };
  static_assert(std::size(infos) == static_cast<std::size_t>(ETableInput::Count));
  return infos[static_cast<int>(input)];
}

const SFieldRange& FieldRange(ETableInput input, bool imperial) {
  return InputInfo(input).field.Field(SDisplayUnits{imperial});
}

// What a field gives back for an input: the input itself while the field
// still shows it as it was filled in (the inputs are kept in the shown units).
double FieldValue(double input, double shown, int decimals) {
  return SDisplayUnits{}.HeldFromField(EQuantity::None, shown, input, decimals);
}

QIcon StateIcon(const QWidget& w, int state) { return CheckStateIcon(state, w.style()); }

// Return on a schedule row edits it, Delete removes the selected rows.
class CScheduleKeys final : public QObject {
public:
  CScheduleKeys(QAbstractItemView* list, std::function<void()> edit, std::function<void()> remove)
      : QObject(list), m_edit(std::move(edit)), m_remove(std::move(remove)) {
    list->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      m_edit();
      return true;
    }
    if (key == Qt::Key_Delete) {
      m_remove();
      return true;
    }
    return false;
  }

private:
  std::function<void()> m_edit;
  std::function<void()> m_remove;
};

}  // namespace

CTableGenerationDlg::CTableGenerationDlg(const CPlanGroup* plan, IFileChooser* chooser, QWidget* parent,
                                         const kv::SPreferenceSnapshot& preferences)
    : QDialog(parent), m_plan(plan), m_chooser(chooser), m_fields(static_cast<std::size_t>(ETableInput::Count)) {
  setWindowTitle(Tr("Table Generation"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  CHelp::SetTopic(this, QStringLiteral("table_generation"));
  m_model.SetPlanGroup(plan);
  kv::LoadTableGenerationPreferences(m_model, preferences);
  m_model.SetRefreshHandler([this] { PostRefresh(); });
  m_viewer = [this](const std::string& document) {
    static CQtFileChooser platformChooser;
    CViewer viewer(document, m_chooser ? m_chooser : &platformChooser, this);
    viewer.exec();
  };

  for (int i = 0; i < static_cast<int>(ETableInput::Count); ++i) AddField(static_cast<ETableInput>(i));

  auto* columns = new QHBoxLayout;
  columns->addLayout(BuildSettingsColumn());
  columns->addLayout(BuildResultsColumn(), 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(BuildButtons());
  ConnectFields();

  resize(1100, 720);
  RestoreWindowPlacement(kPlacement, *this);
  RefreshFromModel();
}

CTableGenerationDlg::~CTableGenerationDlg() { m_model.SetRefreshHandler({}); }

// The left column: the ranges and the settings of every generated dive.
QVBoxLayout* CTableGenerationDlg::BuildSettingsColumn() {
  QGroupBox* depthBox =
      BuildRangeBox(ETableInput::DepthStart, ETableInput::DepthFinish, ETableInput::DepthStep, m_depthTitle);
  QGroupBox* durationBox = BuildRangeBox(ETableInput::DurationStart, ETableInput::DurationFinish,
                                         ETableInput::DurationStep, m_durationTitle);
  auto* settings = new QFormLayout;
  for (ETableInput input : {ETableInput::SurfacePressure, ETableInput::GfLow, ETableInput::GfHigh,
                            ETableInput::DescentRate, ETableInput::AscentRate, ETableInput::LastDecoStop,
                            ETableInput::MaxPpo2, ETableInput::MaxEad}) {
    const SField& f = m_fields[static_cast<std::size_t>(input)];
    settings->addRow(f.label, f.spin);
  }
  auto* groupingBox = new QGroupBox(Tr("Table Grouping"), this);
  m_byDepth = new QRadioButton(Tr("Depth"), groupingBox);
  m_byTime = new QRadioButton(Tr("Time"), groupingBox);
  m_byDepth->setToolTip(Tr("Each table has 1 depth and the range of times"));
  m_byTime->setToolTip(Tr("Each table has 1 time and the range of depths"));
  auto* grouping = new QButtonGroup(this);
  grouping->addButton(m_byDepth);
  grouping->addButton(m_byTime);
  auto* groupingLayout = new QHBoxLayout(groupingBox);
  groupingLayout->addWidget(m_byDepth);
  groupingLayout->addWidget(m_byTime);
  groupingLayout->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addWidget(depthBox);
  left->addWidget(durationBox);
  left->addLayout(settings);
  left->addWidget(groupingBox);
  left->addStretch(1);

  return left;
}

// The right column: the two schedules side by side, the messages below.
QVBoxLayout* CTableGenerationDlg::BuildResultsColumn() {
  auto* schedules = new QHBoxLayout;
  schedules->addWidget(BuildScheduleBox(true));
  schedules->addWidget(BuildScheduleBox(false));
  auto* messagesBox = new QGroupBox(Tr("Messages"), this);
  m_messages = new QListView(messagesBox);
  m_messagesModel = new CTableMessagesModel(m_messages);
  m_messages->setModel(m_messagesModel);
  m_messages->setToolTip(Tr("The findings of the checks and the progress of the last run"));
  m_messages->setWordWrap(true);
  // Wrapped rows are laid out again on every width, so that none overlaps the next.
  m_messages->setResizeMode(QListView::Adjust);
  auto* messagesLayout = new QVBoxLayout(messagesBox);
  messagesLayout->addWidget(m_messages);
  auto* right = new QVBoxLayout;
  right->addLayout(schedules, 1);
  right->addWidget(messagesBox, 1);

  return right;
}

QHBoxLayout* CTableGenerationDlg::BuildButtons() {
  m_generate = new QPushButton(Tr("&Generate Tables"), this);
  m_import = new QPushButton(Tr("&Import Settings"), this);
  m_open = new QPushButton(Tr("&Open Settings"), this);
  m_save = new QPushButton(Tr("&Save Settings"), this);
  auto* close = new QPushButton(Tr("&Close"), this);
  m_generate->setToolTip(Tr("Calculate every depth and bottom time and show the tables"));
  m_import->setToolTip(Tr("Take the settings and gas switches of a dive of the open plan"));
  m_open->setToolTip(Tr("Read the settings from a table generation settings file"));
  m_save->setToolTip(Tr("Write the settings to a table generation settings file"));
  close->setToolTip(Tr("Close the page, keeping its settings for next time"));
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {m_generate, m_import, m_open, m_save}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  close->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(close);
  m_import->setEnabled(m_plan && m_plan->GetDiveCount() > 0);

  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  return buttons;
}

void CTableGenerationDlg::ConnectFields() {
  for (const SField& f : m_fields) {
    const auto input = static_cast<ETableInput>(&f - m_fields.data());
    connect(f.spin, &CSpinField::posted, this, [this, input] { ReadField(input); });
  }
  connect(m_byDepth, &QRadioButton::toggled, this, [this](bool checked) {
    STableGenerationInputs in = m_model.Inputs();
    const int wanted = checked ? kGroupByDepth : kGroupByTime;
    if (in.grouping == wanted) return;
    in.grouping = wanted;
    m_model.SetInputs(in);
  });
  connect(m_generate, &QPushButton::clicked, this, [this] { Generate(); });
  connect(m_import, &QPushButton::clicked, this, &CTableGenerationDlg::ImportSettings);
  connect(m_open, &QPushButton::clicked, this, &CTableGenerationDlg::OpenSettings);
  connect(m_save, &QPushButton::clicked, this, &CTableGenerationDlg::SaveSettings);

}

void CTableGenerationDlg::done(int result) {
  // Whatever way the page closes, its inputs are there next time.
  ReadAllFields();
  kv::SaveTableGenerationPreferences(m_model);
  SaveWindowPlacement(kPlacement, *this);
  QDialog::done(result);
}

// ---- Building ---------------------------------------------------------------------------

void CTableGenerationDlg::AddField(ETableInput input) {
  SField& f = m_fields[static_cast<std::size_t>(input)];
  f.spin = new CSpinField(this);
  f.spin->setToolTip(Tr(InputInfo(input).tooltip));
  f.label = new QLabel(this);
  f.label->setBuddy(f.spin);
}

// A title ("Depth (m)"), "Start / Finish" with two fields, and "Step Size".
QGroupBox* CTableGenerationDlg::BuildRangeBox(ETableInput start, ETableInput finish, ETableInput step,
                                              QLabel*& title) {
  auto* box = new QGroupBox(this);
  title = new QLabel(box);
  auto* grid = new QGridLayout(box);
  grid->addWidget(title, 0, 0, 1, 3);
  const SField& s = m_fields[static_cast<std::size_t>(start)];
  const SField& f = m_fields[static_cast<std::size_t>(finish)];
  const SField& st = m_fields[static_cast<std::size_t>(step)];
  grid->addWidget(s.label, 1, 0);
  grid->addWidget(s.spin, 1, 1);
  grid->addWidget(f.spin, 1, 2);
  grid->addWidget(st.label, 2, 0);
  grid->addWidget(st.spin, 2, 1);
  f.label->hide();
  return box;
}

QGroupBox* CTableGenerationDlg::BuildScheduleBox(bool descent) {
  auto* box = new QGroupBox(Tr(descent ? "Descent Gas" : "Ascent Gas"), this);
  auto* list = new QTreeView(box);
  auto* model = new CGasScheduleModel(m_model, descent, list);
  list->setModel(model);
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list->setToolTip(Tr(descent ? "Travel gases: from each depth on the way down, this gas"
                              : "Decompression gases: from each depth on the way up, this gas"));
  auto* add = new QPushButton(Tr("Add..."), box);
  auto* edit = new QPushButton(Tr("Edit..."), box);
  auto* remove = new QPushButton(Tr("Delete"), box);
  for (QPushButton* b : {add, edit, remove}) b->setAutoDefault(false);
  add->setToolTip(Tr("Add a gas switch to the schedule"));
  edit->setToolTip(Tr("Change the highlighted gas switch"));
  remove->setToolTip(Tr("Delete the selected gas switches"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add);
  buttons->addWidget(edit);
  buttons->addWidget(remove);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(list, 1);
  layout->addLayout(buttons);
  (descent ? m_descentList : m_ascentList) = list;
  (descent ? m_descentModel : m_ascentModel) = model;

  auto current = [list] { return list->currentIndex().isValid() ? list->currentIndex().row() : -1; };
  connect(add, &QPushButton::clicked, this, [this, descent] { EditSwitch(descent, -1); });
  connect(edit, &QPushButton::clicked, this, [this, descent, current] {
    if (current() >= 0) EditSwitch(descent, current());
  });
  connect(remove, &QPushButton::clicked, this, [this, descent] { DeleteSelectedSwitches(descent); });
  connect(list, &QTreeView::doubleClicked, this, [this, descent, current] { EditSwitch(descent, current()); });
  new CScheduleKeys(
      list, [this, descent, current] { EditSwitch(descent, current()); },
      [this, descent] { DeleteSelectedSwitches(descent); });
  return box;
}

// ---- Showing the model ------------------------------------------------------------------

void CTableGenerationDlg::RefreshFromModel() {
  m_refreshPosted = false;
  ShowFields();
  ShowSchedule(true);
  ShowSchedule(false);
  Revalidate();
}

void CTableGenerationDlg::PostRefresh() {
  // As the page's refresh message: once, after the change that asked for it.
  if (m_refreshPosted) return;
  m_refreshPosted = true;
  QTimer::singleShot(0, this, [this] {
    if (m_refreshPosted) RefreshFromModel();
  });
}

void CTableGenerationDlg::ShowFields() {
  const bool imperial = m_model.IsImperial();
  const STableGenerationInputs& in = m_model.Inputs();
  for (int i = 0; i < static_cast<int>(ETableInput::Count); ++i) {
    const auto input = static_cast<ETableInput>(i);
    const SInputInfo& info = InputInfo(input);
    const SFieldRange& range = FieldRange(input, imperial);
    SField& f = m_fields[static_cast<std::size_t>(i)];
    const QSignalBlocker block(f.spin);
    f.spin->SetLimits(range.minimum, range.maximum, range.step, range.decimals);
    f.spin->setValue(info.field.get(in));
    f.label->setText(Tr(info.field.Label(SDisplayUnits{imperial})));
  }
  m_depthTitle->setText(Tr(imperial ? "Depth (ft)" : "Depth (m)"));
  m_durationTitle->setText(Tr("Duration (mins)"));
  const QSignalBlocker blockDepth(m_byDepth);
  const QSignalBlocker blockTime(m_byTime);
  (in.grouping == kGroupByTime ? m_byTime : m_byDepth)->setChecked(true);
}

void CTableGenerationDlg::ShowSchedule(bool descent) {
  QTreeView* list = descent ? m_descentList : m_ascentList;
  CGasScheduleModel* model = descent ? m_descentModel : m_ascentModel;
  // The highlighted row stays highlighted (and selected) across the reset.
  const int current = list->currentIndex().isValid() ? list->currentIndex().row() : -1;
  model->Reload();
  if (current >= 0 && current < model->rowCount()) list->setCurrentIndex(model->index(current, 0));
}

void CTableGenerationDlg::ShowMessages() {
  m_messagesModel->SetMessages(m_model.Messages());
  m_messages->scrollToBottom();
}

void CTableGenerationDlg::Revalidate() {
  m_model.Validate();
  // The switches' states come with the validation.
  m_descentModel->UpdateStates();
  m_ascentModel->UpdateStates();
  ShowMessages();
  const int state = m_model.CombinedState();
  m_generate->setEnabled(state != kCheckError);
  m_generate->setIcon(state == kCheckFine ? style()->standardIcon(QStyle::SP_DialogApplyButton)
                                          : StateIcon(*this, state));
  m_generate->setProperty("checkState", state);
}

// ---- Fields -------------------------------------------------------------------------------

void CTableGenerationDlg::ReadField(ETableInput input) {
  const SInputInfo& info = InputInfo(input);
  const SField& f = m_fields[static_cast<std::size_t>(input)];
  STableGenerationInputs in = m_model.Inputs();
  // A value left as shown keeps the model's own (a fractional foot value of a
  // metric file stays exact until the user changes it).
  const int decimals = FieldRange(input, m_model.IsImperial()).decimals;
  const double value = FieldValue(info.field.get(in), f.spin->value(), decimals);
  if (value == info.field.get(in)) return;
  info.field.set(in, value);
  m_model.SetInputs(in);
  Revalidate();
}

void CTableGenerationDlg::ReadAllFields() {
  // A value typed into a field that still has the focus is taken too.
  for (const SField& f : m_fields) f.spin->Commit();
  const STableGenerationInputs before = m_model.Inputs();
  STableGenerationInputs in = before;
  for (int i = 0; i < static_cast<int>(ETableInput::Count); ++i) {
    const auto input = static_cast<ETableInput>(i);
    const SInputInfo& info = InputInfo(input);
    const double shown = m_fields[static_cast<std::size_t>(i)].spin->value();
    const int decimals = FieldRange(input, m_model.IsImperial()).decimals;
    info.field.set(in, FieldValue(info.field.get(in), shown, decimals));
  }
  if (!(in == before)) m_model.SetInputs(in);
}

// ---- Commands -------------------------------------------------------------------------------

bool CTableGenerationDlg::Generate() {
  if (CLongWork::IsBusy()) return false;
  ReadAllFields();
  kv::SaveTableGenerationPreferences(m_model);
  Revalidate();
  if (!m_model.IsRunAllowed()) return false;

  bool cancelled = false;
  const bool finished = CLongWork::Run(
      this, Tr("Generating dive tables"), [this](IProgress& progress) { return m_model.Generate(&progress); },
      &cancelled);
  ShowMessages();
  if (!finished || !m_model.ShowViewerRequested()) return false;
  m_model.ClearShowViewer();
  if (m_model.TableCount() == 0) {
    // An empty document would say nothing; the messages say why.
    UserPrompt().ShowMessage(FromQt(Tr("No dive of the run could be completed, so there are no tables to show.")),
                             EIcon::Exclamation);
    return false;
  }
  if (m_viewer) m_viewer(m_model.Document());
  return true;
}

void CTableGenerationDlg::ImportSettings() {
  if (!m_plan || m_plan->GetDiveCount() == 0) return;
  const std::vector<SImportChoice> choices = m_model.ImportChoices(*m_plan);
  CImportSettings dialog(choices, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const int chosen = dialog.SelectedChoice();
  if (chosen < 0 || chosen >= static_cast<int>(choices.size())) return;
  ReadAllFields();
  const SImportChoice& c = choices[static_cast<std::size_t>(chosen)];
  m_model.ImportFromDive(*m_plan, c.dive, c.bailout, dialog.ImportSettings(), dialog.ImportGasSwitches());
  RefreshFromModel();
}

QString CTableGenerationDlg::ChooseSettingsFile(bool save) {
  CQtFileChooser platform;
  IFileChooser& chooser = m_chooser ? *m_chooser : platform;
  SFileRequest r{save ? QString() : Tr(kSettingsFileOpenTitle), QString::fromLatin1(kSettingsFileFilter),
                 QString::fromLatin1(kSettingsFileExtension),
                 ToQt(Prefs().GetText(EPref::DefaultSettingsDirectory)), QString()};
  return save ? WithDefaultExtension(chooser.SaveFile(this, r), r.defaultExtension) : chooser.OpenFile(this, r);
}

void CTableGenerationDlg::OpenSettings() {
  const QString path = ChooseSettingsFile(false);
  if (path.isEmpty()) return;
  ReadAllFields();
  if (!m_model.OpenSettingsFile(FromQt(path))) {
    // The message box gave the required text; the list says which file and why.
    Revalidate();
    QString why = Tr("%1 was not read").arg(FileNameOf(path));
    if (!m_model.FileError().empty()) why += QStringLiteral(": ") + ToQt(m_model.FileError());
    m_messagesModel->Append({FromQt(why), kCheckError});
    m_messages->scrollToBottom();
    return;
  }
  RefreshFromModel();
}

void CTableGenerationDlg::SaveSettings() {
  const QString path = ChooseSettingsFile(true);
  if (path.isEmpty()) return;
  ReadAllFields();
  kv::SaveTableGenerationSettingsAs(m_model, FromQt(path));
}

void CTableGenerationDlg::EditSwitch(bool descent, int row) {
  const CGasSwitchSchedule& schedule = descent ? m_model.DescentSchedule() : m_model.AscentSchedule();
  if (row >= schedule.Count()) return;
  CGasSwitchEdit dialog(Tr(descent ? "Descent Gas" : "Ascent Gas"), schedule, row, m_model.IsImperial(), this);
  connect(&dialog, &CGasSwitchEdit::gasListChanged, this, &CTableGenerationDlg::gasListChanged);
  dialog.exec();
  const CGasSwitch result = dialog.Result();
  switch (dialog.Action()) {
    case CGasSwitchEdit::EAction::Add:
      descent ? m_model.AddDescentSwitch(result) : m_model.AddAscentSwitch(result);
      break;
    case CGasSwitchEdit::EAction::Update:
      descent ? m_model.UpdateDescentSwitch(result, row) : m_model.UpdateAscentSwitch(result, row);
      break;
    case CGasSwitchEdit::EAction::Delete: {
      // A new switch deletes the one at its depth, as the list shows it.
      int index = row;
      if (index < 0) {
        const long shown = std::lround(dialog.DepthField()->value());
        for (int i = 0; i < schedule.Count(); ++i)
          if (std::lround(m_model.Units().Shown(schedule.At(i).m_depth)) == shown) index = i;
      }
      if (index >= 0) descent ? m_model.DeleteDescentSwitch(index) : m_model.DeleteAscentSwitch(index);
      break;
    }
    case CGasSwitchEdit::EAction::Cancel:
      return;
  }
  RefreshFromModel();
}

void CTableGenerationDlg::DeleteSelectedSwitches(bool descent) {
  QTreeView* list = descent ? m_descentList : m_ascentList;
  std::vector<int> rows;
  for (const QModelIndex& index : list->selectionModel()->selectedRows()) rows.push_back(index.row());
  if (rows.empty()) return;
  descent ? m_model.DeleteDescentSwitches(rows) : m_model.DeleteAscentSwitches(rows);
  RefreshFromModel();
}

CSpinField* CTableGenerationDlg::Field(ETableInput input) const {
  return m_fields[static_cast<std::size_t>(input)].spin;
}

QLabel* CTableGenerationDlg::FieldLabel(ETableInput input) const {
  return m_fields[static_cast<std::size_t>(input)].label;
}

}  // namespace kv::app
