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

// Where the merging stands between profile points.
struct SSegmenting {
  double s0 = 0.0;  // m, where the open segment started
  int k = 0;        // s of the open segment so far
  bool firstAscentSeen = false;
  bool previousEmitted = false;
  EDirection toNext = kLevel;
};

// What a profile point does to the open segment.
struct SSegmentEnd {
  bool emit = false;                   // the point ends a printed segment
  bool firstAscent = false;            // ... which is the detailed first ascent
  const CPlanPoint* merged = nullptr;  // the next point, folded into it
};

SSegmentEnd EndOfSegment(SSegmenting& st, bool first, const CPlanPoint& p, const CPlanPoint* next, bool detailed) {
  const double f = p.Depth();
  const EDirection fromS0 = Direction(st.s0, f);
  if (next) st.toNext = Direction(f, next->Depth());
  const bool nextOtherGas = next && !p.SameBreathing(*next);

  SSegmentEnd end;
  if (first) {
    end.emit = false;
  } else if (p.m_duration == 0) {
    end.emit = fromS0 == kLevel && st.toNext == kUp;
  } else if (fromS0 == kLevel) {
    if (st.toNext == kUp && !st.firstAscentSeen) {
      end.emit = true;
    } else if (st.toNext == kLevel) {
      end.emit = st.previousEmitted;
    } else {
      if (next && !nextOtherGas) end.merged = next;
      end.emit = true;
    }
  } else if (fromS0 == kUp && !st.firstAscentSeen) {
    st.firstAscentSeen = true;
    if (detailed) {
      end.firstAscent = true;
      end.emit = true;
    } else if (!nextOtherGas) {
      st.s0 = f;
      end.emit = false;
    } else {
      end.emit = true;
    }
  } else {
    end.emit = true;
  }
  return end;
}

// The kind of a printed segment ending at p, and its label in the log.
const char* SetSegmentKind(CDiveSegment& seg, const SSegmentEnd& end, bool isLast, const CPlanPoint& p,
                           const CPlanPoint* next, double dmax) {
  if (end.firstAscent) {
    seg.m_kind = isLast ? kSegAscentToSurface : kSegFirstAscent;
    return isLast ? "Ascent to Surface Segment " : "First Ascent Segment      ";
  }
  if (p.Depth() == dmax && !(next && next->Depth() == dmax)) {
    seg.m_kind = kSegBottom;
    return "Bottom Depth             ";
  }
  seg.m_kind = kSegPrinted;
  return "Printed Segment          ";
}

}  // namespace

void CDivePlan::BuildDiveSegments() {
  const CLeveledLog log = Log();
  m_results.segments.clear();
  m_results.gasWarnings.clear();
  log.LogAtLevel("Processing, Segmenting - Started", kLogProgress);
  const std::vector<CPlanPoint>& profile = m_results.profilePoints;
  const int n = static_cast<int>(profile.size());
  if (n == 0) {
    log.LogAtLevel("Processing, Segmenting - Completed", kLogProgress);
    return;
  }
  const bool detailed = m_results.calculationSettings.detailedFirstAscent;
  const double dmax = GetMaxProfileDepth();
  SSegmenting st;
  st.s0 = profile[0].Depth();

  for (int i = 0; i < n; ++i) {
    const CPlanPoint& p = profile[static_cast<std::size_t>(i)];
    const CPlanPoint* next = i + 1 < n ? &profile[static_cast<std::size_t>(i + 1)] : nullptr;
    st.k += p.m_duration;
    const SSegmentEnd end = EndOfSegment(st, i == 0, p, next, detailed);
    if (!end.emit) {
      st.previousEmitted = false;
      continue;
    }

    CDiveSegment seg;
    const CPlanPoint& last = end.merged ? *end.merged : p;
    if (end.merged) st.k += end.merged->m_duration;
    const char* label = SetSegmentKind(seg, end, i == n - 1, p, next, dmax);
    seg.m_depth = st.s0;
    seg.m_duration = st.k;
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
    st.s0 = last.Depth();
    st.k = 0;
    st.previousEmitted = true;
    if (end.merged) ++i;
  }
  log.LogAtLevel("Processing, Segmenting - Completed", kLogProgress);
}

}  // namespace kv
