#pragma once
// The main window: it owns the plan, shows one page per dive in a tab strip,
// carries the menus, toolbar and title, and turns every command into
// operations on the plan. The plan tells it of changes by queued
// notifications; calculations of several dives run as long work.

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/i18n/languages.h"
#include "app/mainwindow/commands.h"
#include "app/dialogs/worst_case_bailout.h"
#include "app/dialogs/details_window.h"
#include "app/platform/user_profile.h"
#include "frontend/preference_snapshots.h"
#include "plan/plan_group.h"
#include "report/tables_html.h"

class QAction;
class QMenu;
class QTabWidget;
class QToolBar;

namespace kv::app {

class CTabDivePlan;

class CQtPlanSink;
class IFileChooser;

struct SDivePlannerOptions {
  QString fileToOpen;      // the plan named on the command line
  QString languageFolder;  // where language libraries are looked for; the program's folder when empty
  QString logPath;         // where the status log is written, shown in the About box
  bool splash = false;
};

class CDivePlannerDlg final : public QMainWindow {
  Q_OBJECT
public:
  explicit CDivePlannerDlg(const SDivePlannerOptions& options = {}, QWidget* parent = nullptr);
  ~CDivePlannerDlg() override;

  kv::CPlanGroup& Plan() { return *m_plan; }
  // The action of a command (its object name is CommandName(command)).
  QAction* Action(ECommand command) const;
  const std::map<ECommand, QAction*>& Actions() const { return m_actions; }
  QTabWidget* Tabs() const { return m_tabs; }
  CTabDivePlan* Page(int index) const;
  int CurrentDive() const;
  CDetailsWindow* Details() const { return m_details; }
  CLanguages& Languages() { return m_languages; }
  const CRecentFileList& RecentFiles() const { return m_recent; }

  // The file dialogs (not owned); nullptr restores the platform's.
  void SetFileChooser(IFileChooser* chooser);
  // How a finished table document is shown: the modal viewer unless replaced.
  void SetViewerHook(std::function<void(const std::string&)> hook) { m_viewerHook = std::move(hook); }
  // Replaces what "Create Dive Tables" opens (the "Table Generation" page on
  // this plan unless set).
  void SetTableGenerationCommand(std::function<void()> command) { m_tableGeneration = std::move(command); }

  // The texts of the window (title and tabs).
  QString TitleText() const;
  QString TabText(int dive) const;

  // ---- Commands (also reached through the menus) ----------------------------
  // False when the user kept the plan (Cancel to the save question, or to
  // the file dialog of the save it asked for).
  bool NewPlan();
  void OpenPlan();
  void OpenRecent(const QString& path);
  bool SavePlan(bool askForName);
  void AddDive();
  void DeleteDive();
  void RenameDive();
  void SortDives();
  void PlanSettings();
  void ImportDive();
  void ExportDive();
  void ShowDetails();
  // "Worst-case Bailout…" of a dive page's chart: sweeps the bailout over the
  // dive as long work and opens the result window.
  void WorstCaseBailout(int dive);
  // The window of the last sweep while it is open.
  CWorstCaseBailoutWindow* WorstCaseWindow() const { return m_worstCase; }
  void ViewTables(bool gas, bool all);
  // "Lost-Gas Tables": the current dive's tables and those of the same dive
  // finished without each of its deco gases, calculated as long work.
  void LostGasTables();
  void Calculate();
  void CreateDiveTables();
  void Preferences();
  void SelectLanguage();
  void HelpContents();
  void WhatsThis();
  void About();

  // Makes the tab strip hold n pages, each bound to the dive at its position.
  void SetDiveTabCount(int n);
  // Runs a calculation of the plan as long work; false when refused (busy).
  bool RunCalculation(const std::function<void(kv::IProgress&)>& work);
  // The enabling rules of every command, applied now.
  void UpdateCommands();
  // Title and every tab text.
  void UpdateTexts();

protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape that no field, list or chart took closes the window.
  void keyPressEvent(QKeyEvent* event) override;

private:
  void CreateActions();
  void CreateMenus();
  void RetranslateUi();
  void UpdateRecentMenu();
  void OnNotification(const kv::SPlanNotification& n);
  void OnTabChanged(int index);
  void OnTabContextMenu(const QPoint& pos);
  // Asks whether to save a modified plan: Yes saves, No discards, Cancel (or
  // Escape) keeps everything. False when the plan must stay as it is.
  bool AskToSave();
  void OpenPlanFile(const QString& path);
  void SetFolderPreference(const QString& path);
  bool Busy() const;
  void ShowDocument(const std::string& document);
  QString ChooseOpen(const char* title, const char* filter, const char* extension);
  QString ChooseSave(const char* title, const char* filter, const char* extension);

  std::unique_ptr<kv::CPlanGroup> m_plan;
  std::unique_ptr<CQtPlanSink> m_sink;
  std::unique_ptr<IFileChooser> m_ownChooser;
  IFileChooser* m_chooser = nullptr;
  CLanguages m_languages;
  CRecentFileList m_recent;
  QString m_logPath;
  QTabWidget* m_tabs = nullptr;
  QToolBar* m_toolBar = nullptr;
  QPointer<CDetailsWindow> m_details;
  QPointer<CWorstCaseBailoutWindow> m_worstCase;
  std::map<ECommand, QAction*> m_actions;
  QAction* m_recentActions[CRecentFileList::kSize] = {};
  QMenu* m_fileMenu = nullptr;
  QMenu* m_diveMenu = nullptr;
  QMenu* m_viewMenu = nullptr;
  QMenu* m_toolsMenu = nullptr;
  QMenu* m_helpMenu = nullptr;
  QMenu* m_divesPopup = nullptr;
  kv::CDivePlanTablesHtml m_diveTables;
  kv::CGasConsumptionTablesHtml m_gasTables;
  bool m_tablesReady = false;
  bool m_gasTablesReady = false;
  bool m_settingTabs = false;
  // The preferences the core is given, taken at start-up and after the
  // preferences dialog: the only reading of them for the plan, its pages and
  // reports.
  kv::SPreferenceSnapshot m_preferences;
  std::function<void(const std::string&)> m_viewerHook;
  std::function<void()> m_tableGeneration;
};

}  // namespace kv::app
