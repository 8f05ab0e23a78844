#pragma once
// "Bailout Settings": how the bailout of a closed-circuit dive is planned.
// Changes are reported to the hosting profile entry page, which applies them
// while the dive is in bailout mode.

#include "app/pages/settings_page.h"

class QCheckBox;

namespace kv::app {

class CTabDivePlanBailoutSettings : public CSettingsPage {
  Q_OBJECT
public:
  explicit CTabDivePlanBailoutSettings(QWidget* parent = nullptr);

  void ShowDive(const CDivePlan* dive) override;
  void Retranslate() override;
  QCheckBox* UseGasListBox() const { return m_useList; }
  QCheckBox* IgnoreIcdBox() const { return m_ignoreIcd; }
  QCheckBox* IgnoreCnsBox() const { return m_ignoreCns; }

signals:
  void useGasListToggled(bool use);
  void ignoreIcdToggled(bool ignore);
  void ignoreCnsToggled(bool ignore);

private:
  void UpdateEnabling();
  QCheckBox* m_useList = nullptr;
  QCheckBox* m_ignoreIcd = nullptr;
  QCheckBox* m_ignoreCns = nullptr;
};

}  // namespace kv::app
