#pragma once
// Helpers of the GUI tests: scripted file dialogs, answering the next modal
// dialog, and a test environment that keeps every setting in memory or in
// the build folder.

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/platform/file_chooser.h"
#include "app/platform/user_profile.h"
#include "support/test_support.h"

// Answers file dialogs from a list; an empty answer is a cancelled dialog.
class CScriptedChooser final : public kv::app::IFileChooser {
public:
  QString OpenFile(QWidget*, const kv::app::SFileRequest& request) override { return Next(request, false); }
  QString SaveFile(QWidget*, const kv::app::SFileRequest& request) override { return Next(request, true); }

  QStringList answers;
  QList<kv::app::SFileRequest> requests;
  QList<bool> saves;

private:
  QString Next(const kv::app::SFileRequest& request, bool save) {
    requests << request;
    saves << save;
    return answers.isEmpty() ? QString() : answers.takeFirst();
  }
};

// When the next modal dialog of type T is up, hands it to act (which answers
// it, say with accept()). Gives up after a few seconds so a test fails
// instead of hanging.
template <typename T>
void AnswerNextDialog(std::function<void(T*)> act, int triesLeft = 200) {
  QTimer::singleShot(20, [act, triesLeft] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      act(dialog);
      return;
    }
    if (triesLeft > 0) AnswerNextDialog<T>(act, triesLeft - 1);
  });
}

// Preferences and clock as kv::test::CTestEnvironment sets them, and the
// profile entries (window places, recent files) in a temporary INI file.
class CGuiTestEnvironment {
public:
  CGuiTestEnvironment() { kv::app::SetProfileSettingsFile(m_dir.filePath("profile.ini")); }
  QString Path(const QString& name) const { return m_dir.filePath(name); }

  kv::test::CTestEnvironment env;

private:
  QTemporaryDir m_dir;
};
