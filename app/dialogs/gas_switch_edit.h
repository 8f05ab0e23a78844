#pragma once
// The dialog that adds, updates or deletes one gas switch of a schedule:
// depth, CC or OC, gas and setpoint (or, on open circuit, the gas's PPO2 at
// the depth).

#include <QDialog>

#include "gas/gas_switch.h"

class QPushButton;

namespace kv::app {

class CGasEntryFields;
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

  // The depth, mode, gas and setpoint fields with the PPO2 display.
  CGasEntryFields& Fields() const { return *m_fields; }
  CSpinField* DepthField() const;

signals:
  // A gas typed here joined the remembered gas list (already stored in the preferences).
  void gasListChanged();

private:
  void Refresh();
  void Finish(EAction action);

  const CGasSwitchSchedule& m_schedule;
  int m_editIndex;
  bool m_imperial;
  EAction m_action = EAction::Cancel;
  CGasEntryFields* m_fields = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_update = nullptr;
  QPushButton* m_delete = nullptr;
};

}  // namespace kv::app
