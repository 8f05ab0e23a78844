#include "app/platform/long_work.h"

#include <QApplication>
#include <QEventLoop>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

#include "app/platform/qt_text.h"
#include "base/prompt.h"

namespace {

std::atomic<int> g_running{0};

// What the worker reports, read by the window's thread on a timer.
class CProgressBridge final : public kv::IProgress {
public:
  void SetRange(int maximum) override { m_maximum = maximum; }
  void SetPosition(int position) override { m_position = position; }
  void SetText(const std::string& text) override {
    QMutexLocker lock(&m_mutex);
    m_text = text;
    m_textChanged = true;
  }
  bool IsCancelled() const override { return m_cancelled; }

  void Cancel() { m_cancelled = true; }
  int Maximum() const { return m_maximum; }
  int Position() const { return m_position; }
  bool TakeText(std::string& text) {
    QMutexLocker lock(&m_mutex);
    if (!m_textChanged) return false;
    text = m_text;
    m_textChanged = false;
    return true;
  }

private:
  std::atomic<int> m_maximum{0};
  std::atomic<int> m_position{0};
  std::atomic<bool> m_cancelled{false};
  QMutex m_mutex;
  std::string m_text;
  bool m_textChanged = false;
};

// Drops user input aimed at the owner window while work runs.
class CInputBlocker final : public QObject {
public:
  explicit CInputBlocker(QWidget* owner) : m_owner(owner) { qApp->installEventFilter(this); }
  ~CInputBlocker() override { qApp->removeEventFilter(this); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::Close: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && m_owner && w->window() == m_owner->window()) return true;
        break;
      }
      default:
        break;
    }
    return false;
  }

private:
  QPointer<QWidget> m_owner;
};

}  // namespace

bool CLongWork::IsBusy() { return g_running.load() > 0; }

bool CLongWork::Run(QWidget* owner, const QString& label, const Work& work, bool* cancelled) {
  auto bridge = std::make_shared<CProgressBridge>();
  auto result = std::make_shared<std::atomic<bool>>(false);
  ++g_running;
  CInputBlocker blocker(owner);
  QApplication::setOverrideCursor(Qt::WaitCursor);

  QProgressDialog dialog(label, Tr("Cancel"), 0, 0, owner);
  dialog.setWindowTitle(ToQt(kv::kAppCaption));
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(kShowAfterMs);
  dialog.setAutoReset(false);
  dialog.setAutoClose(false);

  QThread* thread = QThread::create([bridge, result, &work] { *result = work(*bridge); });
  QEventLoop loop;
  QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
  QTimer poll;
  poll.setInterval(50);
  QObject::connect(&poll, &QTimer::timeout, &dialog, [&dialog, bridge] {
    // The Cancel button, Escape and cancel() all leave the dialog cancelled.
    if (dialog.wasCanceled()) bridge->Cancel();
    if (dialog.maximum() != bridge->Maximum()) dialog.setMaximum(bridge->Maximum());
    // setValue also shows the dialog once the minimum duration has passed.
    dialog.setValue(std::min(bridge->Position(), std::max(bridge->Maximum(), 0)));
    std::string text;
    if (bridge->TakeText(text)) dialog.setLabelText(ToQt(text));
  });
  dialog.setValue(0);
  poll.start();
  thread->start();
  loop.exec();
  thread->wait();
  delete thread;
  poll.stop();
  dialog.reset();
  QApplication::restoreOverrideCursor();
  --g_running;
  if (cancelled) *cancelled = bridge->IsCancelled();
  return *result;
}
