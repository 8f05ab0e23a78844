#pragma once
// Calculated dives for the report tests, built from (depth, seconds, gas)
// points, and a document of three small tables.

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "engine/dive_plan.h"
#include "report/tables_html.h"

namespace kv::test {

struct SPoint {
  double depth;  // m
  int seconds;   // time entered
  double oxygen = 21.0;
  double helium = 0.0;
  bool closedCircuit = false;
  double setpoint = 1.3;
  bool noClearSurface = false;
  bool bailout = false;
};

inline CPlanPoint MakePoint(const SPoint& s) {
  CPlanPoint p;
  p.SetDepth(s.depth);
  p.m_duration = s.seconds;
  p.m_oxygen = s.oxygen;
  p.m_helium = s.helium;
  p.m_closedCircuit = s.closedCircuit;
  p.m_setpoint = s.setpoint;
  p.m_noClearSurface = s.noClearSurface;
  p.m_bailout = s.bailout;
  return p;
}

inline std::unique_ptr<CDivePlan> MakeDive(std::initializer_list<SPoint> points) {
  auto dive = std::make_unique<CDivePlan>();
  for (const SPoint& s : points) dive->AppendUserPoint(MakePoint(s));
  return dive;
}

// A closed-circuit dive walked through its bailout points (in bailout mode),
// bailing out at the first point marked bailout.
inline std::unique_ptr<CDivePlan> MakeBailoutDive(std::initializer_list<SPoint> points, double bailoutDepth,
                                                  int bailoutTime) {
  auto dive = std::make_unique<CDivePlan>();
  dive->EnterBailoutMode();
  for (const SPoint& s : points) dive->AppendBailoutPoint(MakePoint(s));
  dive->Bailout().depth = bailoutDepth;
  dive->Bailout().time = bailoutTime;
  return dive;
}

inline bool CalculateFirst(CDivePlan& dive) { return dive.Calculate(0, nullptr, nullptr, 0.0, 0.0, true); }

// Calculates dive number n from the end state of previous.
inline bool CalculateAfter(CDivePlan& dive, const CDivePlan& previous, int n) {
  const CPredictionPoint* last = previous.LastPrediction();
  return dive.Calculate(n, last->m_nitrogen.data(), last->m_helium.data(), last->m_cns, last->m_otu, false);
}

inline std::vector<std::string> Fields(const std::string& line) {
  const CSParser parser(line, '~');
  std::vector<std::string> fields;
  for (int i = 1; i <= parser.Count(); ++i) fields.push_back(parser.GetField(i));
  return fields;
}

// How often what stands in text.
inline int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A document of three dive tables as the dive-table writer makes them.
inline std::string ThreeTableDocument() {
  CDivePlanTablesHtml writer;
  writer.Initialise("Kestrun Varnadel", "Kestrun Ltd.", "Dive Table", "", "", "#C0C0C0", "#000000", "#ff6666",
                    "#ffffcc");
  for (int i = 1; i <= 3; ++i) {
    DiveTableContent c;
    c.header = "30m~Dive Plan~GF<br>20/80~Dive " + std::to_string(i) + " of 3~CNS Final 5.0%~OTU Final 3.0%";
    c.rows = {"Gas~PPO2~Depth (m)~Segment Time~Run Time", "Air~OC~30~20~22"};
    c.rowAlerts = {false, false};
    c.footer = "<b>Created today</b>";
    writer.AddTable(c);
  }
  writer.Finish();
  return writer.GetDocument();
}

}  // namespace kv::test
