#include "app/mainwindow/dive_planner_app.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <clocale>

#include "app/dialogs/about_dlg.h"
#include "app/dialogs/liability_rich_edit.h"
#include "app/i18n/languages.h"
#include "app/mainwindow/dive_planner_dlg.h"
#include "app/platform/app_icon.h"
#include "app/platform/qt_prompt.h"
#include "app/platform/qt_text.h"
#include "base/preferences.h"
#include "base/status_log.h"
#include "qtsettings/qt_settings_storage.h"

namespace kv::app {

CDivePlannerApp::SCommandLine CDivePlannerApp::ParseCommandLine(const QStringList& arguments) {
  SCommandLine line;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    const QString lower = a.toLower();
    if (lower == "-embedding" || lower == "/embedding" || lower == "-automation" || lower == "/automation" ||
        lower == "--no-splash") {
      line.splash = false;
    } else if (!a.startsWith('-') && line.file.isEmpty()) {
      line.file = QFileInfo(a).absoluteFilePath();
    }
  }
  return line;
}

QString CDivePlannerApp::StatusLogPath() {
  const QString folder = ProgramFolder();
  const QFileInfo info(folder);
  if (info.isDir() && info.isWritable()) return QDir(folder).filePath(QStringLiteral("StatusLog.txt"));
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(data);
  return QDir(data).filePath(QStringLiteral("StatusLog.txt"));
}

int CDivePlannerApp::Run(QApplication& application) {
  // Qt takes the user's locale for everything; numbers in files, logs and
  // reports are written with "." whatever it is.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setOrganizationName(QStringLiteral("Kestrun"));
  QApplication::setApplicationName(QStringLiteral("KestrunVarnadel"));
  QApplication::setWindowIcon(AppIcon());
  kv::Prefs().SetStorage(std::make_unique<kv::CQtSettingsStorage>());

  kv::CStatusLog& log = kv::StatusLog();
  const QString logPath = StatusLogPath();
  if (!log.OpenLogAt(FromQt(logPath), false)) log.Close();
  log.SetTimeStamps(true);
  log.SetNamePrefix(false);
  log.SetEnabled(true);
  log.LogMessage("Kestrun Varnadel Startup");

  CQtPrompt prompt;
  kv::SetUserPrompt(&prompt);
  const SCommandLine line = ParseCommandLine(application.arguments());

  int result = 0;
  {
    CLiabilityRichEdit warning;
    if (warning.exec() != QDialog::Accepted) {
      kv::SetUserPrompt(nullptr);
      return 0;
    }
  }
  log.LogMessage("Program Version %s", FromQt(ProgramVersionString()).c_str());
  {
    SDivePlannerOptions options;
    options.fileToOpen = line.file;
    options.splash = line.splash;
    options.logPath = log.Path().empty() ? QString() : logPath;
    CDivePlannerDlg window(options);
    prompt.SetParent(&window);
    window.show();
    result = application.exec();
    prompt.SetParent(nullptr);
  }
  log.LogMessage("Kestrun Varnadel Shutdown");
  kv::SetUserPrompt(nullptr);
  return result;
}

}  // namespace kv::app
