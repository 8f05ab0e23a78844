#include "app/widgets/gas_entry_fields.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QWidget>
#include <cmath>
#include <utility>

#include "app/i18n/text_ids.h"
#include "app/platform/qt_text.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/widgets/return_moves_focus.h"
#include "app/widgets/spin_field.h"
#include "base/preferences.h"
#include "base/text.h"
#include "base/value_ranges.h"

namespace kv::app {

CGasEntryFields::CGasEntryFields(QWidget* parent, bool imperial) : QObject(parent) {
  // This object is created before its fields, so it goes before them when
  // the parent is destroyed and never hears a field that is half gone.
  CPreferences& prefs = Prefs();
  m_depth = new CSpinField(parent);
  m_cc = new QRadioButton(parent);
  m_oc = new QRadioButton(parent);
  auto* modes = new QButtonGroup(this);
  modes->addButton(m_cc);
  modes->addButton(m_oc);
  (prefs.GetNumber(EPref::DefaultCc) == 0 ? m_cc : m_oc)->setChecked(true);
  m_gas = new CGasComboCompletion(parent);
  m_gas->LoadRememberedGases();
  m_setpoint = new CSpinField(parent);
  const SFieldRange& setpoint = ValueRange(EValue::Setpoint).metric;
  m_setpoint->SetLimits(setpoint.minimum, setpoint.maximum, setpoint.step, setpoint.decimals);
  m_setpoint->setValue(prefs.GetScaled(EPref::DefaultPpo2));
  m_setpointLabel = new QLabel(parent);
  m_setpointLabel->setBuddy(m_setpoint);
  m_ppo2 = new QLabel(parent);
  for (QWidget* field : std::initializer_list<QWidget*>{m_cc, m_oc, m_gas}) ReturnMovesFocus(field);

  m_units.imperial = !imperial;  // so that SetImperial sets the depth's limits
  SetImperial(imperial);
  Retranslate();

  connect(m_depth, &QDoubleSpinBox::valueChanged, this, [this] {
    UpdatePpo2();
    emit edited();
  });
  connect(m_cc, &QRadioButton::toggled, this, [this] {
    RefreshDisplay();
    emit edited();
  });
  connect(m_gas, &CGasComboCompletion::gasChanged, this, [this](int oxygen, int helium) {
    UpdatePpo2();
    emit gasChanged(oxygen, helium);
    emit edited();
  });
  connect(m_gas, &CGasComboCompletion::gasAdded, this, &CGasEntryFields::gasAdded);
  RefreshDisplay();
}

void CGasEntryFields::Retranslate() {
  m_cc->setText(Str(kTextClosedCircuit));
  m_oc->setText(Str(kTextOpenCircuit));
  m_setpointLabel->setText(Str(kTextPpo2));
}

void CGasEntryFields::SetImperial(bool imperial) {
  if (imperial == m_units.imperial) return;
  // The depth entered so far, in metres, shown again in the new units.
  m_filledMetres = DepthMetres();
  m_units.imperial = imperial;
  const SFieldRange& depthField = ValueRange(EValue::Depth).Field(m_units);
  const QSignalBlocker block(m_depth);
  m_depth->SetLimits(depthField.minimum, depthField.maximum, 1, 0);
  m_depth->setValue(m_units.ShownInField(EQuantity::Depth, m_filledMetres, 0));
}

void CGasEntryFields::SetSurfacePressureSource(std::function<double()> surfacePressure) {
  m_surfacePressure = std::move(surfacePressure);
}

void CGasEntryFields::SetDepthMetres(double metres) {
  m_filledMetres = metres;
  {
    const QSignalBlocker block(m_depth);
    m_depth->setValue(m_units.ShownInField(EQuantity::Depth, metres, 0));
  }
  UpdatePpo2();
}

void CGasEntryFields::SetClosedCircuit(bool closedCircuit) {
  {
    const QSignalBlocker blockCc(m_cc);
    const QSignalBlocker blockOc(m_oc);
    (closedCircuit ? m_cc : m_oc)->setChecked(true);
  }
  RefreshDisplay();
}

void CGasEntryFields::SetGas(const CGas& gas) {
  m_gas->SetGas(gas);
  UpdatePpo2();
}

void CGasEntryFields::SetSetpoint(double setpoint) {
  const QSignalBlocker block(m_setpoint);
  m_setpoint->setValue(setpoint);
}

double CGasEntryFields::DepthMetres() const {
  return m_units.HeldFromField(EQuantity::Depth, ShownDepth(), m_filledMetres, 0);
}

int CGasEntryFields::ShownDepth() const { return static_cast<int>(std::lround(m_depth->value())); }

bool CGasEntryFields::IsClosedCircuit() const { return m_cc->isChecked(); }

CGas CGasEntryFields::Gas() const { return m_gas->GetGas(); }

double CGasEntryFields::Setpoint() const { return m_setpoint->value(); }

bool CGasEntryFields::Commit() {
  m_depth->Commit();
  m_setpoint->Commit();
  const bool typedInvalid = !m_gas->currentText().isEmpty() && !m_gas->GetGas().IsValid();
  m_gas->LeaveField();
  return !typedInvalid;
}

void CGasEntryFields::ReloadGases() {
  const CGas gas = m_gas->GetGas();
  m_gas->LoadRememberedGases();
  m_gas->SetGas(gas);
}

void CGasEntryFields::SetEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{m_depth, m_cc, m_oc, m_gas, m_setpoint}) w->setEnabled(enabled);
}

void CGasEntryFields::RefreshDisplay() {
  const bool closedCircuit = m_cc->isChecked();
  m_setpoint->setVisible(closedCircuit);
  m_ppo2->setVisible(!closedCircuit);
  UpdatePpo2();
}

void CGasEntryFields::UpdatePpo2() {
  const CGas gas = m_gas->GetGas();
  double ppo2 = 0.0;
  if (gas.IsValid())
    ppo2 = m_surfacePressure ? OcPpo2(gas.Oxygen(), DepthMetres(), m_surfacePressure())
                             : OcPpo2(gas.Oxygen(), DepthMetres());
  m_ppo2->setText(ToQt(Format("%.2f", ppo2)));
}

}  // namespace kv::app
