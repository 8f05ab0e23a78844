#pragma once
// The fields that say what is breathed at a depth: the depth, closed or open
// circuit, the gas, and the setpoint (closed circuit) or the gas's PPO2 at
// the depth (open circuit, shown in the setpoint's place). The dive page's
// point entry and the gas switch editor both use them; each lays the fields
// out its own way and adds its own fields and buttons around them.

#include <QObject>
#include <functional>

#include "base/units.h"
#include "gas/gas.h"

class QLabel;
class QRadioButton;
class QWidget;

namespace kv::app {

class CGasComboCompletion;
class CSpinField;

class CGasEntryFields : public QObject {
  Q_OBJECT
public:
  // Creates the fields as children of parent, in tab order (depth, CC, OC,
  // gas, setpoint), set to the preferred mode and setpoint, with the
  // remembered gases in the gas list.
  CGasEntryFields(QWidget* parent, bool imperial);

  CSpinField* DepthField() const { return m_depth; }
  QRadioButton* ClosedCircuitButton() const { return m_cc; }
  QRadioButton* OpenCircuitButton() const { return m_oc; }
  CGasComboCompletion* GasField() const { return m_gas; }
  CSpinField* SetpointField() const { return m_setpoint; }
  QLabel* SetpointLabel() const { return m_setpointLabel; }
  QLabel* Ppo2Display() const { return m_ppo2; }

  // The texts of the mode buttons and the setpoint label in the language now chosen.
  void Retranslate();
  // Shows the depth in feet or metres; a depth kept from a fill stays the same metres.
  void SetImperial(bool imperial);
  bool Imperial() const { return m_units.imperial; }
  // The open-circuit PPO2 is shown at this surface pressure (mbar); without a
  // source it is shown for a 1 bar surface. Takes effect at the next display refresh.
  void SetSurfacePressureSource(std::function<double()> surfacePressure);

  // Filling the fields in, as the program does: the display follows, no
  // user edit is reported.
  void SetDepthMetres(double metres);
  void SetClosedCircuit(bool closedCircuit);
  void SetGas(const CGas& gas);
  void SetSetpoint(double setpoint);

  // The depth as entered, in metres. A depth left as SetDepthMetres filled it
  // in keeps those metres: an untouched "130 ft" stays 40.00 m, not 39.92 m.
  double DepthMetres() const;
  // The depth in the whole units the field shows.
  int ShownDepth() const;
  bool IsClosedCircuit() const;
  CGas Gas() const;
  double Setpoint() const;

  // Takes what is typed in the fields but not left yet, as leaving them does.
  // False when the gas typed is not a gas (its message has been shown); an
  // empty gas field is not such a fault here, the host decides about it.
  bool Commit();
  // Re-reads the remembered gases, keeping the gas entered.
  void ReloadGases();
  void SetEnabled(bool enabled);
  // Shows the setpoint or the PPO2 by the mode, and the PPO2 for the depth and gas.
  void RefreshDisplay();

signals:
  // The user changed the depth, the mode or the gas (the display is already up to date).
  void edited();
  // The gas entered changed (whole percentages).
  void gasChanged(int oxygen, int helium);
  // A gas typed here joined the remembered gases (already stored in the preferences).
  void gasAdded();

private:
  void UpdatePpo2();

  // The fields, in tab order, and the labels the host lays out beside them.
  CSpinField* m_depth = nullptr;
  QRadioButton* m_cc = nullptr;
  QRadioButton* m_oc = nullptr;
  CGasComboCompletion* m_gas = nullptr;
  CSpinField* m_setpoint = nullptr;
  QLabel* m_setpointLabel = nullptr;
  QLabel* m_ppo2 = nullptr;
  SDisplayUnits m_units;
  double m_filledMetres = 0.0;  // the depth the field was last filled with
  std::function<double()> m_surfacePressure;
};

}  // namespace kv::app
