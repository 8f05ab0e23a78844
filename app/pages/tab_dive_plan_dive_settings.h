#pragma once
// "Dive Settings": the dive's surface pressure, gradient factors, SAC rate,
// limits, surface interval, rates and last stop. Each change is reported to
// the hosting profile entry page, which stores it in the dive.

#include "app/pages/settings_page.h"

namespace kv::app {

class CIntervalField;

class CTabDivePlanDiveSettings : public CSettingsPage {
  Q_OBJECT
public:
  explicit CTabDivePlanDiveSettings(QWidget* parent = nullptr);

  void ShowDive(const CDivePlan* dive) override;
  void Retranslate() override;
  CIntervalField* SurfaceIntervalField() const { return m_interval; }
  // The surface interval field in seconds (hours x 3600 + minutes x 60).
  int SurfaceIntervalSeconds() const;

signals:
  void surfaceIntervalEdited(int seconds);

private:
  CIntervalField* m_interval = nullptr;
  QLabel* m_intervalLabel = nullptr;
};

}  // namespace kv::app
