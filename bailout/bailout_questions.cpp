#include "bailout/bailout_questions.h"

#include "base/strings.h"

namespace kv {
namespace {

// The text around the one number of a question template ("...(%d)...").
bool MatchesTemplate(const std::string& text, const std::string& templ) {
  const std::size_t at = templ.find("%d");
  if (at == std::string::npos) return text == templ;
  const std::string head = templ.substr(0, at), tail = templ.substr(at + 2);
  return text.size() >= head.size() + tail.size() && text.compare(0, head.size(), head) == 0 &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

EBailoutQuestion ClassifyBailoutQuestion(const std::string& text) {
  if (MatchesTemplate(text, LoadString(1270))) return EBailoutQuestion::MoreGases;
  if (MatchesTemplate(text, LoadString(1271))) return EBailoutQuestion::FewerGases;
  if (MatchesTemplate(text, kSixHourQuestion)) return EBailoutQuestion::SixHours;
  return EBailoutQuestion::Other;
}

bool CAnsweringPrompt::Answer(const SBailoutAnswers& answers, const std::string& text, bool defaultYes) {
  switch (ClassifyBailoutQuestion(text)) {
    case EBailoutQuestion::MoreGases: return answers.allowMoreGases;
    case EBailoutQuestion::FewerGases: return answers.allowFewerGases;
    case EBailoutQuestion::SixHours: return answers.extendPastSixHours;
    case EBailoutQuestion::Other: break;
  }
  return defaultYes;
}

void CAnsweringPrompt::ShowMessage(const std::string& text, EIcon) { shown.push_back({text, false, false}); }

bool CAnsweringPrompt::AskYesNo(const std::string& text, bool defaultYes, EIcon) {
  const bool answer = Answer(m_answers, text, defaultYes);
  shown.push_back({text, true, answer});
  return answer;
}

}  // namespace kv
