#pragma once
// Message boxes of a command-line run: each one line on standard error,
// "Kestrun Varnadel: text". Questions are answered from the command line.

#include <ostream>
#include <string>
#include <vector>

#include "base/prompt.h"

namespace kv {

// A message box text (which may hold line breaks and non-breaking spaces) as one line.
std::string OneLine(const std::string& text);

class CCliPrompt final : public IUserPrompt {
public:
  // answerYes answers every question (kvplan asks only whether to plan past
  // 6 hours: --extend).
  CCliPrompt(std::ostream& err, bool answerYes) : m_err(err), m_answerYes(answerYes) {}
  void ShowMessage(const std::string& text, EIcon icon) override;
  bool AskYesNo(const std::string& text, bool defaultYes, EIcon icon) override;
  int Shown() const { return m_shown; }

private:
  std::ostream& m_err;
  bool m_answerYes;
  int m_shown = 0;
};

// Keeps the messages instead of showing them (kvplan check prints them itself).
class CCollectingPrompt final : public IUserPrompt {
public:
  void ShowMessage(const std::string& text, EIcon) override { messages.push_back(text); }
  bool AskYesNo(const std::string& text, bool defaultYes, EIcon) override {
    messages.push_back(text);
    return defaultYes;
  }
  std::vector<std::string> messages;
};

}  // namespace kv
