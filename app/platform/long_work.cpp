#include "app/platform/long_work.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "app/platform/qt_text.h"
#include "base/prompt.h"

namespace kv::app {

namespace {

std::atomic<int> g_running{0};

// What the worker reports, handed to the window's thread as a queued signal.
// The worker may report thousands of times a second; one signal at a time is
// pending, and the window's thread reads the latest state when it arrives.
class CProgressBridge final : public QObject, public kv::IProgress {
  Q_OBJECT
public:
  struct SState {
    int maximum = 0;
    int position = 0;
    std::optional<std::string> text;  // set when it changed since the last take
  };

  void SetRange(int maximum) override {
    m_maximum = maximum;
    Notify();
  }
  void SetPosition(int position) override {
    m_position = position;
    Notify();
  }
  void SetText(const std::string& text) override {
    {
      QMutexLocker lock(&m_mutex);
      m_text = text;
    }
    Notify();
  }
  bool IsCancelled() const override { return m_cancelled; }

  void Cancel() { m_cancelled = true; }
  // Window's thread: the state now, and the next report signals again.
  SState Take() {
    m_pending = false;
    SState state{m_maximum, m_position, std::nullopt};
    QMutexLocker lock(&m_mutex);
    state.text = std::exchange(m_text, std::nullopt);
    return state;
  }

signals:
  void changed();

private:
  void Notify() {
    if (!m_pending.exchange(true)) emit changed();
  }

  std::atomic<int> m_maximum{0};
  std::atomic<int> m_position{0};
  std::atomic<bool> m_cancelled{false};
  std::atomic<bool> m_pending{false};
  QMutex m_mutex;
  std::optional<std::string> m_text;
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

// The run the window's thread is showing. Runs do not nest (commands refuse
// while one is busy), but a run started from a question of another would
// simply take over and give the first back when it ends.
struct SRunState {
  QPointer<QWidget> owner;
  QPointer<QProgressDialog> dialog;
  QElapsedTimer started;
  int asides = 0;
  SRunState* previous = nullptr;
};
SRunState* g_current = nullptr;

// The dialog is shown by this code, not by QProgressDialog's own timer, so
// that it never appears over a question the work is waiting for.
void ShowDialogWhenDue(SRunState& run) {
  if (!run.dialog || run.asides > 0 || run.dialog->isVisible()) return;
  if (run.started.elapsed() < CLongWork::kShowAfterMs) return;
  run.dialog->show();
  run.dialog->raise();
}

}  // namespace

bool CLongWork::IsBusy() { return g_running.load() > 0; }

QWidget* CLongWork::Owner() { return g_current ? g_current->owner.data() : nullptr; }

CLongWork::CStepAside::CStepAside() {
  if (!g_current) return;
  ++g_current->asides;
  if (g_current->dialog) g_current->dialog->hide();
}

CLongWork::CStepAside::~CStepAside() {
  if (!g_current || g_current->asides == 0) return;
  if (--g_current->asides == 0) ShowDialogWhenDue(*g_current);
}

bool CLongWork::Run(QWidget* owner, const QString& label, const Work& work, bool* cancelled) {
  auto bridge = std::make_shared<CProgressBridge>();
  auto result = std::make_shared<std::atomic<bool>>(false);
  ++g_running;
  CInputBlocker blocker(owner);
  QApplication::setOverrideCursor(Qt::WaitCursor);

  QProgressDialog dialog(label, Tr("Cancel"), 0, 0, owner);
  dialog.setWindowTitle(ToQt(kv::kAppCaption));
  dialog.setWindowModality(Qt::WindowModal);
  // Never by its own timer: ShowDialogWhenDue decides.
  dialog.setMinimumDuration(std::numeric_limits<int>::max());
  dialog.setAutoReset(false);
  dialog.setAutoClose(false);
  SRunState run;
  run.owner = owner;
  run.dialog = &dialog;
  run.started.start();
  run.previous = g_current;
  g_current = &run;

  QThread* thread = QThread::create([bridge, result, &work] { *result = work(*bridge); });
  QEventLoop loop;
  QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
  QObject::connect(bridge.get(), &CProgressBridge::changed, &dialog, [&dialog, bridge] {
    const CProgressBridge::SState state = bridge->Take();
    if (dialog.maximum() != state.maximum) dialog.setMaximum(state.maximum);
    dialog.setValue(std::min(state.position, std::max(state.maximum, 0)));
    if (state.text) dialog.setLabelText(ToQt(*state.text));
  }, Qt::QueuedConnection);
  // The Cancel button and closing the dialog signal canceled, Escape rejects it.
  QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [bridge] { bridge->Cancel(); });
  QObject::connect(&dialog, &QDialog::rejected, &dialog, [bridge] { bridge->Cancel(); });
  QTimer::singleShot(kShowAfterMs, Qt::PreciseTimer, &dialog, [&run] { ShowDialogWhenDue(run); });
  dialog.setValue(0);
  thread->start();
  loop.exec();
  thread->wait();
  delete thread;
  g_current = run.previous;
  dialog.reset();
  QApplication::restoreOverrideCursor();
  --g_running;
  if (cancelled) *cancelled = bridge->IsCancelled();
  return *result;
}

#include "long_work.moc"

}  // namespace kv::app
