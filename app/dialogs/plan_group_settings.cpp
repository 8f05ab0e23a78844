#include "app/dialogs/plan_group_settings.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/platform/qt_text.h"
#include "base/units.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

CPlanGroupSettings::CPlanGroupSettings(const SValues& values, bool imperial, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tr("Dive Plan Settings"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(RadioPair(this, "Surface Interval Algorithm", m_sds, "&Delayed Surface Desaturation", m_buhlmann,
                              "&Buhlmann"));
  (values.surfaceIntervalAlgorithm == 1 ? m_buhlmann : m_sds)->setChecked(true);
  layout->addWidget(AlgorithmBox(this));

  auto* form = new QFormLayout;
  m_pressure = std::make_unique<CUnitField>(this, "Cylinder Working Pressure (Bar)", "Cylinder Working Pressure (psi)",
                                            kv::EValue::CylinderWorkingPressure);
  m_reserve = std::make_unique<CUnitField>(this, "Gas Reserve (%)", "Gas Reserve (%)", kv::EValue::GasReserve);
  m_pressure->SetImperial(imperial);
  m_pressure->SetMetric(values.workingPressure);
  m_reserve->SetMetric(values.gasReserve);
  m_pressure->Label()->setText(imperial ? Str(kTextCylinderPressurePsi) : Str(kTextCylinderPressureBar));
  form->addRow(m_pressure->Label(), m_pressure->Spin());
  form->addRow(m_reserve->Label(), m_reserve->Spin());
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this, QStringLiteral("plan_settings")));
}

CPlanGroupSettings::~CPlanGroupSettings() = default;

CPlanGroupSettings::SValues CPlanGroupSettings::Values() const {
  SValues v;
  v.surfaceIntervalAlgorithm = m_buhlmann->isChecked() ? 1 : 0;
  v.algorithm = 1;
  v.workingPressure = m_pressure->Metric();
  v.gasReserve = m_reserve->Metric();
  return v;
}

}  // namespace kv::app
