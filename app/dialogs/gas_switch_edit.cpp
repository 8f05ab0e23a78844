#include "app/dialogs/gas_switch_edit.h"

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
#include "app/widgets/gas_entry_fields.h"
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
  setWindowTitle(title);
  m_fields = new CGasEntryFields(this, imperial);
  if (editIndex >= 0 && editIndex < schedule.Count()) {
    const CGasSwitch& current = schedule.At(editIndex);
    m_fields->SetDepthMetres(current.m_depth);
    m_fields->SetClosedCircuit(current.m_closedCircuit);
    CGas gas;
    if (gas.SetMix(current.m_oxygen, current.m_helium)) m_fields->SetGas(gas);
    if (current.m_closedCircuit) m_fields->SetSetpoint(current.m_setpoint);
  }

  auto* form = new QFormLayout;
  form->addRow(Str(imperial ? kTextDepthFeet : kTextDepthMetres), m_fields->DepthField());
  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(m_fields->ClosedCircuitButton());
  modeRow->addWidget(m_fields->OpenCircuitButton());
  modeRow->addStretch();
  form->addRow(Tr("CC OC"), modeRow);
  form->addRow(Tr("Gas Mix"), m_fields->GasField());
  auto* ppo2Row = new QHBoxLayout;
  ppo2Row->addWidget(m_fields->SetpointField());
  ppo2Row->addWidget(m_fields->Ppo2Display());
  ppo2Row->addStretch();
  form->addRow(m_fields->SetpointLabel(), ppo2Row);

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

  connect(m_fields, &CGasEntryFields::edited, this, &CGasSwitchEdit::Refresh);
  connect(m_fields, &CGasEntryFields::gasAdded, this, &CGasSwitchEdit::gasListChanged);
  connect(m_add, &QPushButton::clicked, this, [this] { Finish(EAction::Add); });
  connect(m_update, &QPushButton::clicked, this, [this] { Finish(EAction::Update); });
  connect(m_delete, &QPushButton::clicked, this, [this] { Finish(EAction::Delete); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
}

CSpinField* CGasSwitchEdit::DepthField() const { return m_fields->DepthField(); }

SGasSwitchButtons CGasSwitchEdit::Buttons() const {
  return GasSwitchButtons(m_schedule, m_editIndex, m_fields->ShownDepth(), m_imperial);
}

CGasSwitch CGasSwitchEdit::Result() const {
  const bool closedCircuit = m_fields->IsClosedCircuit();
  const CGas gas = m_fields->Gas();
  CGasSwitch result;
  result.Set(m_fields->DepthMetres(), gas.Oxygen(), gas.Helium(), closedCircuit,
             closedCircuit ? m_fields->Setpoint() : 0.0, true);
  return result;
}

void CGasSwitchEdit::Refresh() {
  const SGasSwitchButtons b = Buttons();
  m_add->setEnabled(b.add);
  m_update->setEnabled(b.update);
  m_delete->setEnabled(b.remove);
}

void CGasSwitchEdit::Finish(EAction action) {
  // Fields typed in but not yet left are read now.
  m_fields->Commit();
  if (action != EAction::Delete && !m_fields->Gas().IsValid()) {
    // An empty field has had no message yet; an invalid text had string 1264.
    if (m_fields->GasField()->currentText().isEmpty())
      UserPrompt().ShowMessage(FromQt(Str(kTextInvalidGas)), EIcon::Exclamation);
    m_fields->GasField()->setFocus();
    return;
  }
  m_action = action;
  accept();
}

}  // namespace kv::app
