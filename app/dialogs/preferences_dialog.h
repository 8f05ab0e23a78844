#pragma once
// "Preferences": five pages filled from the preferences when opened; OK
// writes every value back, Cancel writes nothing.

#include <QDialog>

#include <memory>
#include <vector>

#include "app/widgets/unit_field.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kv::app {

class CTabDivePlanBailoutGasList;

class IFileChooser;

class CPreferencesDialog final : public QDialog {
  Q_OBJECT
public:
  explicit CPreferencesDialog(QWidget* parent = nullptr, IFileChooser* chooser = nullptr);
  ~CPreferencesDialog() override;

  // Writes every value to the preferences (what OK does).
  void Save();
  QTabWidget* Pages() const { return m_pages; }
  // The units chosen on the General page.
  bool Imperial() const;


  void accept() override;

private:
  void BuildGeneral();
  void BuildDivePlan();
  void BuildDive();
  void BuildBailout();
  void BuildGasList();
  void Load();
  void ApplyUnits();

  IFileChooser* m_chooser;
  QTabWidget* m_pages;
  // General.
  QCheckBox* m_grid = nullptr;
  QCheckBox* m_autoRecalc = nullptr;
  QRadioButton* m_metric = nullptr;
  QRadioButton* m_imperial = nullptr;
  QRadioButton* m_descending = nullptr;
  QRadioButton* m_ascending = nullptr;
  QRadioButton* m_minutesOnly = nullptr;
  QRadioButton* m_minutesSeconds = nullptr;
  QRadioButton* m_merged = nullptr;
  QRadioButton* m_detailed = nullptr;
  QRadioButton* m_cc = nullptr;
  QRadioButton* m_oc = nullptr;
  std::unique_ptr<CUnitField> m_defaultPpo2;
  QCheckBox* m_noClearSurface = nullptr;
  QLineEdit* m_diverName = nullptr;
  // Dive Plan.
  QRadioButton* m_sds = nullptr;
  QRadioButton* m_buhlmann = nullptr;
  std::unique_ptr<CUnitField> m_workingPressure;
  std::unique_ptr<CUnitField> m_gasReserve;
  // The fields the Dive and Bailout pages share.
  struct SDiveFields {
    std::unique_ptr<CUnitField> gfLow, gfHigh, sac, maxPpo2, maxEad, descent, ascent, lastStop;
  };
  SDiveFields MakeDiveFields(QWidget* page);
  // Dive.
  std::unique_ptr<CUnitField> m_surfacePressure;
  SDiveFields m_dive;
  CIntervalField* m_surfaceInterval = nullptr;
  // Bailout.
  std::unique_ptr<CUnitField> m_bSwitches, m_bMaxCns;
  SDiveFields m_bailout;
  QCheckBox* m_useGasList = nullptr;
  QCheckBox* m_ignoreIcd = nullptr;
  QCheckBox* m_ignoreCns = nullptr;
  // Bailout Gas List.
  CTabDivePlanBailoutGasList* m_gasList = nullptr;

  std::vector<CUnitField*> m_fields;
};

}  // namespace kv::app
