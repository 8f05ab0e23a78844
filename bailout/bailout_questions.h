#pragma once
// Answers given in advance to the questions that bailout planning can ask,
// for the command line and for sweeps that plan many moments unattended.

#include <string>
#include <vector>

#include "base/prompt.h"

namespace kv {

struct SBailoutAnswers {
  bool allowMoreGases = false;   // "Not enough gases (%d) for bailout ... add gases?"
  bool allowFewerGases = false;  // "Too many gases (%d) for bailout ... reduce the number of gases?"
  bool extendPastSixHours = false;
};

enum class EBailoutQuestion { MoreGases, FewerGases, SixHours, Other };
// Which question a question text is (as the string table words it now).
EBailoutQuestion ClassifyBailoutQuestion(const std::string& text);

// Answers from SBailoutAnswers (other questions: the default button) and
// keeps every message and question shown, in order, with its answer.
class CAnsweringPrompt final : public IUserPrompt {
public:
  struct SShown {
    std::string text;
    bool question = false;
    bool answer = false;
    bool operator==(const SShown&) const = default;
  };
  explicit CAnsweringPrompt(const SBailoutAnswers& answers) : m_answers(answers) {}
  void ShowMessage(const std::string& text, EIcon icon) override;
  bool AskYesNo(const std::string& text, bool defaultYes, EIcon icon) override;
  static bool Answer(const SBailoutAnswers& answers, const std::string& text, bool defaultYes);

  std::vector<SShown> shown;

private:
  SBailoutAnswers m_answers;
};

}  // namespace kv
