// A table generation run on several threads gives exactly what the
// sequential run gives: the same dives calculated, failed and skipped, the
// same questions, the same messages in the same order and the same tables.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "base/text.h"
#include "support/dive_compare.h"
#include "support/test_support.h"
#include "tablegen/table_generation.h"
#include "tablegen/tablegen_test_util.h"

namespace kv {
namespace {

using test::Oc;

// A finished run and the questions it asked.
struct SRun {
  std::unique_ptr<CTableGeneration> page;
  std::vector<std::string> questions;
};

std::vector<std::string> Messages(const CTableGeneration& page) {
  std::vector<std::string> texts;
  for (const STableMessage& m : page.Messages()) texts.push_back(Format("%d ", m.state) + m.text);
  return texts;
}

class TableGenerationOnThreads : public ::testing::Test {
protected:
  TableGenerationOnThreads() { Prefs().LoadSettings(); }

  // Runs the page's settings on the given number of threads, answering the
  // 6-hour question with answers.
  SRun Run(const std::function<void(CTableGeneration&)>& setUp, int threads, std::vector<bool> answers) {
    test::CScriptedPrompt prompt;
    prompt.answers = std::move(answers);
    SetUserPrompt(&prompt);
    SRun run{std::make_unique<CTableGeneration>(), {}};
    setUp(*run.page);
    run.page->SetThreadCount(threads);
    EXPECT_TRUE(run.page->Generate());
    SetUserPrompt(&env.prompt);
    for (const auto& shown : prompt.shown) run.questions.push_back(shown.text);
    return run;
  }

  void ExpectSameOnEveryThreadCount(const std::function<void(CTableGeneration&)>& setUp, std::vector<bool> answers,
                                    const std::vector<EGeneratedDiveStatus>& expected) {
    const SRun sequential = Run(setUp, 1, answers);
    const CTableGeneration& one = *sequential.page;
    std::vector<EGeneratedDiveStatus> statuses;
    for (int plan = 0; plan < one.PlanCount(); ++plan) statuses.push_back(one.Status(plan));
    ASSERT_EQ(statuses, expected) << "the scenario itself";
    for (const int threads : {2, 5}) {
      SCOPED_TRACE(testing::Message() << threads << " threads");
      const SRun parallel = Run(setUp, threads, answers);
      const CTableGeneration& many = *parallel.page;
      EXPECT_EQ(Messages(many), Messages(one));
      EXPECT_EQ(parallel.questions, sequential.questions);
      EXPECT_EQ(many.ExtensionAnswer(), one.ExtensionAnswer());
      ASSERT_EQ(many.PlanCount(), one.PlanCount());
      for (int plan = 0; plan < one.PlanCount(); ++plan) {
        SCOPED_TRACE(testing::Message() << "plan " << plan);
        EXPECT_EQ(many.Status(plan), one.Status(plan));
        test::ExpectSameCalculation(*one.Dive(plan), *many.Dive(plan));
        EXPECT_EQ(many.Dive(plan)->HasRememberedAnswer(), one.Dive(plan)->HasRememberedAnswer());
        EXPECT_EQ(many.Dive(plan)->GetRememberedAnswer(), one.Dive(plan)->GetRememberedAnswer());
      }
      EXPECT_EQ(many.Document(), one.Document());
    }
  }

  test::CTestEnvironment env;
};

using S = EGeneratedDiveStatus;
constexpr S C = S::Calculated, F = S::Failed, K = S::Skipped;

TEST_F(TableGenerationOnThreads, SkipRuleAndDeclinedQuestion) {
  // The 330-minute dive at 10 m is the first past 6 hours: it asks, hears no
  // and fails; the 300-minute dive at 11 m is told no and fails too.
  auto setUp = [](CTableGeneration& page) {
    test::SetRanges(page, 10, 11, 1, 270, 360, 30);
    test::SetSchedules(page, {Oc(0, 21)}, {});
  };
  ExpectSameOnEveryThreadCount(setUp, {false}, {C, C, F, K, C, F, K, K});
}

TEST_F(TableGenerationOnThreads, AcceptedQuestionIsToldToLaterDives) {
  // Yes to the first dive past 6 hours (10 m, 330 minutes); the other three
  // are planned on without asking.
  auto setUp = [](CTableGeneration& page) {
    test::SetRanges(page, 10, 11, 1, 300, 330, 30);
    test::SetSchedules(page, {Oc(0, 21)}, {});
  };
  ExpectSameOnEveryThreadCount(setUp, {true}, {C, C, C, C});
}

TEST_F(TableGenerationOnThreads, NoQuestionWithoutLongDives) {
  auto setUp = [](CTableGeneration& page) {
    test::SetRanges(page, 30, 45, 5, 10, 40, 10);
    test::SetSchedules(page, {Oc(0, 21), Oc(35, 18, 45)}, {Oc(21, 50), Oc(6, 100)});
  };
  ExpectSameOnEveryThreadCount(setUp, {}, std::vector<S>(16, C));
}

}  // namespace
}  // namespace kv
