#include "app/dialogs/unit_field.h"

#include <cmath>
#include <utility>

#include "app/platform/qt_text.h"
#include "base/units.h"

namespace {

// imperial = metric x the first factor; metric = imperial x the second.
std::pair<double, double> Factors(kv::ERangeUnit unit) {
  switch (unit) {
    case kv::ERangeUnit::Depth:
    case kv::ERangeUnit::Rate:
      return {kv::kFeetPerMetre, kv::kMetresPerFoot};
    case kv::ERangeUnit::Volume:
      return {kv::kCubicFeetPerLitre, kv::kLitresPerCubicFoot};
    case kv::ERangeUnit::Pressure:
      return {kv::kPsiPerBar, kv::kBarPerPsi};
    case kv::ERangeUnit::None:
      break;
  }
  return {1.0, 1.0};
}

}  // namespace

CUnitField::CUnitField(QWidget* parent, const char* metricLabel, const char* imperialLabel, kv::EValue value)
    : m_label(new QLabel(parent)),
      m_spin(new kv::app::CSpinField(parent)),
      m_metricLabel(Tr(metricLabel)),
      m_imperialLabel(Tr(imperialLabel)),
      m_range(kv::ValueRange(value)),
      m_toImperial(Factors(m_range.unit).first),
      m_toMetric(Factors(m_range.unit).second) {
  m_label->setBuddy(m_spin);
  m_spin->setAlignment(Qt::AlignRight);
  Show();
}

void CUnitField::SetMetric(double metric) {
  m_metric = metric;
  Show();
}

void CUnitField::SetImperial(bool imperial) {
  if (imperial == m_imperial) return;
  m_metric = Metric();
  m_imperial = imperial;
  Show();
}

double CUnitField::Metric() const {
  const double shown = m_spin->value();
  if (std::abs(shown - m_shown) < 1e-9) return m_metric;
  return m_imperial ? shown * m_toMetric : shown;
}

void CUnitField::Show() {
  const kv::SFieldRange& r = m_imperial ? m_range.imperial : m_range.metric;
  m_label->setText(m_imperial ? m_imperialLabel : m_metricLabel);
  m_spin->SetLimits(r.minimum, r.maximum, r.step, r.decimals);
  m_spin->setValue(m_imperial ? m_metric * m_toImperial : m_metric);
  // What the spin box made of it (rounded to its decimals, kept in range).
  m_shown = m_spin->value();
}
