#pragma once
// A numeric field that holds a metric quantity and shows it in the user's
// units: the spin box's range, step, decimals and label follow the units, and
// a value the user did not touch comes back exactly as it was given (a
// round trip through feet or psi would otherwise move it a little on every OK).

#include <QLabel>
#include <QString>

#include "app/widgets/spin_field.h"
#include "base/units.h"
#include "base/value_ranges.h"

namespace kv::app {

class CUnitField {
public:
  // The range, step, decimals and conversion come from the program's table
  // of ranges. Labels are English texts (translated here).
  CUnitField(QWidget* parent, const char* metricLabel, const char* imperialLabel, kv::EValue value);

  QLabel* Label() const { return m_label; }
  CSpinField* Spin() const { return m_spin; }

  void SetMetric(double metric);
  // The value in metric units: the given one while the shown value is unchanged.
  double Metric() const;
  // Switches the shown units, keeping the metric value.
  void SetImperial(bool imperial);
  bool IsImperial() const { return m_units.imperial; }

private:
  void Show();

  QLabel* m_label;
  CSpinField* m_spin;
  QString m_metricLabel;
  QString m_imperialLabel;
  const kv::SValueRange& m_range;
  kv::SDisplayUnits m_units;
  double m_metric = 0.0;
  double m_shown = 0.0;
};

}  // namespace kv::app
