#include "app/dialogs/unit_field.h"

#include <cmath>

#include "app/platform/qt_text.h"

CUnitField::CUnitField(QWidget* parent, const char* metricLabel, const char* imperialLabel,
                       const SUnitRanges& ranges, double toImperial, double toMetric)
    : m_label(new QLabel(parent)),
      m_spin(new QDoubleSpinBox(parent)),
      m_metricLabel(Tr(metricLabel)),
      m_imperialLabel(Tr(imperialLabel)),
      m_ranges(ranges),
      m_toImperial(toImperial),
      m_toMetric(toMetric) {
  m_label->setBuddy(m_spin);
  m_spin->setKeyboardTracking(false);
  m_spin->setAlignment(Qt::AlignRight);
  // Numbers are shown with "." whatever the user's locale, as everywhere in the program.
  m_spin->setLocale(QLocale::c());
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
  const SSettingRange& r = m_imperial ? m_ranges.imperial : m_ranges.metric;
  m_label->setText(m_imperial ? m_imperialLabel : m_metricLabel);
  m_spin->setDecimals(r.decimals);
  m_spin->setRange(r.min, r.max);
  m_spin->setSingleStep(r.step);
  m_spin->setValue(m_imperial ? m_metric * m_toImperial : m_metric);
  // What the spin box made of it (rounded to its decimals, kept in range).
  m_shown = m_spin->value();
}
