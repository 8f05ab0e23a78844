#include "app/pages/settings_page.h"

#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "engine/dive_plan.h"
#include "app/widgets/spin_field.h"
#include "app/platform/qt_text.h"

namespace kv::app {

CSettingsPage::CSettingsPage(QWidget* parent) : QWidget(parent) {}

void CSettingsPage::AddFields(const std::vector<SSettingField>& fields, std::size_t first, std::size_t last,
                              QFormLayout* form) {
  for (std::size_t i = first; i < last && i < fields.size(); ++i) {
    const SSettingField& f = fields[i];
    auto* spin = new CSpinField(this);
    auto* label = new QLabel(Tr(f.field.metricLabel), this);
    label->setBuddy(spin);
    spin->setToolTip(Str(f.tooltip));
    spin->setObjectName(QString::fromLatin1(f.field.metricLabel));
    const SFieldRange& r = f.field.Field(SDisplayUnits::Metric());
    spin->SetLimits(r.minimum, r.maximum, r.step, r.decimals);
    form->addRow(label, spin);
    const ESetting setting = f.setting;
    connect(spin, &CSpinField::posted, this, [this, setting] { emit settingEdited(setting); });
    m_entries.push_back({&f, spin, label});
  }
}

void CSettingsPage::SetImperial(bool imperial) {
  m_units.imperial = imperial;
  for (const SEntry& e : m_entries) {
    const QSignalBlocker block(e.spin);
    e.label->setText(Tr(e.field->field.Label(m_units)));
    const SFieldRange& r = e.field->field.Field(m_units);
    e.spin->SetLimits(r.minimum, r.maximum, r.step, r.decimals);
  }
}

void CSettingsPage::Retranslate() {
  for (const SEntry& e : m_entries) {
    e.label->setText(Tr(e.field->field.Label(m_units)));
    e.spin->setToolTip(Str(e.field->tooltip));
  }
}

void CSettingsPage::ShowDive(const CDivePlan* dive) {
  for (const SEntry& e : m_entries) {
    const QSignalBlocker block(e.spin);
    e.spin->setEnabled(dive != nullptr);
    if (dive)
      e.spin->setValue(m_units.ShownInField(e.field->field.Range().quantity, e.field->field.get(*dive),
                                            e.field->field.Field(m_units).decimals));
  }
}

CSpinField* CSettingsPage::Field(ESetting setting) const {
  for (const SEntry& e : m_entries)
    if (e.field->setting == setting) return e.spin;
  return nullptr;
}

void CSettingsPage::showEvent(QShowEvent* event) {
  m_shown = true;
  QWidget::showEvent(event);
}

}  // namespace kv::app
