#pragma once
// The desktop program's side of the user-prompt seam: message boxes captioned
// "Kestrun Varnadel". A question asked by work running on a worker thread is
// shown by the window's thread while the worker waits for the answer.

#include <QPointer>
#include <QWidget>

#include "base/prompt.h"

class CQtPrompt final : public kv::IUserPrompt {
public:
  // Boxes are centred on parent (the main window once it exists).
  void SetParent(QWidget* parent) { m_parent = parent; }

  void ShowMessage(const std::string& text, kv::EIcon icon) override;
  bool AskYesNo(const std::string& text, bool defaultYes, kv::EIcon icon) override;

private:
  void ShowMessageHere(const std::string& text, kv::EIcon icon);
  bool AskYesNoHere(const std::string& text, bool defaultYes, kv::EIcon icon);

  QPointer<QWidget> m_parent;
};
