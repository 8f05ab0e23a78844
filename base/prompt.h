#pragma once
// What the user must see or answer goes through this seam: the desktop program
// shows message boxes, kvplan writes to standard error, tests script the answers.

#include <string>

namespace kv {

inline constexpr const char* kAppCaption = "Kestrun Varnadel";

enum class EIcon { Information, Exclamation, Warning, Question, Error };

// The answers of a question that can also be put off: Cancel (and Escape)
// leaves everything as it was.
enum class EAnswer { Yes, No, Cancel };

class IUserPrompt {
public:
  virtual ~IUserPrompt() = default;
  // A message box titled kAppCaption with an OK button.
  virtual void ShowMessage(const std::string& text, EIcon icon) = 0;
  // A yes/no question box; defaultYes chooses the default button.
  virtual bool AskYesNo(const std::string& text, bool defaultYes, EIcon icon) = 0;
  // A yes/no/cancel question box, Yes the default button and Escape Cancel.
  // A prompt that cannot offer Cancel answers it as a yes/no question.
  virtual EAnswer AskYesNoCancel(const std::string& text, EIcon icon) {
    return AskYesNo(text, true, icon) ? EAnswer::Yes : EAnswer::No;
  }
};

// Answers every question with its default button and shows nothing: the
// process-wide prompt until a front end installs its own.
class CSilentPrompt final : public IUserPrompt {
public:
  void ShowMessage(const std::string&, EIcon) override {}
  bool AskYesNo(const std::string&, bool defaultYes, EIcon) override { return defaultYes; }
};

// The process-wide prompt. Reading it is safe from any thread, but a front
// end's prompt shows dialogs and belongs to its own thread: work on worker
// threads answers its questions in advance instead (see SCalculationSettings).
IUserPrompt& UserPrompt();
// Installs the process-wide prompt (not owned); nullptr restores the silent one.
void SetUserPrompt(IUserPrompt* prompt);

}  // namespace kv
