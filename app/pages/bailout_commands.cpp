#include "app/pages/bailout_commands.h"

#include "engine/dive_plan.h"

namespace kv::app {

void SetBailout(CDivePlan& dive, int second, bool fromEndOfSegment) { dive.SetBailout(second, fromEndOfSegment); }

void ShowNormalPlan(CDivePlan& dive) { dive.ShowNormalPlan(); }

void ClearBailout(CDivePlan& dive) { dive.ClearBailout(); }

}  // namespace kv::app
