#include "app/pages/tab_dive_plan_bailout_settings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSignalBlocker>

#include "engine/dive_plan.h"
#include "app/widgets/spin_field.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

CTabDivePlanBailoutSettings::CTabDivePlanBailoutSettings(QWidget* parent) : CSettingsPage(parent) {
  auto* form = new QFormLayout(this);
  const auto& fields = BailoutSettingFields();
  AddFields(fields, 0, fields.size(), form);
  auto box = [&](void (CTabDivePlanBailoutSettings::*toggled)(bool)) {
    auto* b = new QCheckBox(this);
    form->addRow(b);
    connect(b, &QCheckBox::clicked, this, [this, toggled](bool checked) {
      UpdateEnabling();
      emit(this->*toggled)(checked);
    });
    return b;
  };
  m_useList = box(&CTabDivePlanBailoutSettings::useGasListToggled);
  m_ignoreIcd = box(&CTabDivePlanBailoutSettings::ignoreIcdToggled);
  m_ignoreCns = box(&CTabDivePlanBailoutSettings::ignoreCnsToggled);
  Retranslate();
}

void CTabDivePlanBailoutSettings::Retranslate() {
  CSettingsPage::Retranslate();
  setWindowTitle(Tr("Bailout Settings"));
  // The page shares its window with the dive page's Add, Insert, Update and
  // Delete buttons (Alt+A, I, U, D): the boxes take letters of their own.
  m_useList->setText(Tr("Use Bailout &Gas List"));
  m_ignoreIcd->setText(Tr("Ignore I&CD"));
  m_ignoreCns->setText(Tr("Ignore C&NS"));
  m_useList->setToolTip(Str(kTipUseBailoutGasList));
  m_ignoreIcd->setToolTip(Str(kTipIgnoreIcd));
  m_ignoreCns->setToolTip(Str(kTipIgnoreCns));
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
  if (CSpinField* count = Field(ESetting::BailoutNoOfGasSwitches))
    count->setEnabled(m_useList->isEnabledTo(this) && !m_useList->isChecked());
}

}  // namespace kv::app
