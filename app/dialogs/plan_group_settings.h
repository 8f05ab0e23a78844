#pragma once
// "Dive Plan Settings": the plan-wide surface interval method, algorithm
// (ZH-L16C only), cylinder working pressure and gas reserve.

#include <QDialog>

#include <memory>

#include "app/widgets/unit_field.h"

class QRadioButton;

namespace kv::app {

class CPlanGroupSettings final : public QDialog {
  Q_OBJECT
public:
  struct SValues {
    int surfaceIntervalAlgorithm = 0;  // 1 Buhlmann, 0 delayed surface desaturation
    int algorithm = 1;                 // always ZH-L16C
    double workingPressure = 0.0;      // bar
    double gasReserve = 0.0;           // %
  };
  CPlanGroupSettings(const SValues& values, bool imperial, QWidget* parent = nullptr);
  ~CPlanGroupSettings() override;

  SValues Values() const;
  CUnitField& WorkingPressure() { return *m_pressure; }
  CUnitField& GasReserve() { return *m_reserve; }
  QRadioButton* Buhlmann() const { return m_buhlmann; }

private:
  QRadioButton* m_sds;
  QRadioButton* m_buhlmann;
  std::unique_ptr<CUnitField> m_pressure;
  std::unique_ptr<CUnitField> m_reserve;
};

}  // namespace kv::app
