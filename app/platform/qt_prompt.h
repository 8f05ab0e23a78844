#pragma once
// The desktop program's side of the user-prompt seam: message boxes captioned
// "Kestrun Varnadel", on top of the window the user works in, with the focus
// on the default button. A question asked by work running on a worker thread
// is shown by the window's thread while the worker waits for the answer (the
// progress dialog steps aside meanwhile).

#include <QPointer>
#include <QWidget>

#include "base/prompt.h"

class QMessageBox;

namespace kv::app {

class CQtPrompt final : public kv::IUserPrompt {
public:
  // Boxes are centred on parent (the main window once it exists).
  void SetParent(QWidget* parent) { m_parent = parent; }

  void ShowMessage(const std::string& text, kv::EIcon icon) override;
  bool AskYesNo(const std::string& text, bool defaultYes, kv::EIcon icon) override;
  kv::EAnswer AskYesNoCancel(const std::string& text, kv::EIcon icon) override;

private:
  QWidget* BoxParent() const;
  // Shows the box on top with its default button focused, the progress of
  // any running work out of its way, and waits for the answer.
  static int Exec(QMessageBox& box);
  void ShowMessageHere(const std::string& text, kv::EIcon icon);
  bool AskYesNoHere(const std::string& text, bool defaultYes, kv::EIcon icon);
  kv::EAnswer AskYesNoCancelHere(const std::string& text, kv::EIcon icon);

  QPointer<QWidget> m_parent;
};

}  // namespace kv::app
