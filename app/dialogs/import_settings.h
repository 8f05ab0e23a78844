#pragma once
// "Import Settings": picks a dive of the open plan (or its bailout profile)
// whose settings and gas switches the table generation page takes over.

#include <QDialog>

#include <vector>

#include "tablegen/table_generation.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace kv::app {

class CImportSettings final : public QDialog {
  Q_OBJECT
public:
  // choices: one line per dive, and a second "Bailout Mode" line for a dive
  // with a bailout plan (CTableGeneration::ImportChoices).
  CImportSettings(const std::vector<kv::SImportChoice>& choices, QWidget* parent = nullptr);

  // The line selected when OK was pressed; -1 when none is.
  int SelectedChoice() const;
  bool ImportSettings() const;
  bool ImportGasSwitches() const;

  QTreeWidget* List() const { return m_list; }
  QCheckBox* SettingsBox() const { return m_settings; }
  QCheckBox* GasSwitchesBox() const { return m_gasSwitches; }

private:
  void UpdateOk();

  QTreeWidget* m_list;
  QCheckBox* m_settings;
  QCheckBox* m_gasSwitches;
  QPushButton* m_ok = nullptr;
};

}  // namespace kv::app
