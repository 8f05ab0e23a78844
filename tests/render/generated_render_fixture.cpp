// Helper of the rendering check (check_rendering.sh) for generated tables:
//   generated_render_fixture write FILE.html   runs a table generation of
//                                              two depths and writes its
//                                              document; prints the table count;
//   generated_render_fixture sample PAGE.ppm   as render_fixture.

#include <cstdio>
#include <string>

#include "base/clock.h"
#include "base/preferences.h"
#include "page_sample.h"
#include "report/latin1.h"
#include "tablegen/table_generation.h"

namespace {

using namespace kv;

int Write(const char* path) {
  CFixedClock clock(1780000000);
  SetClock(&clock);
  Prefs().LoadSettings();
  CTableGeneration page;
  // Air deeper than the 35 m EAD limit: the bottom rows and the deep stops
  // of the last dive of each table are red.
  STableGenerationInputs in;
  in.depthStart = 40;
  in.depthFinish = 45;
  in.depthStep = 5;
  in.durationStart = 20;
  in.durationFinish = 30;
  in.durationStep = 5;
  in.maxEad = 35;
  page.SetInputs(in);
  CGasSwitch air, oxygen;
  air.Set(0, 21, 0, false, 0, true);
  oxygen.Set(6, 100, 0, false, 0, true);
  page.AddDescentSwitch(air);
  page.AddAscentSwitch(oxygen);
  if (!page.Generate() || page.TableCount() != 2) return 1;
  SetClock(nullptr);
  if (!WriteHtmlDocument(path, page.Document())) return 1;
  std::printf("%d\n", page.TableCount());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "write") return Write(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "sample") return kv::test::SamplePage(argv[2]);
  std::fprintf(stderr, "usage: %s write FILE.html | sample PAGE.ppm\n", argv[0]);
  return 2;
}
