#pragma once
// The profile chart's bailout commands as the dive page gives them to the
// dive: start a bailout at a second, show the normal plan again, or clear the
// bailout. Kept in one place so the page does not depend on how the dive
// carries them out.

namespace kv {
class CDivePlan;
}

namespace kv::app {

// "&Bailout from cursor" (fromEndOfSegment false) and "Bailout from end of
// &segment": the dive's trigger, which puts it in bailout mode and asks for
// its bailout plan.
void SetBailout(CDivePlan& dive, int second, bool fromEndOfSegment);
// "Return to &Dive": bailout mode off, the bailout plan kept, recalculation wanted.
void ShowNormalPlan(CDivePlan& dive);
// "&Clear Bailout": bailout mode off, both bailout lists cleared, recalculation wanted.
void ClearBailout(CDivePlan& dive);

}  // namespace kv::app
