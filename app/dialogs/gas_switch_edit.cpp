#include "app/dialogs/gas_switch_edit.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "base/preferences.h"
#include "base/prompt.h"
#include "base/text.h"
#include "base/units.h"
#include "base/value_ranges.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/widgets/return_moves_focus.h"
#include "app/widgets/spin_field.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {
namespace {

// A depth in the whole units the depth field and the lists show.
int Shown(double metres, bool imperial) {
  return static_cast<int>(SDisplayUnits{imperial}.ShownInField(EQuantity::Depth, metres, 0));
}

}  // namespace

SGasSwitchButtons GasSwitchButtons(const CGasSwitchSchedule& schedule, int editIndex, int shownDepth, bool imperial) {
  SGasSwitchButtons b;
  const int count = schedule.Count();
  const bool editing = editIndex >= 0 && editIndex < count;
  bool depthTaken = false;
  for (int i = 0; i < count; ++i)
    if (Shown(schedule.At(i).m_depth, imperial) == shownDepth) depthTaken = true;
  b.add = count <= 11 && !depthTaken;
  if (editing) {
    const double editedDepth = schedule.At(editIndex).m_depth;
    if (editedDepth == 0.0)
      b.update = shownDepth == 0;  // the descent schedule's first entry stays at the surface
    else
      b.update = Shown(editedDepth, imperial) == shownDepth || !depthTaken;
    b.remove = editedDepth != 0.0 && count >= 2;
  } else {
    b.remove = count >= 1;
  }
  return b;
}

CGasSwitchEdit::CGasSwitchEdit(const QString& title, const CGasSwitchSchedule& schedule, int editIndex, bool imperial,
                               QWidget* parent)
    : QDialog(parent), m_schedule(schedule), m_editIndex(editIndex), m_imperial(imperial) {
  m_filledMetres = editIndex >= 0 && editIndex < schedule.Count() ? schedule.At(editIndex).m_depth : 0.0;
  setWindowTitle(title);
  CPreferences& prefs = Prefs();
  const bool editing = editIndex >= 0 && editIndex < schedule.Count();
  const CGasSwitch current = editing ? schedule.At(editIndex) : CGasSwitch();

  m_depth = new CSpinField(this);
  const SFieldRange& depthField = ValueRange(EValue::Depth).Field(SDisplayUnits{imperial});
  m_depth->SetLimits(depthField.minimum, depthField.maximum, 1, 0);
  m_depth->setValue(editing ? Shown(current.m_depth, imperial) : 0);

  m_cc = new QRadioButton(Str(kTextClosedCircuit), this);
  m_oc = new QRadioButton(Str(kTextOpenCircuit), this);
  auto* modes = new QButtonGroup(this);
  modes->addButton(m_cc);
  modes->addButton(m_oc);
  const bool closedCircuit = editing ? current.m_closedCircuit : prefs.GetNumber(EPref::DefaultCc) == 0;
  (closedCircuit ? m_cc : m_oc)->setChecked(true);

  m_gas = new CGasComboCompletion(this);
  m_gas->LoadRememberedGases();
  CGas gas;
  if (editing && gas.SetMix(current.m_oxygen, current.m_helium)) m_gas->SetGas(gas);

  m_setpoint = new CSpinField(this);
  const SFieldRange& setpoint = ValueRange(EValue::Setpoint).metric;
  m_setpoint->SetLimits(setpoint.minimum, setpoint.maximum, setpoint.step, setpoint.decimals);
  m_setpoint->setValue(editing && current.m_closedCircuit ? current.m_setpoint : prefs.GetScaled(EPref::DefaultPpo2));
  m_ppo2 = new QLabel(this);
  m_setpointLabel = new QLabel(Str(kTextPpo2), this);

  auto* form = new QFormLayout;
  form->addRow(Str(imperial ? kTextDepthFeet : kTextDepthMetres), m_depth);
  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(m_cc);
  modeRow->addWidget(m_oc);
  modeRow->addStretch();
  form->addRow(Tr("CC OC"), modeRow);
  form->addRow(Tr("Gas Mix"), m_gas);
  auto* ppo2Row = new QHBoxLayout;
  ppo2Row->addWidget(m_setpoint);
  ppo2Row->addWidget(m_ppo2);
  ppo2Row->addStretch();
  form->addRow(m_setpointLabel, ppo2Row);

  m_add = new QPushButton(Tr("&Add"), this);
  m_update = new QPushButton(Tr("&Update"), this);
  m_delete = new QPushButton(Tr("&Delete"), this);
  auto* cancel = new QPushButton(Tr("Cancel"), this);
  int tip = kTipsGasSwitchButtons;
  for (QPushButton* b : {m_add, m_update, m_delete, cancel}) {
    b->setToolTip(Str(tip++));
    b->setAutoDefault(false);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {m_add, m_update, m_delete, cancel}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);

  for (QWidget* field : std::initializer_list<QWidget*>{m_cc, m_oc, m_gas}) ReturnMovesFocus(field);

  connect(m_depth, &QDoubleSpinBox::valueChanged, this, &CGasSwitchEdit::Refresh);
  connect(m_cc, &QRadioButton::toggled, this, &CGasSwitchEdit::Refresh);
  connect(m_gas, &CGasComboCompletion::gasChanged, this, &CGasSwitchEdit::Refresh);
  connect(m_gas, &CGasComboCompletion::gasAdded, this, &CGasSwitchEdit::gasListChanged);
  connect(m_add, &QPushButton::clicked, this, [this] { Finish(EAction::Add); });
  connect(m_update, &QPushButton::clicked, this, [this] { Finish(EAction::Update); });
  connect(m_delete, &QPushButton::clicked, this, [this] { Finish(EAction::Delete); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
}

SGasSwitchButtons CGasSwitchEdit::Buttons() const {
  return GasSwitchButtons(m_schedule, m_editIndex, ShownDepth(), m_imperial);
}

CGasSwitch CGasSwitchEdit::Result() const {
  const bool closedCircuit = m_cc->isChecked();
  const CGas gas = m_gas->GetGas();
  const double metres = DepthMetres();
  CGasSwitch result;
  result.Set(metres, gas.Oxygen(), gas.Helium(), closedCircuit, closedCircuit ? m_setpoint->value() : 0.0, true);
  return result;
}

void CGasSwitchEdit::Refresh() {
  const bool closedCircuit = m_cc->isChecked();
  m_setpoint->setVisible(closedCircuit);
  m_ppo2->setVisible(!closedCircuit);
  const CGas gas = m_gas->GetGas();
  const double metres = DepthMetres();
  m_ppo2->setText(ToQt(Format("%.2f", gas.IsValid() ? OcPpo2(gas.Oxygen(), metres) : 0.0)));
  const SGasSwitchButtons b = Buttons();
  m_add->setEnabled(b.add);
  m_update->setEnabled(b.update);
  m_delete->setEnabled(b.remove);
}

int CGasSwitchEdit::ShownDepth() const { return static_cast<int>(std::lround(m_depth->value())); }

double CGasSwitchEdit::DepthMetres() const {
  // A depth left as the edited switch filled it in keeps the switch's metres.
  return SDisplayUnits{m_imperial}.HeldFromField(EQuantity::Depth, ShownDepth(), m_filledMetres, 0);
}

void CGasSwitchEdit::Finish(EAction action) {
  // Fields typed in but not yet left are read now.
  m_depth->Commit();
  m_setpoint->Commit();
  m_gas->LeaveField();
  if (action != EAction::Delete && !m_gas->GetGas().IsValid()) {
    // An empty field has had no message yet; an invalid text had string 1264.
    if (m_gas->currentText().isEmpty()) UserPrompt().ShowMessage(FromQt(Str(kTextInvalidGas)), EIcon::Exclamation);
    m_gas->setFocus();
    return;
  }
  m_action = action;
  accept();
}

}  // namespace kv::app
