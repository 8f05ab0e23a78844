#include "app/pages/tab_dive_plan_bailout_settings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSignalBlocker>

#include "engine/dive_plan.h"
#include "app/widgets/spin_field.h"
#include "app/widgets/ui_text.h"

namespace kv::app {

CTabDivePlanBailoutSettings::CTabDivePlanBailoutSettings(QWidget* parent) : CSettingsPage(parent) {
  setWindowTitle(tr("Bailout Settings"));
  auto* form = new QFormLayout(this);
  const auto& fields = BailoutSettingFields();
  AddFields(fields, 0, fields.size(), form);
  auto box = [&](const QString& text, int message, int tooltip) {
    auto* b = new QCheckBox(text, this);
    b->setToolTip(UiString(tooltip));
    form->addRow(b);
    connect(b, &QCheckBox::clicked, this, [this, message] {
      UpdateEnabling();
      emit settingChanged(message);
    });
    return b;
  };
  m_useList = box(tr("&Use Bailout Gas List"), kMsgBailoutUseGasList, 2760);
  m_ignoreIcd = box(tr("&Ignore ICD"), kMsgBailoutIgnoreIcd, 2761);
  m_ignoreCns = box(tr("&Ignore CNS"), kMsgBailoutIgnoreCns, 2762);
}

void CTabDivePlanBailoutSettings::ShowDive(const CDivePlan* dive) {
  CSettingsPage::ShowDive(dive);
  for (QCheckBox* b : {m_useList, m_ignoreIcd, m_ignoreCns}) {
    const QSignalBlocker block(b);
    b->setEnabled(dive != nullptr);
  }
  if (dive) {
    const SBailoutSettings& s = dive->BailoutSettings();
    m_useList->setChecked(s.useBailoutGasList != 0);
    m_ignoreIcd->setChecked(s.ignoreIcd != 0);
    m_ignoreCns->setChecked(s.ignoreCns != 0);
  }
  UpdateEnabling();
}

void CTabDivePlanBailoutSettings::UpdateEnabling() {
  // The planner takes as many gases as the list offers, so the count is not asked.
  if (CSpinField* count = Field(kMsgBailoutNoOfGasSwitches))
    count->setEnabled(m_useList->isEnabledTo(this) && !m_useList->isChecked());
}

}  // namespace kv::app
