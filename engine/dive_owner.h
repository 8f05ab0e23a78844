#pragma once
// What a dive needs from the plan that owns it. The plan group implements it;
// the engine never sees the plan layer.

#include "engine/calculation_settings.h"

namespace kv {

class IDiveOwner {
public:
  virtual ~IDiveOwner() = default;
  // 0 ZH-L16A, 1 ZH-L16C.
  virtual int GetAlgorithm() const = 0;
  // 1 Buhlmann, 0 delayed surface desaturation.
  virtual int GetSurfaceIntervalAlgorithm() const = 0;
  virtual double GetGasReserve() const = 0;               // %
  virtual double GetCylinderWorkingPressure() const = 0;  // bar
  // Requests from SetState; true on success. Without force a plan that
  // calculates on demand only records the request.
  virtual bool CalculateDivePlan(int dive, bool force) = 0;
  virtual bool BailoutPlan(int dive, bool force) = 0;
  // The dive's modified flag changed.
  virtual void DiveModifiedChanged(int dive, bool modified) = 0;
  // Queue the DiveCalculated notification for the dive.
  virtual void PostDiveCalculated(int dive) = 0;
  // Queue the DiveRowReset notification: the dive rebuilt its bailout points.
  virtual void PostDiveRowReset(int /*dive*/) {}
  // The settings the plan calculates its dives with, as its front end took
  // them from the preferences; also the units of a dive's messages.
  virtual SCalculationSettings GetCalculationSettings() const { return {}; }
};

}  // namespace kv
