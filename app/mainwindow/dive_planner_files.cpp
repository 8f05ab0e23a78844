// The main window's file commands: New, Open, Open recent, Save, Save As,
// Import and Export.

#include "app/mainwindow/dive_planner_dlg.h"

#include <QFileInfo>
#include <QTabWidget>

#include "app/pages/tab_dive_plan.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"
#include "base/prompt.h"
#include "base/preferences.h"
#include "base/status_log.h"
#include "frontend/preference_snapshots.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

namespace {

constexpr const char* kPlanFilter = "Dive Plans (*.ccp)|*.ccp||";
constexpr const char* kPlanSaveFilter = "Kestrun Varnadel Files (*.ccp)|*.ccp||";
constexpr const char* kDiveFilter = "Dive Files (*.ccd)|*.ccd||";

}  // namespace

QString CDivePlannerDlg::ChooseOpen(const char* title, const char* filter, const char* extension) {
  SFileRequest r{title ? Tr(title) : QString(), QString::fromLatin1(filter), QString::fromLatin1(extension),
                 ToQt(kv::Prefs().GetText(kv::EPref::DefaultDirectory)), QString()};
  return m_chooser->OpenFile(this, r);
}

QString CDivePlannerDlg::ChooseSave(const char* title, const char* filter, const char* extension) {
  SFileRequest r{title ? Tr(title) : QString(), QString::fromLatin1(filter), QString::fromLatin1(extension),
                 ToQt(kv::Prefs().GetText(kv::EPref::DefaultDirectory)), QString()};
  return WithDefaultExtension(m_chooser->SaveFile(this, r), QString::fromLatin1(extension));
}

void CDivePlannerDlg::SetFolderPreference(const QString& path) {
  kv::Prefs().SetText(kv::EPref::DefaultDirectory, FromQt(FolderOf(path)));
}

bool CDivePlannerDlg::AskToSave() {
  if (!m_plan->IsModified()) return true;
  switch (kv::UserPrompt().AskYesNoCancel(LoadText(kTextSaveChangesQuestion), kv::EIcon::Exclamation)) {
    case kv::EAnswer::Yes:
      // A cancelled file dialog or a failed save keeps the plan as it is.
      return SavePlan(false);
    case kv::EAnswer::No:
      m_plan->ClearModified();
      return true;
    case kv::EAnswer::Cancel:
      break;
  }
  return false;
}

bool CDivePlannerDlg::NewPlan() {
  if (Busy() || !AskToSave()) return false;
  SetDiveTabCount(0);
  m_plan->ClearPlanGroup();
  m_plan->ResetPlanGroup();
  // Taking the defaults marks the new dive changed; ClearModified below
  // makes the new plan unmodified again.
  kv::ApplyPreferences(*m_plan, m_preferences);
  SetDiveTabCount(1);
  m_plan->SetFilePath(std::string());
  m_plan->ClearModified();
  Page(0)->Refresh();
  UpdateTexts();
  UpdateCommands();
  return true;
}

void CDivePlannerDlg::OpenPlan() {
  if (Busy() || !NewPlan()) return;
  const QString path = ChooseOpen("Select dive plan file to open", kPlanFilter, "*.ccp");
  if (path.isEmpty()) return;
  kv::StatusLog().LogMessage("User selected file %s", FromQt(path).c_str());
  m_recent.Add(path);
  UpdateRecentMenu();
  SetFolderPreference(path);
  OpenPlanFile(path);
}

void CDivePlannerDlg::OpenRecent(const QString& path) {
  if (Busy() || !AskToSave()) return;
  kv::StatusLog().LogMessage("User selected MRU file %s", FromQt(path).c_str());
  OpenPlanFile(path);
}

void CDivePlannerDlg::OpenPlanFile(const QString& path) {
  SetDiveTabCount(0);
  if (m_plan->LoadPlanGroup(FromQt(path))) {
    m_plan->SetFilePath(FromQt(path));
  } else {
    m_plan->SetFilePath(std::string());
    // A recent file that is gone is not offered again.
    if (!QFileInfo::exists(path)) {
      m_recent.Remove(path);
      UpdateRecentMenu();
    }
  }
  // A plan file that failed to load leaves no dive at all when it had too
  // many; the window always shows at least one.
  if (m_plan->GetDiveCount() == 0) {
    m_plan->ResetPlanGroup();
    kv::ApplyPreferences(*m_plan, m_preferences);
  }
  SetDiveTabCount(m_plan->GetDiveCount());
  UpdateTexts();
  m_plan->ClearModified();
  UpdateCommands();
}

bool CDivePlannerDlg::SavePlan(bool askForName) {
  if (Busy()) return false;
  QString path = ToQt(m_plan->GetFilePath());
  if (path.isEmpty() || askForName) {
    const QString chosen = ChooseSave(nullptr, kPlanSaveFilter, "*.ccp");
    if (chosen.isEmpty()) return false;
    kv::StatusLog().LogMessage("User saved file as %s", FromQt(chosen).c_str());
    m_recent.Add(chosen);
    UpdateRecentMenu();
    SetFolderPreference(chosen);
    path = chosen;
    m_plan->SetFilePath(FromQt(path));
  }
  const bool saved = m_plan->SavePlanGroup(FromQt(path));
  UpdateTexts();
  UpdateCommands();
  return saved;
}

void CDivePlannerDlg::ImportDive() {
  if (Busy()) return;
  const QString path = ChooseOpen("Select dive file to open", kDiveFilter, "*.ccd");
  if (path.isEmpty()) return;
  kv::StatusLog().LogMessage("User imported dive %s", FromQt(path).c_str());
  SetFolderPreference(path);
  // A file that could not be read adds nothing and leaves the plan as it was.
  if (m_plan->ImportDive(FromQt(path))) m_plan->SetModified(true);
  SetDiveTabCount(m_plan->GetDiveCount());
  UpdateTexts();
}

void CDivePlannerDlg::ExportDive() {
  if (Busy()) return;
  const QString path = ChooseSave(nullptr, kDiveFilter, "*.ccd");
  if (path.isEmpty()) return;
  kv::StatusLog().LogMessage("User exported dive as %s", FromQt(path).c_str());
  SetFolderPreference(path);
  m_plan->ExportDive(FromQt(path), CurrentDive());
}

}  // namespace kv::app
