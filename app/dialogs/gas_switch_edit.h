#pragma once
// The dialog that adds, updates or deletes one gas switch of a schedule:
// depth, CC or OC, gas and setpoint (or, on open circuit, the gas's PPO2 at
// the depth).

#include <QDialog>

#include "gas/gas_switch.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace kv::app {

class CGasComboCompletion;
class CSpinField;

// Which buttons the dialog offers for an entered depth (in the shown unit).
struct SGasSwitchButtons {
  bool add = false;
  bool update = false;
  bool remove = false;
  bool operator==(const SGasSwitchButtons&) const = default;
};
// editIndex is -1 for a new switch. Depths are compared as shown (whole
// metres or feet), so a stored 21 m matches 69 ft and not its own feet
// value's fractions.
SGasSwitchButtons GasSwitchButtons(const CGasSwitchSchedule& schedule, int editIndex, int shownDepth, bool imperial);

class CGasSwitchEdit : public QDialog {
  Q_OBJECT
public:
  enum class EAction { Cancel, Add, Update, Delete };

  // Edits entry editIndex of the schedule, or a new switch for -1.
  CGasSwitchEdit(const QString& title, const CGasSwitchSchedule& schedule, int editIndex, bool imperial,
                 QWidget* parent = nullptr);

  EAction Action() const { return m_action; }
  // The switch as entered (depth in metres, setpoint 0 on open circuit, in use).
  CGasSwitch Result() const;
  SGasSwitchButtons Buttons() const;

  CSpinField* DepthField() const { return m_depth; }
  CGasComboCompletion* GasField() const { return m_gas; }
  QRadioButton* ClosedCircuitButton() const { return m_cc; }
  QRadioButton* OpenCircuitButton() const { return m_oc; }
  CSpinField* SetpointField() const { return m_setpoint; }
  QLabel* Ppo2Display() const { return m_ppo2; }

signals:
  // A gas typed here joined the remembered gas list (already stored in the preferences).
  void gasListChanged();

private:
  void Refresh();
  void Finish(EAction action);
  int ShownDepth() const;
  double DepthMetres() const;

  const CGasSwitchSchedule& m_schedule;
  int m_editIndex;
  bool m_imperial;
  double m_filledMetres = 0.0;  // the depth of the switch edited, 0 for a new one
  EAction m_action = EAction::Cancel;
  CSpinField* m_depth = nullptr;
  QRadioButton* m_cc = nullptr;
  QRadioButton* m_oc = nullptr;
  CGasComboCompletion* m_gas = nullptr;
  CSpinField* m_setpoint = nullptr;
  QLabel* m_ppo2 = nullptr;
  QLabel* m_setpointLabel = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_update = nullptr;
  QPushButton* m_delete = nullptr;
};

}  // namespace kv::app
