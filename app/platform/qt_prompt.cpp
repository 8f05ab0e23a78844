#include "app/platform/qt_prompt.h"

#include <QApplication>
#include <QAbstractButton>
#include <QGridLayout>
#include <QPushButton>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include "app/platform/long_work.h"
#include "app/platform/qt_text.h"

namespace kv::app {

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

kv::EAnswer CQtPrompt::AskYesNoCancel(const std::string& text, kv::EIcon icon) {
  kv::EAnswer answer = kv::EAnswer::Cancel;
  OnGuiThreadAndWait([&] { answer = AskYesNoCancelHere(text, icon); });
  return answer;
}

QWidget* CQtPrompt::BoxParent() const {
  // Over the window the user is working in: a modal dialog, the owner of the
  // running work, or the main window. Never the progress dialog, which steps
  // aside while the box is up.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && !qobject_cast<QProgressDialog*>(modal)) return modal;
  if (QWidget* owner = CLongWork::Owner()) return owner;
  return m_parent;
}

int CQtPrompt::Exec(QMessageBox& box) {
  const CLongWork::CStepAside aside;
  box.setWindowModality(Qt::ApplicationModal);
  // A box sized for a short text would have the window manager cut its
  // caption: it is made wide enough for the caption and the frame's buttons.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 3 / 2 + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
  auto takeFocus = [&box] {
    box.raise();
    box.activateWindow();
    QWidget* focus = QApplication::focusWidget();
    if (QAbstractButton* chosen = box.defaultButton(); chosen && (!focus || focus->window() != &box))
      chosen->setFocus(Qt::ActiveWindowFocusReason);
  };
  box.show();
  takeFocus();
  // The progress dialog that stepped aside may hand the focus back to the
  // window below it after the box took it (the window system does so in its
  // own time): once that has settled the box takes it again.
  for (const int ms : {0, 150}) QTimer::singleShot(ms, &box, takeFocus);
  return box.exec();
}

void CQtPrompt::ShowMessageHere(const std::string& text, kv::EIcon icon) {
  QMessageBox box(IconOf(icon), ToQt(kv::kAppCaption), ToQt(text), QMessageBox::Ok, BoxParent());
  box.setDefaultButton(QMessageBox::Ok);
  Exec(box);
}

bool CQtPrompt::AskYesNoHere(const std::string& text, bool defaultYes, kv::EIcon icon) {
  QMessageBox box(IconOf(icon), ToQt(kv::kAppCaption), ToQt(text), QMessageBox::Yes | QMessageBox::No, BoxParent());
  box.button(QMessageBox::Yes)->setText(Tr("&Yes"));
  box.button(QMessageBox::No)->setText(Tr("&No"));
  box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return Exec(box) == QMessageBox::Yes;
}

kv::EAnswer CQtPrompt::AskYesNoCancelHere(const std::string& text, kv::EIcon icon) {
  QMessageBox box(IconOf(icon), ToQt(kv::kAppCaption), ToQt(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, BoxParent());
  box.button(QMessageBox::Yes)->setText(Tr("&Yes"));
  box.button(QMessageBox::No)->setText(Tr("&No"));
  box.button(QMessageBox::Cancel)->setText(Tr("Cancel"));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (Exec(box)) {
    case QMessageBox::Yes: return kv::EAnswer::Yes;
    case QMessageBox::No: return kv::EAnswer::No;
    default: return kv::EAnswer::Cancel;
  }
}

}  // namespace kv::app
