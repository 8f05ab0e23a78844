// Dives calculated on several threads at once give exactly what they give
// calculated one after another. This is the use that bailout sweeps and table
// generation make of the engine: one settings snapshot taken before the
// threads start, each dive on one thread, the 6-hour answer given in advance.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/status_log.h"
#include "base/text.h"
#include "plan/plan_group.h"
#include "support/dive_compare.h"
#include "support/test_support.h"

namespace kv {
namespace {

CPlanPoint Point(double depth, int minutes, double oxygen, double helium, bool cc = false, double setpoint = 1.3) {
  CPlanPoint p;
  p.SetDepth(depth);
  p.m_duration = minutes * 60;
  p.m_oxygen = oxygen;
  p.m_helium = helium;
  p.m_closedCircuit = cc;
  p.m_setpoint = setpoint;
  return p;
}

struct SDiveSpec {
  int surfaceInterval = 0;  // s before this dive
  std::vector<CPlanPoint> points;
};

using PlanFactory = std::function<std::unique_ptr<CPlanGroup>()>;

// What the plans calculate with: the status log at the level asked for.
SCalculationSettings Logging(int level) {
  SCalculationSettings settings;
  settings.debugLevel = level;
  return settings;
}

PlanFactory BuiltIn(std::vector<SDiveSpec> dives, const SCalculationSettings& settings) {
  return [dives, settings] {
    auto group = std::make_unique<CPlanGroup>();
    group->SetCalculationSettings(settings);
    for (std::size_t i = 0; i < dives.size(); ++i) {
      if (i > 0) {
        EXPECT_TRUE(group->AddDivePlan());
      }
      CDivePlan& dive = *group->GetDive(static_cast<int>(i));
      dive.SetGfLow(30);
      dive.SetGfHigh(75);
      dive.SetSurfaceInterval(dives[i].surfaceInterval);
      for (const CPlanPoint& p : dives[i].points) dive.AppendUserPoint(p);
    }
    return group;
  };
}

PlanFactory Example(const std::string& name, const SCalculationSettings& settings) {
  return [name, settings] {
    auto group = std::make_unique<CPlanGroup>();
    group->SetCalculationSettings(settings);
    EXPECT_TRUE(group->LoadPlanGroup(std::string(EXAMPLES_DIR) + "/" + name)) << name;
    return group;
  };
}

std::vector<PlanFactory> Plans(const SCalculationSettings& s) {
  return {
      Example("oc-air-40m.ccp", s),
      Example("oc-nitrox-two-dives.ccp", s),
      Example("oc-trimix-60m.ccp", s),
      Example("cc-trimix-70m-bailout.ccp", s),
      // Open circuit on air, a repetitive dive after 90 minutes.
      BuiltIn({{0, {Point(40, 25, 21, 0)}}, {90 * 60, {Point(30, 30, 21, 0)}}}, s),
      // Open-circuit trimix with two deco gases, then a second trimix dive.
      BuiltIn({{0, {Point(60, 20, 18, 45), Point(21, 0, 50, 0), Point(6, 0, 100, 0)}},
               {3 * 3600, {Point(45, 20, 21, 35), Point(6, 0, 100, 0)}}},
              s),
      // Closed circuit, deep trimix diluent, then an air-diluent dive.
      BuiltIn({{0, {Point(90, 25, 10, 70, true)}}, {4 * 3600, {Point(50, 40, 21, 0, true)}}}, s),
      // Closed circuit past six hours of decompression.
      BuiltIn({{0, {Point(100, 60, 10, 70, true)}}}, s),
  };
}

// One dive of one plan with the state its calculation starts from.
struct SJob {
  const CDivePlan* expected = nullptr;
  bool expectedOk = false;
  CDivePlan* dive = nullptr;
  int index = 0;
  SPreviousDiveState previous;
  bool ok = false;
};

void CalculateOnThreads(std::vector<SJob>& jobs, int threads, const SCalculationSettings& settings) {
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < threads; ++w) {
    workers.emplace_back([&] {
      for (std::size_t j = next++; j < jobs.size(); j = next++) {
        SJob& job = jobs[j];
        job.ok = job.dive->Calculate(job.index, job.previous.nitrogen.data(), job.previous.helium.data(),
                                     job.previous.cns, job.previous.otu, job.previous.noPreviousState, settings);
      }
    });
  }
  for (std::thread& t : workers) t.join();
}

// The log lines without the answer to the 6-hour question (asked in one run,
// given in advance in the other), sorted: lines of several threads interleave.
std::vector<std::string> SortedLogLines(const std::string& path) {
  std::vector<std::string> lines;
  for (const std::string& line : SplitLines(test::ReadFile(path)))
    if (line.find("xtend") == std::string::npos) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

class ParallelDives : public ::testing::Test {
protected:
  void TearDown() override { StatusLog().Close(); }
  test::CTestEnvironment env;
};

TEST_F(ParallelDives, FourThreadsGiveWhatOneGivesDiveForDive) {
  // Every calculation writes its progress to the status log, so the workers
  // write it at the same time.
  env.store->numbers["Debug Level"] = kLogProgress;
  const SCalculationSettings logging = Logging(kLogProgress);
  const std::string dir = test::TempDir();

  std::vector<std::unique_ptr<CPlanGroup>> sequential, parallel;
  for (const PlanFactory& make : Plans(logging)) {
    sequential.push_back(make());
    parallel.push_back(make());
  }

  // One after another, through each plan's own chained pass; the user
  // accepts the long dive's extension.
  env.prompt.answers = {true};
  StatusLog().OpenLogAt(dir + "/sequential.txt", false);
  StatusLog().SetTimeStamps(false);
  for (auto& group : sequential) ASSERT_TRUE(group->CalculateDivePlans(true, 0, true));
  ASSERT_EQ(env.prompt.shown.size(), 1u);

  // Every dive of every plan as its own job, dives of different plans side by
  // side, each from the end state its predecessor left in the sequential run.
  std::vector<SJob> jobs;
  for (int index = 0; index < 2; ++index) {
    for (std::size_t p = 0; p < parallel.size(); ++p) {
      if (index >= parallel[p]->GetDiveCount()) continue;
      SJob job;
      job.expected = sequential[p]->GetDive(index);
      job.expectedOk = job.expected->IsCalculationCompleted();
      job.dive = parallel[p]->GetDive(index);
      job.index = index;
      ASSERT_TRUE(sequential[p]->PreviousState(index, job.previous));
      jobs.push_back(job);
    }
  }
  ASSERT_GE(jobs.size(), 11u);

  // One snapshot of the settings, taken before the threads start.
  SCalculationSettings settings = logging;
  settings.extendedPlanning = EExtendedPlanning::Accept;
  StatusLog().OpenLogAt(dir + "/parallel.txt", false);
  StatusLog().SetTimeStamps(false);
  CalculateOnThreads(jobs, 4, settings);
  StatusLog().Close();

  EXPECT_EQ(env.prompt.shown.size(), 1u) << "no worker asks or shows anything";
  for (const SJob& job : jobs) {
    SCOPED_TRACE(Format("plan dive %d, %d profile points", job.index, job.expected->ProfilePointCount()));
    EXPECT_EQ(job.ok, job.expectedOk);
    test::ExpectSameCalculation(*job.expected, *job.dive);
  }
  // Every line of the sequential run was written, whole, by the workers.
  EXPECT_EQ(SortedLogLines(dir + "/parallel.txt"), SortedLogLines(dir + "/sequential.txt"));

  // Again in the opposite order, so that other dives meet on the threads.
  std::reverse(jobs.begin(), jobs.end());
  CalculateOnThreads(jobs, 4, settings);
  for (const SJob& job : jobs) {
    SCOPED_TRACE(Format("plan dive %d, second round", job.index));
    test::ExpectSameCalculation(*job.expected, *job.dive);
  }
}

TEST_F(ParallelDives, PlansCalculatedEachOnItsOwnThreadMatchTheirSequentialPasses) {
  // The desktop program calculates a plan on a worker thread while another
  // window's plan may be calculating too: whole passes side by side, each
  // writing the log and reporting progress.
  env.store->numbers["Debug Level"] = kLogDetail;
  StatusLog().OpenLogAt(test::TempDir() + "/StatusLog.txt", false);
  std::vector<PlanFactory> plans = Plans(Logging(kLogDetail));
  plans.pop_back();  // the dive that asks the 6-hour question belongs to the test above
  std::vector<std::unique_ptr<CPlanGroup>> sequential, parallel;
  for (const PlanFactory& make : plans) {
    sequential.push_back(make());
    parallel.push_back(make());
  }
  for (auto& group : sequential) ASSERT_TRUE(group->CalculateDivePlans(true, 0, true));

  std::vector<test::CRecordingProgress> progress(parallel.size());
  std::vector<int> results(parallel.size(), -1);
  std::vector<std::thread> workers;
  for (std::size_t p = 0; p < parallel.size(); ++p)
    workers.emplace_back([&, p] { results[p] = parallel[p]->CalculateDivePlans(true, 0, true, &progress[p]); });
  for (std::thread& t : workers) t.join();

  for (std::size_t p = 0; p < parallel.size(); ++p) {
    SCOPED_TRACE(Format("plan %d", static_cast<int>(p)));
    EXPECT_EQ(results[p], 1);
    EXPECT_EQ(progress[p].positions.back(), parallel[p]->GetDiveCount());
    ASSERT_EQ(parallel[p]->GetDiveCount(), sequential[p]->GetDiveCount());
    for (int i = 0; i < parallel[p]->GetDiveCount(); ++i)
      test::ExpectSameCalculation(*sequential[p]->GetDive(i), *parallel[p]->GetDive(i));
  }
}

}  // namespace
}  // namespace kv
