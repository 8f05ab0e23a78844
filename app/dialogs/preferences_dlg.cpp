#include "app/dialogs/preferences_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <cmath>

#include "app/help/help.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"
#include "base/prompt.h"
#include "base/preferences.h"
#include "base/status_log.h"
#include "base/units.h"
#include "gas/gas.h"
#include "plan/gas_mix_list_file.h"

namespace {

using kv::EPref;

kv::CPreferences& P() { return kv::Prefs(); }

// A stored quantity (x 1000) from a metric value.
std::uint32_t Scaled(double value) { return static_cast<std::uint32_t>(std::lround(std::max(value, 0.0) * 1000.0)); }
std::uint32_t Whole(double value) { return static_cast<std::uint32_t>(std::lround(std::max(value, 0.0))); }

QGroupBox* RadioPair(QWidget* parent, const char* title, QRadioButton*& first, const char* firstText,
                     QRadioButton*& second, const char* secondText) {
  auto* box = new QGroupBox(Tr(title), parent);
  auto* layout = new QVBoxLayout(box);
  first = new QRadioButton(Tr(firstText), box);
  second = new QRadioButton(Tr(secondText), box);
  layout->addWidget(first);
  layout->addWidget(second);
  auto* group = new QButtonGroup(box);
  group->addButton(first);
  group->addButton(second);
  return box;
}

void AddRow(QFormLayout* form, CUnitField& field) { form->addRow(field.Label(), field.Spin()); }

constexpr const char* kGasListFilter = "Kestrun Varnadel Gas Mix List Files (*.ccg)|*.ccg||";

}  // namespace

CPreferences::CPreferences(QWidget* parent, IFileChooser* chooser)
    : QDialog(parent), m_chooser(chooser), m_pages(new QTabWidget(this)) {
  setWindowTitle(Tr("Preferences"));
  CHelp::SetTopic(this, QStringLiteral("preferences"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pages);
  BuildGeneral();
  BuildDivePlan();
  BuildDive();
  BuildBailout();
  BuildGasList();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  buttons->button(QDialogButtonBox::Ok)->setText(Tr("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(Tr("Cancel"));
  buttons->button(QDialogButtonBox::Help)->setText(Tr("&Help"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this,
          [this] { CHelp::Instance().ShowTopic(QStringLiteral("preferences"), this); });
  layout->addWidget(buttons);
  // Wide enough to show all five page tabs.
  setMinimumWidth(600);
  Load();
  connect(m_imperial, &QRadioButton::toggled, this, [this] { ApplyUnits(); });
}

CPreferences::~CPreferences() = default;

void CPreferences::BuildGeneral() {
  auto* page = new QWidget(m_pages);
  auto* grid = new QGridLayout(page);
  auto* options = new QGroupBox(Tr("Options"), page);
  auto* ol = new QVBoxLayout(options);
  m_grid = new QCheckBox(Tr("Chart &Grid Enabled"), options);
  m_autoRecalc = new QCheckBox(Tr("Auto &Recalc"), options);
  ol->addWidget(m_grid);
  ol->addWidget(m_autoRecalc);
  grid->addWidget(options, 0, 0);
  grid->addWidget(RadioPair(page, "Units", m_metric, "&Metric (m)", m_imperial, "&Imperial (ft)"), 0, 1);
  grid->addWidget(RadioPair(page, "Printing Direction", m_descending, "Run Time &Descending", m_ascending,
                            "Run Time &Ascending"),
                  1, 0);
  grid->addWidget(RadioPair(page, "Time Units", m_minutesOnly, "&Minutes Only", m_minutesSeconds,
                            "Minutes And &Seconds"),
                  1, 1);
  grid->addWidget(RadioPair(page, "First Ascent", m_merged, "M&erged 1st Ascent", m_detailed, "De&tailed 1st Ascent"),
                  2, 0);

  auto* entry = new QGroupBox(Tr("Profile Entry Defaults"), page);
  auto* el = new QFormLayout(entry);
  auto* modes = new QWidget(entry);
  auto* ml = new QHBoxLayout(modes);
  ml->setContentsMargins(0, 0, 0, 0);
  m_cc = new QRadioButton(Tr("&CC"), modes);
  m_oc = new QRadioButton(Tr("&OC"), modes);
  auto* modeGroup = new QButtonGroup(modes);
  modeGroup->addButton(m_cc);
  modeGroup->addButton(m_oc);
  ml->addWidget(m_cc);
  ml->addWidget(m_oc);
  el->addRow(modes);
  m_defaultPpo2 = std::make_unique<CUnitField>(entry, "PPO2", "PPO2", ranges::kDefaultPpo2);
  AddRow(el, *m_defaultPpo2);
  m_noClearSurface = new QCheckBox(Tr("&No Clear Surface"), entry);
  el->addRow(m_noClearSurface);
  grid->addWidget(entry, 2, 1);

  auto* diver = new QFormLayout;
  m_diverName = new QLineEdit(page);
  diver->addRow(Tr("Diver Name"), m_diverName);
  grid->addLayout(diver, 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
  m_pages->addTab(page, Tr("General"));
}

void CPreferences::BuildDivePlan() {
  auto* page = new QWidget(m_pages);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(RadioPair(page, "Surface Interval Algorithm", m_sds, "&Delayed Surface Desaturation", m_buhlmann,
                              "&Buhlmann"));
  auto* algorithm = new QGroupBox(Tr("Algorithm"), page);
  auto* al = new QVBoxLayout(algorithm);
  // Only ZH-L16C is offered; the page always stores it.
  auto* zhl16c = new QRadioButton(QStringLiteral("ZH-L16&C"), algorithm);
  zhl16c->setChecked(true);
  al->addWidget(zhl16c);
  layout->addWidget(algorithm);
  auto* form = new QFormLayout;
  m_workingPressure =
      std::make_unique<CUnitField>(page, "Cylinder Working Pressure (Bar)", "Cylinder Working Pressure (psi)",
                                   ranges::kCylinderWorkingPressure, kv::kPsiPerBar, kv::kBarPerPsi);
  m_gasReserve = std::make_unique<CUnitField>(page, "Gas Reserve (%)", "Gas Reserve (%)", ranges::kGasReserve);
  AddRow(form, *m_workingPressure);
  AddRow(form, *m_gasReserve);
  layout->addLayout(form);
  layout->addStretch(1);
  m_pages->addTab(page, Tr("Dive Plan"));
  m_fields.insert(m_fields.end(), {m_defaultPpo2.get(), m_workingPressure.get(), m_gasReserve.get()});
}

void CPreferences::BuildDive() {
  auto* page = new QWidget(m_pages);
  auto* form = new QFormLayout(page);
  using kv::kFeetPerMetre;
  using kv::kMetresPerFoot;
  m_surfacePressure = std::make_unique<CUnitField>(page, "Surface Pressure (mBar)", "Surface Pressure (mBar)",
                                                   ranges::kSurfacePressure);
  m_gfLow = std::make_unique<CUnitField>(page, "Gradient Factor Low (%)", "Gradient Factor Low (%)",
                                         ranges::kGradientFactor);
  m_gfHigh = std::make_unique<CUnitField>(page, "Gradient Factor High (%)", "Gradient Factor High (%)",
                                          ranges::kGradientFactor);
  m_sac = std::make_unique<CUnitField>(page, "SAC Rate (l/min)", "SAC Rate (cu ft/min)", ranges::kSacRate,
                                       kv::kCubicFeetPerLitre, kv::kLitresPerCubicFoot);
  m_maxPpo2 = std::make_unique<CUnitField>(page, "Max PPO2", "Max PPO2", ranges::kMaxPpo2);
  m_maxEad = std::make_unique<CUnitField>(page, "Max EAD (m)", "Max EAD (ft)", ranges::kMaxEad, kFeetPerMetre,
                                          kMetresPerFoot);
  m_descent = std::make_unique<CUnitField>(page, "Descent Rate (m/min)", "Descent Rate (ft/min)",
                                           ranges::kDescentRate, kFeetPerMetre, kMetresPerFoot);
  m_ascent = std::make_unique<CUnitField>(page, "Ascent Rate (m/min)", "Ascent Rate (ft/min)", ranges::kAscentRate,
                                          kFeetPerMetre, kMetresPerFoot);
  m_lastStop = std::make_unique<CUnitField>(page, "Last Deco Stop (m)", "Last Deco Stop (ft)",
                                            ranges::kLastDecoStop, kFeetPerMetre, kMetresPerFoot);
  for (CUnitField* f : {m_surfacePressure.get(), m_gfLow.get(), m_gfHigh.get(), m_sac.get(), m_maxPpo2.get(),
                        m_maxEad.get()})
    AddRow(form, *f);
  m_surfaceInterval = new QTimeEdit(page);
  m_surfaceInterval->setDisplayFormat(QStringLiteral("HH:mm"));
  form->addRow(Tr("Surface Interval (hh:mm)"), m_surfaceInterval);
  for (CUnitField* f : {m_descent.get(), m_ascent.get(), m_lastStop.get()}) AddRow(form, *f);
  m_pages->addTab(page, Tr("Dive"));
  m_fields.insert(m_fields.end(), {m_surfacePressure.get(), m_gfLow.get(), m_gfHigh.get(), m_sac.get(),
                                   m_maxPpo2.get(), m_maxEad.get(), m_descent.get(), m_ascent.get(), m_lastStop.get()});
}

void CPreferences::BuildBailout() {
  auto* page = new QWidget(m_pages);
  auto* form = new QFormLayout(page);
  using kv::kFeetPerMetre;
  using kv::kMetresPerFoot;
  m_bSwitches = std::make_unique<CUnitField>(page, "Number of Gas Switches", "Number of Gas Switches",
                                             ranges::kNoOfGasSwitches);
  m_bGfLow = std::make_unique<CUnitField>(page, "Gradient Factor Low (%)", "Gradient Factor Low (%)",
                                          ranges::kGradientFactor);
  m_bGfHigh = std::make_unique<CUnitField>(page, "Gradient Factor High (%)", "Gradient Factor High (%)",
                                           ranges::kGradientFactor);
  m_bSac = std::make_unique<CUnitField>(page, "SAC Rate (l/min)", "SAC Rate (cu ft/min)", ranges::kSacRate,
                                        kv::kCubicFeetPerLitre, kv::kLitresPerCubicFoot);
  m_bMaxPpo2 = std::make_unique<CUnitField>(page, "Max PPO2", "Max PPO2", ranges::kMaxPpo2);
  m_bMaxEad = std::make_unique<CUnitField>(page, "Max EAD (m)", "Max EAD (ft)", ranges::kMaxEad, kFeetPerMetre,
                                           kMetresPerFoot);
  m_bMaxCns = std::make_unique<CUnitField>(page, "Max CNS (%)", "Max CNS (%)", ranges::kMaxCns);
  m_bDescent = std::make_unique<CUnitField>(page, "Descent Rate (m/min)", "Descent Rate (ft/min)",
                                            ranges::kDescentRate, kFeetPerMetre, kMetresPerFoot);
  m_bAscent = std::make_unique<CUnitField>(page, "Ascent Rate (m/min)", "Ascent Rate (ft/min)", ranges::kAscentRate,
                                           kFeetPerMetre, kMetresPerFoot);
  m_bLastStop = std::make_unique<CUnitField>(page, "Last Deco Stop (m)", "Last Deco Stop (ft)",
                                             ranges::kLastDecoStop, kFeetPerMetre, kMetresPerFoot);
  for (CUnitField* f : {m_bSwitches.get(), m_bGfLow.get(), m_bGfHigh.get(), m_bSac.get(), m_bMaxPpo2.get(),
                        m_bMaxEad.get(), m_bMaxCns.get(), m_bDescent.get(), m_bAscent.get(), m_bLastStop.get()}) {
    AddRow(form, *f);
    m_fields.push_back(f);
  }
  m_useGasList = new QCheckBox(Tr("&Use Bailout Gas List"), page);
  m_ignoreIcd = new QCheckBox(Tr("&Ignore ICD"), page);
  m_ignoreCns = new QCheckBox(Tr("&Ignore CNS"), page);
  form->addRow(m_useGasList);
  form->addRow(m_ignoreIcd);
  form->addRow(m_ignoreCns);
  // The planner picks the number of gases from the list while the list is used.
  connect(m_useGasList, &QCheckBox::toggled, this, [this](bool on) { m_bSwitches->Spin()->setEnabled(!on); });
  m_pages->addTab(page, Tr("Bailout"));
}

void CPreferences::BuildGasList() {
  auto* page = new QWidget(m_pages);
  auto* layout = new QGridLayout(page);
  m_gasEntry = new QLineEdit(page);
  m_gasEntry->setPlaceholderText(Tr("Gas, such as 21/35 or 50%"));
  m_gasList = new QListWidget(page);
  m_gasList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_gasList->setToolTip(Str(2816));
  m_gasAdd = new QPushButton(Tr("&Add"), page);
  m_gasDelete = new QPushButton(Tr("&Delete"), page);
  auto* load = new QPushButton(Tr("&Load"), page);
  auto* save = new QPushButton(Tr("&Save"), page);
  layout->addWidget(m_gasEntry, 0, 0);
  layout->addWidget(m_gasAdd, 0, 1);
  layout->addWidget(m_gasList, 1, 0, 4, 1);
  layout->addWidget(m_gasDelete, 1, 1);
  layout->addWidget(load, 2, 1);
  layout->addWidget(save, 3, 1);
  layout->setRowStretch(4, 1);
  connect(m_gasAdd, &QPushButton::clicked, this, [this] {
    if (AddGas(m_gasEntry->text())) m_gasEntry->clear();
  });
  connect(m_gasEntry, &QLineEdit::returnPressed, m_gasAdd, &QPushButton::click);
  connect(m_gasDelete, &QPushButton::clicked, this, [this] {
    qDeleteAll(m_gasList->selectedItems());
    if (m_gasList->count() > 0) m_gasList->setCurrentRow(0);
    UpdateGasButtons();
  });
  connect(load, &QPushButton::clicked, this, [this] { LoadGasList(); });
  connect(save, &QPushButton::clicked, this, [this] { SaveGasList(); });
  m_pages->addTab(page, Tr("Bailout Gas List"));
}

QString CPreferences::GasListText() const {
  QStringList items;
  for (int i = 0; i < m_gasList->count(); ++i) items << m_gasList->item(i)->data(Qt::UserRole).toString();
  return items.join(',');
}

void CPreferences::SetGasListText(const QString& text) {
  m_gasList->clear();
  for (const QString& item : text.split(',', Qt::SkipEmptyParts)) {
    kv::CGas gas;
    if (!gas.Parse(FromQt(item.trimmed())) || !gas.IsValid()) continue;
    AddGas(ToQt(gas.Format(true)));
  }
  UpdateGasButtons();
}

bool CPreferences::AddGas(const QString& typed) {
  kv::CGas gas;
  if (typed.trimmed().isEmpty()) return false;
  if (!gas.Parse(FromQt(typed.trimmed())) || !gas.IsValid()) {
    kv::UserPrompt().ShowMessage(LoadText(1264), kv::EIcon::Exclamation);
    return false;
  }
  const QString name = ToQt(gas.Format(false));
  if (m_gasList->count() >= 12 || !m_gasList->findItems(name, Qt::MatchExactly).isEmpty()) return false;
  auto* item = new QListWidgetItem(name, m_gasList);
  item->setData(Qt::UserRole, ToQt(gas.Format(true)));
  UpdateGasButtons();
  return true;
}

void CPreferences::UpdateGasButtons() {
  m_gasAdd->setEnabled(m_gasList->count() < 12);
  m_gasDelete->setEnabled(m_gasList->count() > 0);
}

void CPreferences::LoadGasList() {
  if (!m_chooser) return;
  SFileRequest r{Tr("Select Gas Mix List file to open"), QString::fromLatin1(kGasListFilter), "*.ccg",
                 ToQt(P().GetText(EPref::DefaultGasMixListDirectory)), {}};
  const QString path = m_chooser->OpenFile(this, r);
  if (path.isEmpty()) return;
  kv::StatusLog().LogMessage("User selected max list file %s", FromQt(path).c_str());
  P().SetText(EPref::DefaultGasMixListDirectory, FromQt(FolderOf(path)));
  std::string list;
  if (kv::LoadGasMixList(FromQt(path), list)) SetGasListText(ToQt(list));
}

void CPreferences::SaveGasList() {
  if (!m_chooser) return;
  SFileRequest r{Tr("Save Gas Mix List file as"), QString::fromLatin1(kGasListFilter), "*.ccg",
                 ToQt(P().GetText(EPref::DefaultGasMixListDirectory)), {}};
  const QString path = m_chooser->SaveFile(this, r);
  if (path.isEmpty()) return;
  kv::StatusLog().LogMessage("User saved file as %s", FromQt(path).c_str());
  P().SetText(EPref::DefaultGasMixListDirectory, FromQt(FolderOf(path)));
  kv::SaveGasMixList(FromQt(path), FromQt(GasListText()));
}

bool CPreferences::Imperial() const { return m_imperial->isChecked(); }

void CPreferences::ApplyUnits() {
  for (CUnitField* f : m_fields) f->SetImperial(Imperial());
}

void CPreferences::Load() {
  auto on = [](EPref item) { return P().GetNumber(item) == 1; };
  m_grid->setChecked(on(EPref::ChartGridEnable));
  m_autoRecalc->setChecked(on(EPref::AutoRecalc));
  (on(EPref::Units) ? m_imperial : m_metric)->setChecked(true);
  (on(EPref::PrintingDirection) ? m_ascending : m_descending)->setChecked(true);
  (on(EPref::TimeUnits) ? m_minutesSeconds : m_minutesOnly)->setChecked(true);
  (on(EPref::FirstAscentOption) ? m_detailed : m_merged)->setChecked(true);
  (on(EPref::DefaultCc) ? m_oc : m_cc)->setChecked(true);
  m_defaultPpo2->SetMetric(P().GetScaled(EPref::DefaultPpo2));
  m_noClearSurface->setChecked(on(EPref::DefaultNoClearSurface));
  m_diverName->setText(ToQt(P().GetText(EPref::DiverId)));

  (on(EPref::SurfaceIntervalAlgorithm) ? m_buhlmann : m_sds)->setChecked(true);
  m_workingPressure->SetMetric(P().GetScaled(EPref::DefaultCylinderWorkingPressure));
  m_gasReserve->SetMetric(P().GetNumber(EPref::DefaultGasReserve));

  m_surfacePressure->SetMetric(P().GetNumber(EPref::DiveSurfacePressure));
  m_gfLow->SetMetric(P().GetNumber(EPref::DiveGfLow));
  m_gfHigh->SetMetric(P().GetNumber(EPref::DiveGfHigh));
  m_sac->SetMetric(P().GetScaled(EPref::DiveSacRate));
  m_maxPpo2->SetMetric(P().GetScaled(EPref::DiveMaxPpo2));
  m_maxEad->SetMetric(P().GetScaled(EPref::DiveMaxEad));
  const int interval = static_cast<int>(P().GetNumber(EPref::DiveSurfaceInterval));
  m_surfaceInterval->setTime(QTime(std::min(interval / 3600, 23), (interval % 3600) / 60));
  m_descent->SetMetric(P().GetScaled(EPref::DiveDescentRate));
  m_ascent->SetMetric(P().GetScaled(EPref::DiveAscentRate));
  m_lastStop->SetMetric(P().GetScaled(EPref::DiveLastDecoStop));

  m_bSwitches->SetMetric(P().GetNumber(EPref::BailoutNoOfGasSwitches));
  m_bGfLow->SetMetric(P().GetNumber(EPref::BailoutGfLow));
  m_bGfHigh->SetMetric(P().GetNumber(EPref::BailoutGfHigh));
  m_bSac->SetMetric(P().GetScaled(EPref::BailoutSacRate));
  m_bMaxPpo2->SetMetric(P().GetScaled(EPref::BailoutMaxPpo2));
  m_bMaxEad->SetMetric(P().GetScaled(EPref::BailoutMaxEad));
  m_bMaxCns->SetMetric(P().GetScaled(EPref::BailoutMaxCns));
  m_bDescent->SetMetric(P().GetScaled(EPref::BailoutDescentRate));
  m_bAscent->SetMetric(P().GetScaled(EPref::BailoutAscentRate));
  m_bLastStop->SetMetric(P().GetScaled(EPref::BailoutLastDecoStop));
  m_useGasList->setChecked(on(EPref::BailoutUseBailoutGasList));
  m_bSwitches->Spin()->setEnabled(!m_useGasList->isChecked());
  m_ignoreIcd->setChecked(on(EPref::BailoutIgnoreIcd));
  m_ignoreCns->setChecked(on(EPref::BailoutIgnoreCns));
  SetGasListText(ToQt(P().GetText(EPref::BailoutGasList)));
  ApplyUnits();
}

void CPreferences::Save() {
  auto flag = [](EPref item, bool value) { P().SetNumber(item, value ? 1u : 0u); };
  flag(EPref::ChartGridEnable, m_grid->isChecked());
  flag(EPref::AutoRecalc, m_autoRecalc->isChecked());
  flag(EPref::Units, m_imperial->isChecked());
  flag(EPref::PrintingDirection, m_ascending->isChecked());
  flag(EPref::TimeUnits, m_minutesSeconds->isChecked());
  flag(EPref::FirstAscentOption, m_detailed->isChecked());
  flag(EPref::DefaultCc, m_oc->isChecked());
  P().SetNumber(EPref::DefaultPpo2, Scaled(m_defaultPpo2->Metric()));
  flag(EPref::DefaultNoClearSurface, m_noClearSurface->isChecked());
  P().SetText(EPref::DiverId, FromQt(m_diverName->text()));

  flag(EPref::SurfaceIntervalAlgorithm, m_buhlmann->isChecked());
  P().SetNumber(EPref::Algorithm, 1);
  P().SetNumber(EPref::DefaultCylinderWorkingPressure, Scaled(m_workingPressure->Metric()));
  P().SetNumber(EPref::DefaultGasReserve, Whole(m_gasReserve->Metric()));

  P().SetNumber(EPref::DiveSurfacePressure, Whole(m_surfacePressure->Metric()));
  P().SetNumber(EPref::DiveGfLow, Whole(m_gfLow->Metric()));
  P().SetNumber(EPref::DiveGfHigh, Whole(m_gfHigh->Metric()));
  P().SetNumber(EPref::DiveSacRate, Scaled(m_sac->Metric()));
  P().SetNumber(EPref::DiveMaxPpo2, Scaled(m_maxPpo2->Metric()));
  P().SetNumber(EPref::DiveMaxEad, Scaled(m_maxEad->Metric()));
  const QTime t = m_surfaceInterval->time();
  // Seconds beyond whole minutes of a stored interval are kept when the field was not changed.
  const std::uint32_t stored = P().GetNumber(EPref::DiveSurfaceInterval);
  const std::uint32_t shown = static_cast<std::uint32_t>(t.hour() * 3600 + t.minute() * 60);
  if (shown != stored / 60 * 60 || stored >= 24u * 3600u) P().SetNumber(EPref::DiveSurfaceInterval, shown);
  P().SetNumber(EPref::DiveDescentRate, Scaled(m_descent->Metric()));
  P().SetNumber(EPref::DiveAscentRate, Scaled(m_ascent->Metric()));
  P().SetNumber(EPref::DiveLastDecoStop, Scaled(m_lastStop->Metric()));

  P().SetNumber(EPref::BailoutNoOfGasSwitches, Whole(m_bSwitches->Metric()));
  P().SetNumber(EPref::BailoutGfLow, Whole(m_bGfLow->Metric()));
  P().SetNumber(EPref::BailoutGfHigh, Whole(m_bGfHigh->Metric()));
  P().SetNumber(EPref::BailoutSacRate, Scaled(m_bSac->Metric()));
  P().SetNumber(EPref::BailoutMaxPpo2, Scaled(m_bMaxPpo2->Metric()));
  P().SetNumber(EPref::BailoutMaxEad, Scaled(m_bMaxEad->Metric()));
  P().SetNumber(EPref::BailoutMaxCns, Scaled(m_bMaxCns->Metric()));
  P().SetNumber(EPref::BailoutDescentRate, Scaled(m_bDescent->Metric()));
  P().SetNumber(EPref::BailoutAscentRate, Scaled(m_bAscent->Metric()));
  P().SetNumber(EPref::BailoutLastDecoStop, Scaled(m_bLastStop->Metric()));
  flag(EPref::BailoutUseBailoutGasList, m_useGasList->isChecked());
  flag(EPref::BailoutIgnoreIcd, m_ignoreIcd->isChecked());
  flag(EPref::BailoutIgnoreCns, m_ignoreCns->isChecked());
  P().SetText(EPref::BailoutGasList, FromQt(GasListText()));
}

void CPreferences::accept() {
  Save();
  QDialog::accept();
}
