#include "app/pages/bailout_commands.h"

#include "base/status_log.h"
#include "engine/dive_plan.h"

// The dive's own trigger operations are not part of the engine yet. Until they
// are, these do what the trigger needs from the outside: choose the bailout
// second, store the bailout depth, ceiling and EAD of that second, enter
// bailout mode and ask the plan for a bailout plan. When the engine gains
// SetBailout, ShowNormalPlan and ClearBailout, each of these becomes a call.

namespace kv::app {

void SetBailout(CDivePlan& dive, int second, bool fromEndOfSegment) {
  CStatusLog& log = StatusLog();
  log.LogAtLevel("-", kLogDetail);
  log.LogAtLevel("Started", kLogDetail);
  int bailoutSecond = second;
  if (fromEndOfSegment) {
    // The end of the profile segment that holds the cursor: the last one that
    // starts no later than the cursor.
    for (const CPlanPoint& p : dive.ProfilePoints())
      if (p.m_start <= second) bailoutSecond = p.End();
    log.LogAtLevelF(kLogDetail, "Bailout from end of segment at time t%d, cursor t%d", bailoutSecond, second);
  } else {
    log.LogAtLevelF(kLogDetail, "Bailout from cursor at time t%d", bailoutSecond);
  }
  dive.m_bailoutTime = bailoutSecond;
  dive.m_bailoutRemainder = -1;
  dive.BailoutInitialPlanPointsRef().clear();
  if (const CPredictionPoint* p = dive.Prediction(bailoutSecond)) {
    dive.m_bailoutDepth = p->m_depthPressure / 100.0;
    dive.m_bailoutCeiling = p->m_ceiling / 100.0;
    dive.m_bailoutEad = p->m_ead;
    log.LogAtLevelF(kLogDetail, "Bailout depth %0.1fm", dive.m_bailoutDepth);
    log.LogAtLevelF(kLogDetail, "Bailout ceiling %0.1fm and bailout EAD %0.1fm stored", dive.m_bailoutCeiling,
                    dive.m_bailoutEad);
  }
  // A new trigger plans afresh: an earlier valid plan must not be re-used.
  dive.SetBailoutPlanValid(false);
  dive.SetBailoutMode(true);
  dive.SetModified(true);
  dive.SetState(kStateReplanBailout, 0);
}

void ShowNormalPlan(CDivePlan& dive) {
  dive.SetBailoutMode(false);
  dive.SetState(kStateRecalculate, 0);
}

void ClearBailout(CDivePlan& dive) {
  dive.SetBailoutMode(false);
  dive.ClearBailoutPoints();
  dive.BailoutInitialPlanPointsRef().clear();
  dive.SetModified(true);
  dive.SetState(kStateRecalculate, 0);
}

}  // namespace kv::app
