#include "app/widgets/unit_field.h"

#include <cmath>

#include "app/platform/qt_text.h"

namespace kv::app {

CUnitField::CUnitField(QWidget* parent, const char* metricLabel, const char* imperialLabel, kv::EValue value)
    : m_label(new QLabel(parent)),
      m_spin(new CSpinField(parent)),
      m_metricLabel(Tr(metricLabel)),
      m_imperialLabel(Tr(imperialLabel)),
      m_range(kv::ValueRange(value)) {
  m_label->setBuddy(m_spin);
  m_spin->setAlignment(Qt::AlignRight);
  Show();
}

void CUnitField::SetMetric(double metric) {
  m_metric = metric;
  Show();
}

void CUnitField::SetImperial(bool imperial) {
  if (imperial == m_units.imperial) return;
  m_metric = Metric();
  m_units.imperial = imperial;
  Show();
}

double CUnitField::Metric() const {
  const double shown = m_spin->value();
  if (std::abs(shown - m_shown) < 1e-9) return m_metric;
  return m_units.Held(m_range.quantity, shown);
}

void CUnitField::Show() {
  const kv::SFieldRange& r = m_range.Field(m_units);
  m_label->setText(m_units.imperial ? m_imperialLabel : m_metricLabel);
  m_spin->SetLimits(r.minimum, r.maximum, r.step, r.decimals);
  m_spin->setValue(m_units.Shown(m_range.quantity, m_metric));
  // What the spin box made of it (rounded to its decimals, kept in range).
  m_shown = m_spin->value();
}

}  // namespace kv::app
