// A run on several threads gives exactly what the sequential run gives: the
// same dives calculated, failed and skipped, the same questions, the same
// messages in the same order and the same tables.

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_support.h"
#include "tablegen/table_generation.h"
#include "tablegen_test_util.h"

namespace kv {
namespace {

using test::Oc;

// Everything a run leaves behind that a user or a report can see.
struct SRunRecord {
  std::vector<std::string> messages;
  std::vector<std::string> dives;
  std::vector<std::string> questions;
  std::string document;
  std::optional<bool> answer;
  bool operator==(const SRunRecord&) const = default;
};

std::string DiveRecord(const CTableGeneration& page, int plan) {
  const CDivePlan& d = *page.Dive(plan);
  std::string r = Format("status %d completed %d exceeded %d extended %d remembered %d/%d switches %d run %d",
                         static_cast<int>(page.Status(plan)), d.IsCalculationCompleted(), d.IsTimeLimitExceeded(),
                         d.IsExtendedPlanningUsed(), d.HasRememberedAnswer(), d.GetRememberedAnswer(),
                         d.GetNumberOfGasSwitchesUsed(), d.GetRunTime());
  for (const CPlanPoint& p : d.ProfilePoints())
    r += Format(" | %.2f %d %d %d %.0f/%.0f", p.Depth(), p.m_start, p.m_duration, p.m_kind, p.m_oxygen, p.m_helium);
  for (const CDiveSegment& s : d.Segments()) r += Format(" # %.2f %d %d %d %d", s.m_depth, s.m_end, s.m_duration, s.m_kind, s.m_warningFlags);
  if (const CPredictionPoint* last = d.LastPrediction())
    r += Format(" end %.17g %.17g %.17g", last->m_nitrogen[0], last->m_helium[15], last->m_cns);
  return r;
}

class ThreadsTest : public ::testing::Test {
protected:
  ThreadsTest() { Prefs().LoadSettings(); }

  // Runs the page's settings on the given number of threads, answering the
  // 6-hour question with answers.
  SRunRecord Run(const std::function<void(CTableGeneration&)>& setUp, int threads, std::vector<bool> answers) {
    test::CScriptedPrompt prompt;
    prompt.answers = std::move(answers);
    SetUserPrompt(&prompt);
    CTableGeneration page;
    setUp(page);
    page.SetThreadCount(threads);
    EXPECT_TRUE(page.Generate());
    SetUserPrompt(&env.prompt);
    SRunRecord record;
    for (const STableMessage& m : page.Messages()) record.messages.push_back(Format("%d ", m.state) + m.text);
    for (int plan = 0; plan < page.PlanCount(); ++plan) record.dives.push_back(DiveRecord(page, plan));
    for (const auto& shown : prompt.shown) record.questions.push_back(shown.text);
    record.document = page.Document();
    record.answer = page.ExtensionAnswer();
    return record;
  }

  void ExpectSameOnEveryThreadCount(const std::function<void(CTableGeneration&)>& setUp, std::vector<bool> answers,
                                    const std::vector<EGeneratedDiveStatus>& expected) {
    const SRunRecord sequential = Run(setUp, 1, answers);
    std::vector<EGeneratedDiveStatus> statuses;
    for (const std::string& d : sequential.dives) statuses.push_back(static_cast<EGeneratedDiveStatus>(d[7] - '0'));
    ASSERT_EQ(statuses, expected) << "the scenario itself";
    for (const int threads : {2, 5}) {
      SCOPED_TRACE(testing::Message() << threads << " threads");
      const SRunRecord parallel = Run(setUp, threads, answers);
      EXPECT_EQ(parallel.messages, sequential.messages);
      EXPECT_EQ(parallel.questions, sequential.questions);
      EXPECT_EQ(parallel.answer, sequential.answer);
      ASSERT_EQ(parallel.dives.size(), sequential.dives.size());
      for (std::size_t i = 0; i < sequential.dives.size(); ++i) EXPECT_EQ(parallel.dives[i], sequential.dives[i]) << i;
      EXPECT_EQ(parallel.document, sequential.document);
    }
  }

  test::CTestEnvironment env;
};

using S = EGeneratedDiveStatus;
constexpr S C = S::Calculated, F = S::Failed, K = S::Skipped;

TEST_F(ThreadsTest, SkipRuleAndDeclinedQuestion) {
  // The 330-minute dive at 10 m is the first past 6 hours: it asks, hears no
  // and fails; the 300-minute dive at 11 m is told no and fails too.
  auto setUp = [](CTableGeneration& page) {
    test::SetRanges(page, 10, 11, 1, 270, 360, 30);
    test::SetSchedules(page, {Oc(0, 21)}, {});
  };
  ExpectSameOnEveryThreadCount(setUp, {false}, {C, C, F, K, C, F, K, K});
}

TEST_F(ThreadsTest, AcceptedQuestionIsToldToLaterDives) {
  // Yes to the first dive past 6 hours (10 m, 330 minutes); the other three
  // are planned on without asking.
  auto setUp = [](CTableGeneration& page) {
    test::SetRanges(page, 10, 11, 1, 300, 330, 30);
    test::SetSchedules(page, {Oc(0, 21)}, {});
  };
  ExpectSameOnEveryThreadCount(setUp, {true}, {C, C, C, C});
}

TEST_F(ThreadsTest, NoQuestionWithoutLongDives) {
  auto setUp = [](CTableGeneration& page) {
    test::SetRanges(page, 30, 45, 5, 10, 40, 10);
    test::SetSchedules(page, {Oc(0, 21), Oc(35, 18, 45)}, {Oc(21, 50), Oc(6, 100)});
  };
  ExpectSameOnEveryThreadCount(setUp, {}, std::vector<S>(16, C));
}

}  // namespace
}  // namespace kv
