#pragma once
// Helpers shared by the test suites: a scripted user prompt, a fixed clock,
// fresh in-memory preferences, and a comma-decimal locale guard.

#include <clocale>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/preferences.h"
#include "base/progress.h"
#include "base/prompt.h"

namespace kv::test {

// Records every message and question and answers questions from a script
// (the default button once the script runs out).
class CScriptedPrompt final : public IUserPrompt {
public:
  struct SShown {
    std::string text;
    EIcon icon;
    bool question;
  };
  void ShowMessage(const std::string& text, EIcon icon) override;
  bool AskYesNo(const std::string& text, bool defaultYes, EIcon icon) override;
  // Answered from choices first, then from answers (true Yes, false No).
  EAnswer AskYesNoCancel(const std::string& text, EIcon icon) override;

  std::vector<bool> answers;
  std::vector<EAnswer> choices;
  std::vector<SShown> shown;
};

// Records what long work reports and cancels once the position reaches
// cancelAt (never when negative).
class CRecordingProgress final : public IProgress {
public:
  void SetRange(int maximum) override { range = maximum; }
  void SetPosition(int position) override { positions.push_back(position); }
  void SetText(const std::string& text) override { texts.push_back(text); }
  bool IsCancelled() const override { return cancelAt >= 0 && !positions.empty() && positions.back() >= cancelAt; }

  int cancelAt = -1;
  int range = -1;
  std::vector<int> positions;
  std::vector<std::string> texts;
};

// Installs a scripted prompt, a fixed clock and fresh in-memory preferences
// for the lifetime of the object, and restores the defaults afterwards.
class CTestEnvironment {
public:
  CTestEnvironment();
  ~CTestEnvironment();
  CTestEnvironment(const CTestEnvironment&) = delete;
  CTestEnvironment& operator=(const CTestEnvironment&) = delete;

  CScriptedPrompt prompt;
  CFixedClock clock{1780000000};
  CMemoryPreferenceStorage* store = nullptr;  // owned by Prefs()
};

// Switches LC_ALL to a comma-decimal locale while alive; Active() says
// whether one was available on this machine.
class CCommaLocale {
public:
  CCommaLocale();
  ~CCommaLocale();
  bool Active() const { return m_active; }

private:
  std::string m_previous;
  bool m_active = false;
};

std::string ReadFile(const std::string& path);
std::string TempDir();

}  // namespace kv::test
