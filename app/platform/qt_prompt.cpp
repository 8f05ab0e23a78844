#include "app/platform/qt_prompt.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>
#include <QThread>

#include "app/platform/qt_text.h"

namespace {

QMessageBox::Icon IconOf(kv::EIcon icon) {
  switch (icon) {
    case kv::EIcon::Information:
      return QMessageBox::Information;
    case kv::EIcon::Question:
      return QMessageBox::Question;
    case kv::EIcon::Error:
      return QMessageBox::Critical;
    case kv::EIcon::Exclamation:
    case kv::EIcon::Warning:
      break;
  }
  return QMessageBox::Warning;
}

bool OnGuiThread() { return !qApp || QThread::currentThread() == qApp->thread(); }

// Runs f on the window's thread and waits for it.
template <typename F>
void OnGuiThreadAndWait(F f) {
  if (OnGuiThread()) {
    f();
    return;
  }
  QMetaObject::invokeMethod(qApp, f, Qt::BlockingQueuedConnection);
}

}  // namespace

void CQtPrompt::ShowMessage(const std::string& text, kv::EIcon icon) {
  OnGuiThreadAndWait([&] { ShowMessageHere(text, icon); });
}

bool CQtPrompt::AskYesNo(const std::string& text, bool defaultYes, kv::EIcon icon) {
  bool answer = defaultYes;
  OnGuiThreadAndWait([&] { answer = AskYesNoHere(text, defaultYes, icon); });
  return answer;
}

void CQtPrompt::ShowMessageHere(const std::string& text, kv::EIcon icon) {
  QMessageBox box(IconOf(icon), ToQt(kv::kAppCaption), ToQt(text), QMessageBox::Ok, m_parent);
  box.exec();
}

bool CQtPrompt::AskYesNoHere(const std::string& text, bool defaultYes, kv::EIcon icon) {
  QMessageBox box(IconOf(icon), ToQt(kv::kAppCaption), ToQt(text), QMessageBox::Yes | QMessageBox::No, m_parent);
  box.button(QMessageBox::Yes)->setText(Tr("&Yes"));
  box.button(QMessageBox::No)->setText(Tr("&No"));
  box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}
