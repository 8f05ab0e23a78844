// Helper of the rendering check (check_rendering.sh):
//   render_fixture write FILE.html   writes a two-dive table document in
//                                    ISO-8859-1 and prints its table count;
//   render_fixture sample PAGE.ppm   prints how many pixels of a rendered page
//                                    are row shading (gainsboro) and red text.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "engine/dive_plan.h"
#include "report/latin1.h"
#include "page_sample.h"
#include "report/table_builder.h"

namespace {

using namespace kv;

std::unique_ptr<CDivePlan> AirDive(double depth, int seconds, int surfaceInterval) {
  auto dive = std::make_unique<CDivePlan>();
  CPlanPoint p;
  p.SetDepth(depth);
  p.m_duration = seconds;
  p.m_closedCircuit = 0;
  p.m_oxygen = 21.0;
  p.m_helium = 0.0;
  dive->AppendUserPoint(p);
  dive->SetSurfaceInterval(surfaceInterval);
  return dive;
}

int Write(const char* path) {
  CFixedClock clock(1780000000);
  SetClock(&clock);
  // Air deeper than the 35 m EAD limit: the bottom rows are red.
  auto first = AirDive(40.0, 1200, 0);
  auto second = AirDive(38.0, 900, 7200);
  if (!first->Calculate(0, nullptr, nullptr, 0.0, 0.0, true)) return 1;
  const CPredictionPoint* end = first->LastPrediction();
  if (!second->Calculate(1, end->m_nitrogen.data(), end->m_helium.data(), end->m_cns, end->m_otu, false)) return 1;

  SReportOptions options;
  options.diverName = "M\xC3\xBCller \xD0\x94\xD0\xB8\xD0\xBC\xD0\xB0";  // outside ISO-8859-1 in part
  CDivePlanTablesHtml writer;
  InitialiseDiveTablesWriter(writer);
  if (!BuildDiveTables({first.get(), second.get()}, -1, options, writer)) return 1;
  SetClock(nullptr);
  if (!WriteHtmlDocument(path, writer.GetDocument())) return 1;
  std::printf("%d\n", writer.GetTableCount());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "write") return Write(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "sample") return kv::test::SamplePage(argv[2]);
  std::fprintf(stderr, "usage: %s write FILE.html | sample PAGE.ppm\n", argv[0]);
  return 2;
}
