#include "app/dialogs/plan_group_settings.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/platform/qt_text.h"
#include "base/units.h"

CPlanGroupSettings::CPlanGroupSettings(const SValues& values, bool imperial, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tr("Dive Plan Settings"));
  auto* layout = new QVBoxLayout(this);
  auto* sia = new QGroupBox(Tr("Surface Interval Algorithm"), this);
  auto* sl = new QVBoxLayout(sia);
  m_sds = new QRadioButton(Tr("&Delayed Surface Desaturation"), sia);
  m_buhlmann = new QRadioButton(Tr("&Buhlmann"), sia);
  auto* group = new QButtonGroup(sia);
  group->addButton(m_sds);
  group->addButton(m_buhlmann);
  sl->addWidget(m_sds);
  sl->addWidget(m_buhlmann);
  (values.surfaceIntervalAlgorithm == 1 ? m_buhlmann : m_sds)->setChecked(true);
  layout->addWidget(sia);

  auto* algorithm = new QGroupBox(Tr("Algorithm"), this);
  auto* al = new QVBoxLayout(algorithm);
  auto* zhl16c = new QRadioButton(QStringLiteral("ZH-L16&C"), algorithm);
  zhl16c->setChecked(true);
  al->addWidget(zhl16c);
  layout->addWidget(algorithm);

  auto* form = new QFormLayout;
  m_pressure = std::make_unique<CUnitField>(this, "Cylinder Working Pressure (Bar)", "Cylinder Working Pressure (psi)",
                                            ranges::kCylinderWorkingPressure, kv::kPsiPerBar, kv::kBarPerPsi);
  m_reserve = std::make_unique<CUnitField>(this, "Gas Reserve (%)", "Gas Reserve (%)", ranges::kGasReserve);
  m_pressure->SetImperial(imperial);
  m_pressure->SetMetric(values.workingPressure);
  m_reserve->SetMetric(values.gasReserve);
  m_pressure->Label()->setText(imperial ? Str(1085) : Str(1084));
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
