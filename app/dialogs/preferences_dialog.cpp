#include "app/dialogs/preferences_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

#include "app/dialogs/dialog_support.h"
#include "app/help/help.h"
#include "app/pages/tab_dive_plan_bailout_gas_list.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"
#include "base/prompt.h"
#include "base/preferences.h"
#include "base/status_log.h"
#include "base/units.h"
#include "gas/gas.h"

namespace kv::app {

namespace {

using kv::EPref;

kv::CPreferences& P() { return kv::Prefs(); }

// A stored quantity (x 1000) from a metric value.
std::uint32_t Scaled(double value) { return static_cast<std::uint32_t>(std::lround(std::max(value, 0.0) * 1000.0)); }
std::uint32_t Whole(double value) { return static_cast<std::uint32_t>(std::lround(std::max(value, 0.0))); }

void AddRow(QFormLayout* form, CUnitField& field) { form->addRow(field.Label(), field.Spin()); }

// Where the fields the Dive and Bailout pages share are stored.
struct SDiveFieldPrefs {
  EPref gfLow, gfHigh, sac, maxPpo2, maxEad, descent, ascent, lastStop;
};
constexpr SDiveFieldPrefs kDivePrefs{EPref::DiveGfLow,      EPref::DiveGfHigh,      EPref::DiveSacRate,
                                     EPref::DiveMaxPpo2,    EPref::DiveMaxEad,      EPref::DiveDescentRate,
                                     EPref::DiveAscentRate, EPref::DiveLastDecoStop};
constexpr SDiveFieldPrefs kBailoutPrefs{EPref::BailoutGfLow,      EPref::BailoutGfHigh,      EPref::BailoutSacRate,
                                        EPref::BailoutMaxPpo2,    EPref::BailoutMaxEad,      EPref::BailoutDescentRate,
                                        EPref::BailoutAscentRate, EPref::BailoutLastDecoStop};

// Gradient factors are stored as they are, the other quantities x 1000.
template <typename Fields>
void LoadDiveFields(Fields& f, const SDiveFieldPrefs& p) {
  f.gfLow->SetMetric(P().GetNumber(p.gfLow));
  f.gfHigh->SetMetric(P().GetNumber(p.gfHigh));
  f.sac->SetMetric(P().GetScaled(p.sac));
  f.maxPpo2->SetMetric(P().GetScaled(p.maxPpo2));
  f.maxEad->SetMetric(P().GetScaled(p.maxEad));
  f.descent->SetMetric(P().GetScaled(p.descent));
  f.ascent->SetMetric(P().GetScaled(p.ascent));
  f.lastStop->SetMetric(P().GetScaled(p.lastStop));
}

template <typename Fields>
void SaveDiveFields(const Fields& f, const SDiveFieldPrefs& p) {
  P().SetNumber(p.gfLow, Whole(f.gfLow->Metric()));
  P().SetNumber(p.gfHigh, Whole(f.gfHigh->Metric()));
  P().SetNumber(p.sac, Scaled(f.sac->Metric()));
  P().SetNumber(p.maxPpo2, Scaled(f.maxPpo2->Metric()));
  P().SetNumber(p.maxEad, Scaled(f.maxEad->Metric()));
  P().SetNumber(p.descent, Scaled(f.descent->Metric()));
  P().SetNumber(p.ascent, Scaled(f.ascent->Metric()));
  P().SetNumber(p.lastStop, Scaled(f.lastStop->Metric()));
}

constexpr const char* kGasListFilter = "Kestrun Varnadel Gas Mix List Files (*.ccg)|*.ccg||";

}  // namespace

CPreferencesDialog::CPreferencesDialog(QWidget* parent, IFileChooser* chooser)
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

CPreferencesDialog::~CPreferencesDialog() = default;

void CPreferencesDialog::BuildGeneral() {
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
  m_defaultPpo2 = std::make_unique<CUnitField>(entry, "PPO2", "PPO2", kv::EValue::Setpoint);
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

void CPreferencesDialog::BuildDivePlan() {
  auto* page = new QWidget(m_pages);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(RadioPair(page, "Surface Interval Algorithm", m_sds, "&Delayed Surface Desaturation", m_buhlmann,
                              "&Buhlmann"));
  layout->addWidget(AlgorithmBox(page));
  auto* form = new QFormLayout;
  m_workingPressure =
      std::make_unique<CUnitField>(page, "Cylinder Working Pressure (Bar)", "Cylinder Working Pressure (psi)",
                                   kv::EValue::CylinderWorkingPressure);
  m_gasReserve = std::make_unique<CUnitField>(page, "Gas Reserve (%)", "Gas Reserve (%)", kv::EValue::GasReserve);
  AddRow(form, *m_workingPressure);
  AddRow(form, *m_gasReserve);
  layout->addLayout(form);
  layout->addStretch(1);
  m_pages->addTab(page, Tr("Dive Plan"));
  m_fields.insert(m_fields.end(), {m_defaultPpo2.get(), m_workingPressure.get(), m_gasReserve.get()});
}

CPreferencesDialog::SDiveFields CPreferencesDialog::MakeDiveFields(QWidget* page) {
  auto field = [page](const char* metric, const char* imperial, kv::EValue value) {
    return std::make_unique<CUnitField>(page, metric, imperial, value);
  };
  SDiveFields f;
  f.gfLow = field("Gradient Factor Low (%)", "Gradient Factor Low (%)", kv::EValue::GradientFactor);
  f.gfHigh = field("Gradient Factor High (%)", "Gradient Factor High (%)", kv::EValue::GradientFactor);
  f.sac = field("SAC Rate (l/min)", "SAC Rate (cu ft/min)", kv::EValue::SacRate);
  f.maxPpo2 = field("Max PPO2", "Max PPO2", kv::EValue::MaxPpo2);
  f.maxEad = field("Max EAD (m)", "Max EAD (ft)", kv::EValue::MaxEad);
  f.descent = field("Descent Rate (m/min)", "Descent Rate (ft/min)", kv::EValue::DescentRate);
  f.ascent = field("Ascent Rate (m/min)", "Ascent Rate (ft/min)", kv::EValue::AscentRate);
  f.lastStop = field("Last Deco Stop (m)", "Last Deco Stop (ft)", kv::EValue::LastDecoStop);
  for (CUnitField* u : {f.gfLow.get(), f.gfHigh.get(), f.sac.get(), f.maxPpo2.get(), f.maxEad.get(), f.descent.get(),
                        f.ascent.get(), f.lastStop.get()})
    m_fields.push_back(u);
  return f;
}

void CPreferencesDialog::BuildDive() {
  auto* page = new QWidget(m_pages);
  auto* form = new QFormLayout(page);
  m_surfacePressure = std::make_unique<CUnitField>(page, "Surface Pressure (mBar)", "Surface Pressure (mBar)",
                                                   kv::EValue::SurfacePressure);
  m_fields.push_back(m_surfacePressure.get());
  m_dive = MakeDiveFields(page);
  for (CUnitField* f : {m_surfacePressure.get(), m_dive.gfLow.get(), m_dive.gfHigh.get(), m_dive.sac.get(),
                        m_dive.maxPpo2.get(), m_dive.maxEad.get()})
    AddRow(form, *f);
  m_surfaceInterval = new CIntervalField(page);
  const kv::SFieldRange& interval = kv::ValueRange(kv::EValue::SurfaceInterval).metric;  // seconds
  m_surfaceInterval->SetLimits(interval.minimum / 60, interval.maximum / 60, 1, 0);
  m_surfaceInterval->setAlignment(Qt::AlignRight);
  form->addRow(Tr("Surface Interval (hh:mm)"), m_surfaceInterval);
  for (CUnitField* f : {m_dive.descent.get(), m_dive.ascent.get(), m_dive.lastStop.get()}) AddRow(form, *f);
  m_pages->addTab(page, Tr("Dive"));
}

void CPreferencesDialog::BuildBailout() {
  auto* page = new QWidget(m_pages);
  auto* form = new QFormLayout(page);
  m_bSwitches = std::make_unique<CUnitField>(page, "Number of Gas Switches", "Number of Gas Switches",
                                             kv::EValue::NoOfGasSwitches);
  m_bMaxCns = std::make_unique<CUnitField>(page, "Max CNS (%)", "Max CNS (%)", kv::EValue::MaxCns);
  m_fields.insert(m_fields.end(), {m_bSwitches.get(), m_bMaxCns.get()});
  m_bailout = MakeDiveFields(page);
  for (CUnitField* f : {m_bSwitches.get(), m_bailout.gfLow.get(), m_bailout.gfHigh.get(), m_bailout.sac.get(),
                        m_bailout.maxPpo2.get(), m_bailout.maxEad.get(), m_bMaxCns.get(), m_bailout.descent.get(),
                        m_bailout.ascent.get(), m_bailout.lastStop.get()})
    AddRow(form, *f);
  m_useGasList = new QCheckBox(Tr("&Use Bailout Gas List"), page);
  m_ignoreIcd = new QCheckBox(Tr("&Ignore ICD"), page);
  m_ignoreCns = new QCheckBox(Tr("Ignore C&NS"), page);
  form->addRow(m_useGasList);
  form->addRow(m_ignoreIcd);
  form->addRow(m_ignoreCns);
  // The planner picks the number of gases from the list while the list is used.
  connect(m_useGasList, &QCheckBox::toggled, this, [this](bool on) { m_bSwitches->Spin()->setEnabled(!on); });
  m_pages->addTab(page, Tr("Bailout"));
}

void CPreferencesDialog::BuildGasList() {
  // The same page as a dive's: the default list new dives take.
  m_gasList = new CTabDivePlanBailoutGasList(m_pages);
  m_gasList->SetFileChooser([this](bool save) {
    if (!m_chooser) return QString();
    SFileRequest r{save ? Tr("Save Gas Mix List file as") : Tr("Select Gas Mix List file to open"),
                   QString::fromLatin1(kGasListFilter), "*.ccg", ToQt(P().GetText(EPref::DefaultGasMixListDirectory)),
                   {}};
    return save ? m_chooser->SaveFile(this, r) : m_chooser->OpenFile(this, r);
  });
  m_pages->addTab(m_gasList, Tr("Bailout Gas List"));
}

bool CPreferencesDialog::Imperial() const { return m_imperial->isChecked(); }

void CPreferencesDialog::ApplyUnits() {
  for (CUnitField* f : m_fields) f->SetImperial(Imperial());
}

void CPreferencesDialog::Load() {
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
  LoadDiveFields(m_dive, kDivePrefs);
  const int interval = static_cast<int>(P().GetNumber(EPref::DiveSurfaceInterval));
  m_surfaceInterval->setValue(interval / 60);
  m_bSwitches->SetMetric(P().GetNumber(EPref::BailoutNoOfGasSwitches));
  m_bMaxCns->SetMetric(P().GetScaled(EPref::BailoutMaxCns));
  LoadDiveFields(m_bailout, kBailoutPrefs);
  m_useGasList->setChecked(on(EPref::BailoutUseBailoutGasList));
  m_bSwitches->Spin()->setEnabled(!m_useGasList->isChecked());
  m_ignoreIcd->setChecked(on(EPref::BailoutIgnoreIcd));
  m_ignoreCns->setChecked(on(EPref::BailoutIgnoreCns));
  m_gasList->SetListText(P().GetText(EPref::BailoutGasList));
  ApplyUnits();
}

void CPreferencesDialog::Save() {
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
  SaveDiveFields(m_dive, kDivePrefs);
  // Seconds beyond whole minutes of a stored interval are kept when the field was not changed.
  const std::uint32_t stored = P().GetNumber(EPref::DiveSurfaceInterval);
  const std::uint32_t shown = static_cast<std::uint32_t>(std::lround(m_surfaceInterval->value())) * 60u;
  if (shown != stored / 60 * 60 || stored >= 24u * 3600u) P().SetNumber(EPref::DiveSurfaceInterval, shown);
  P().SetNumber(EPref::BailoutNoOfGasSwitches, Whole(m_bSwitches->Metric()));
  P().SetNumber(EPref::BailoutMaxCns, Scaled(m_bMaxCns->Metric()));
  SaveDiveFields(m_bailout, kBailoutPrefs);
  flag(EPref::BailoutUseBailoutGasList, m_useGasList->isChecked());
  flag(EPref::BailoutIgnoreIcd, m_ignoreIcd->isChecked());
  flag(EPref::BailoutIgnoreCns, m_ignoreCns->isChecked());
  P().SetText(EPref::BailoutGasList, m_gasList->ListText());
}

void CPreferencesDialog::accept() {
  Save();
  QDialog::accept();
}

}  // namespace kv::app
