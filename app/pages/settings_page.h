#pragma once
// What the dive and bailout settings pages share: numeric fields built from
// the settings list, relabelled and re-ranged for the units, filled from the
// dive without reporting, and one signal per user change naming the setting.

#include <QWidget>
#include <map>
#include <vector>

#include "app/pages/setting_fields.h"

class QFormLayout;
class QLabel;

namespace kv::app {

class CSpinField;

class CSettingsPage : public QWidget {
  Q_OBJECT
public:
  explicit CSettingsPage(QWidget* parent = nullptr);

  void SetImperial(bool imperial);
  bool Imperial() const { return m_units.imperial; }
  // Shows the dive's values (nothing for nullptr) without reporting changes.
  virtual void ShowDive(const CDivePlan* dive);
  // Labels and tooltips in the language now chosen.
  virtual void Retranslate();
  CSpinField* Field(ESetting setting) const;
  // True once the page has been on screen.
  bool WasShown() const { return m_shown; }

signals:
  // The user changed the field of this setting.
  void settingEdited(ESetting setting);

protected:
  // Adds fields[first .. last) (entries of one of the static settings lists).
  void AddFields(const std::vector<SSettingField>& fields, std::size_t first, std::size_t last, QFormLayout* form);
  void showEvent(QShowEvent* event) override;

private:
  struct SEntry {
    const SSettingField* field;
    CSpinField* spin;
    QLabel* label;
  };
  std::vector<SEntry> m_entries;
  SDisplayUnits m_units;
  bool m_shown = false;
};

}  // namespace kv::app
