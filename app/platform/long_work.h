#pragma once
// Long work (a plan of many dives, bailout planning, table generation) runs on
// a worker thread while the window's thread shows a QProgressDialog over the
// progress seam and stays responsive. Questions the work asks through the
// user-prompt seam are shown by the window's thread while the worker waits;
// the progress dialog steps aside (hides) while one is up, so that the
// question is on top and takes the mouse and the keys, and comes back after.
//
// While work runs, mouse and key input to the owner window is dropped (the
// progress dialog and message boxes still take theirs), and IsBusy() is true
// so that commands reached another way refuse to touch the data the worker
// is changing.

#include <QString>
#include <QWidget>

#include <functional>

#include "base/progress.h"

namespace kv::app {

class CLongWork {
public:
  using Work = std::function<bool(kv::IProgress&)>;

  // The dialog appears only when the work lasts longer than this.
  static constexpr int kShowAfterMs = 400;

  // Runs work on a worker thread and returns its result once it has ended.
  // cancelled (when given) tells whether the user pressed Cancel.
  static bool Run(QWidget* owner, const QString& label, const Work& work, bool* cancelled = nullptr);

  // True while some work runs.
  static bool IsBusy();
  // The window that the running work belongs to (its questions are centred on
  // it), or nullptr when none runs. Window's thread only.
  static QWidget* Owner();

  // While one lives, the progress dialog of the running work is hidden and
  // is not shown; it comes back (if it was due) when the last one goes.
  // Window's thread only; does nothing when no work runs.
  class CStepAside {
  public:
    CStepAside();
    ~CStepAside();
    CStepAside(const CStepAside&) = delete;
    CStepAside& operator=(const CStepAside&) = delete;
  };
};

}  // namespace kv::app
