#include "app/pages/tab_dive_plan_dive_settings.h"

#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <cmath>

#include "engine/dive_plan.h"
#include "app/widgets/spin_field.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

CTabDivePlanDiveSettings::CTabDivePlanDiveSettings(QWidget* parent) : CSettingsPage(parent) {
  auto* form = new QFormLayout(this);
  const auto& fields = DiveSettingFields();
  // The surface interval sits between Max EAD and the rates.
  AddFields(fields, 0, 6, form);
  m_interval = new CIntervalField(this);
  const SFieldRange& interval = ValueRange(EValue::SurfaceInterval).metric;  // seconds
  m_interval->setRange(static_cast<int>(interval.minimum / 60), static_cast<int>(interval.maximum / 60));
  m_interval->setObjectName(QStringLiteral("Surface Interval (hh:mm)"));
  m_intervalLabel = new QLabel(this);
  m_intervalLabel->setBuddy(m_interval);
  form->addRow(m_intervalLabel, m_interval);
  connect(m_interval, &CIntervalField::posted, this, [this] { emit surfaceIntervalEdited(SurfaceIntervalSeconds()); });
  AddFields(fields, 6, fields.size(), form);
  Retranslate();
}

void CTabDivePlanDiveSettings::Retranslate() {
  CSettingsPage::Retranslate();
  setWindowTitle(Tr("Dive Settings"));
  m_intervalLabel->setText(Tr("Surface Interval (hh:mm)"));
  m_interval->setToolTip(Str(kTipSurfaceInterval));
}

void CTabDivePlanDiveSettings::ShowDive(const CDivePlan* dive) {
  CSettingsPage::ShowDive(dive);
  const QSignalBlocker block(m_interval);
  m_interval->setEnabled(dive != nullptr);
  if (dive) m_interval->setValue(dive->GetSurfaceInterval() / 60);
}

int CTabDivePlanDiveSettings::SurfaceIntervalSeconds() const {
  return static_cast<int>(std::lround(m_interval->value())) * 60;
}

}  // namespace kv::app
