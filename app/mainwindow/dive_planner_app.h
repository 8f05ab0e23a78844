#pragma once
// The application object: prepares the process-wide services (preferences
// store, status log, prompt, locale), shows the liability warning, runs the
// main window until it closes and writes the shutdown line.

#include <QString>
#include <QStringList>

class QApplication;

namespace kv::app {

class CDivePlannerApp {
public:
  struct SCommandLine {
    QString file;         // the plan to open, empty for none
    bool splash = true;   // false for an embedded or automated start
  };
  static SCommandLine ParseCommandLine(const QStringList& arguments);

  // Where the status log goes: beside the program when that folder is
  // writable, else the user's data folder.
  static QString StatusLogPath();

  // Start-up, the main window's run and shutdown; the process's exit code.
  int Run(QApplication& application);
};

}  // namespace kv::app
