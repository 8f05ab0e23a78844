#include "app/pages/tab_dive_plan_dive_settings.h"

#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "engine/dive_plan.h"
#include "app/widgets/spin_field.h"
#include "app/widgets/ui_text.h"

namespace kv::app {

CTabDivePlanDiveSettings::CTabDivePlanDiveSettings(QWidget* parent) : CSettingsPage(parent) {
  setWindowTitle(tr("Dive Settings"));
  auto* form = new QFormLayout(this);
  const auto& fields = DiveSettingFields();
  // The surface interval sits between Max EAD and the rates.
  AddFields(fields, 0, 6, form);
  m_interval = new CIntervalField(this);
  const SFieldRange& interval = ValueRange(EValue::SurfaceInterval).metric;  // seconds
  m_interval->setRange(static_cast<int>(interval.minimum / 60), static_cast<int>(interval.maximum / 60));
  m_interval->setObjectName(QStringLiteral("Surface Interval (hh:mm)"));
  m_interval->setToolTip(UiString(2706));
  auto* label = new QLabel(tr("Surface Interval (hh:mm)"), this);
  label->setBuddy(m_interval);
  form->addRow(label, m_interval);
  connect(m_interval, &CIntervalField::posted, this, [this] { emit settingChanged(kMsgSurfaceInterval); });
  AddFields(fields, 6, fields.size(), form);
}

void CTabDivePlanDiveSettings::ShowDive(const CDivePlan* dive) {
  CSettingsPage::ShowDive(dive);
  const QSignalBlocker block(m_interval);
  m_interval->setEnabled(dive != nullptr);
  if (dive) m_interval->setValue(dive->GetSurfaceInterval() / 60);
}

int CTabDivePlanDiveSettings::SurfaceIntervalSeconds() const { return m_interval->value() * 60; }

}  // namespace kv::app
