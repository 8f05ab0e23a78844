// Merges the profile into the printable segments of the dive tables: one row
// per time at depth, with the ascent after a stop folded into that stop.

#include "base/status_log.h"
#include "engine/dive_plan.h"

namespace kv {
namespace {

enum EDirection { kLevel, kUp, kDown };

EDirection Direction(double from, double to) {
  if (to < from) return kUp;
  if (to > from) return kDown;
  return kLevel;
}

}  // namespace

void CDivePlan::BuildDiveSegments() {
  const CLeveledLog log = Log();
  m_results.segments.clear();
  m_results.gasWarnings.clear();
  log.LogAtLevel("Processing, Segmenting - Started", kLogProgress);
  const int n = static_cast<int>(m_results.profilePoints.size());
  if (n == 0) {
    log.LogAtLevel("Processing, Segmenting - Completed", kLogProgress);
    return;
  }
  const bool detailed = m_results.calculationSettings.detailedFirstAscent;
  const double dmax = GetMaxProfileDepth();
  double s0 = m_results.profilePoints[0].Depth();
  int k = 0;
  bool firstAscentSeen = false;
  bool previousEmitted = false;
  EDirection toNext = kLevel;

  for (int i = 0; i < n; ++i) {
    const CPlanPoint& p = m_results.profilePoints[static_cast<std::size_t>(i)];
    const CPlanPoint* next = i + 1 < n ? &m_results.profilePoints[static_cast<std::size_t>(i + 1)] : nullptr;
    k += p.m_duration;
    const double f = p.Depth();
    const EDirection fromS0 = Direction(s0, f);
    if (next) toNext = Direction(f, next->Depth());
    const bool nextOtherGas = next && !p.SameBreathing(*next);

    bool emit = false;
    bool firstAscent = false;
    const CPlanPoint* merged = nullptr;
    if (i == 0) {
      emit = false;
    } else if (p.m_duration == 0) {
      emit = fromS0 == kLevel && toNext == kUp;
    } else if (fromS0 == kLevel) {
      if (toNext == kUp && !firstAscentSeen) {
        emit = true;
      } else if (toNext == kLevel) {
        emit = previousEmitted;
      } else {
        if (next && !nextOtherGas) merged = next;
        emit = true;
      }
    } else if (fromS0 == kUp && !firstAscentSeen) {
      firstAscentSeen = true;
      if (detailed) {
        firstAscent = true;
        emit = true;
      } else if (!nextOtherGas) {
        s0 = f;
        emit = false;
      } else {
        emit = true;
      }
    } else {
      emit = true;
    }

    if (!emit) {
      previousEmitted = false;
      continue;
    }

    CDiveSegment seg;
    const CPlanPoint& last = merged ? *merged : p;
    if (merged) k += merged->m_duration;
    const char* label;
    if (firstAscent) {
      const bool isLast = i == n - 1;
      seg.m_kind = isLast ? kSegAscentToSurface : kSegFirstAscent;
      label = isLast ? "Ascent to Surface Segment " : "First Ascent Segment      ";
    } else if (f == dmax && !(next && next->Depth() == dmax)) {
      seg.m_kind = kSegBottom;
      label = "Bottom Depth             ";
    } else {
      seg.m_kind = kSegPrinted;
      label = "Printed Segment          ";
    }
    seg.m_depth = s0;
    seg.m_duration = k;
    seg.m_end = last.End();
    seg.m_oxygen = p.m_oxygen;
    seg.m_helium = p.m_helium;
    seg.m_ppo2 = p.m_setpoint;
    seg.m_closedCircuit = p.m_closedCircuit;
    seg.m_noClearSurface = p.m_noClearSurface;
    const SWarningSummary summary = SummariseWarnings(p.m_start, p.End());
    seg.m_warningFlags = summary.flags;
    m_results.segments.push_back(seg);
    log.LogAtLevelF(kLogProgress, "Processing, Segmenting - %s, Segment %3d, Depth %6.2f, Duration %5d", label,
                    static_cast<int>(m_results.segments.size()) - 1, seg.m_depth, seg.m_duration);
    if (summary.flags & (kWarnEad | kWarnPpo2High | kWarnPpo2Low | kWarnIcd))
      AddGasWarning(p.m_oxygen, p.m_helium, summary.icd, summary.ead, summary.highO2, summary.lowO2);
    s0 = last.Depth();
    k = 0;
    previousEmitted = true;
    if (merged) ++i;
  }
  log.LogAtLevel("Processing, Segmenting - Completed", kLogProgress);
}

}  // namespace kv
