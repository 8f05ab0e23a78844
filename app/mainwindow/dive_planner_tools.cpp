// The main window's View, Tools and Help commands.

#include "app/mainwindow/dive_planner_dlg.h"

#include <QTabWidget>

#include "app/dialogs/about_dlg.h"
#include "app/dialogs/preferences_dlg.h"
#include "app/dialogs/select_language.h"
#include "app/help/help.h"
#include "app/mainwindow/details_window.h"
#include "app/pages/tab_dive_plan.h"
#include "app/platform/qt_text.h"
#include "base/prompt.h"
#include "app/viewer/viewer.h"
#include "base/preferences.h"
#include "report/table_builder.h"

void CDivePlannerDlg::ShowDetails() {
  if (!m_details) {
    m_details = new CDetailsWindow(this);
    m_details->ShowSecond(m_plan.get(), 0, 0);
  }
  m_details->show();
  m_details->raise();
  m_details->activateWindow();
}

void CDivePlannerDlg::ViewTables(bool gas, bool all) {
  if (Busy()) return;
  const int current = CurrentDive();
  RunCalculation([this, all, current](kv::IProgress& p) { m_plan->CalculateDivePlans(all, current, false, &p); });
  std::vector<const kv::CDivePlan*> dives;
  for (int i = 0; i < m_plan->GetDiveCount(); ++i) dives.push_back(m_plan->GetDive(i));
  const kv::SReportOptions options = kv::ReportOptionsFromPreferences();
  const int index = all ? -1 : current;
  // When no dive qualifies no new document is built, and no viewer opens on an old one.
  if (gas) {
    if (!kv::BuildGasUsageTables(dives, index, options, m_gasTables)) return;
    m_gasTablesReady = true;
    ShowDocument(m_gasTables.GetDocument());
  } else {
    if (!kv::BuildDiveTables(dives, index, options, m_diveTables)) return;
    m_tablesReady = true;
    ShowDocument(m_diveTables.GetDocument());
  }
}

void CDivePlannerDlg::ShowDocument(const std::string& document) {
  if (m_viewerHook) {
    m_viewerHook(document);
    return;
  }
  CViewer viewer(document, m_chooser, this);
  viewer.exec();
}

void CDivePlannerDlg::Calculate() {
  if (Busy()) return;
  const int current = CurrentDive();
  RunCalculation([this, current](kv::IProgress&) { m_plan->Recalculate(current); });
  UpdateTexts();
}

void CDivePlannerDlg::CreateDiveTables() {
  if (Busy()) return;
  if (m_tableGeneration) {
    m_tableGeneration();
    return;
  }
  kv::UserPrompt().ShowMessage(FromQt(Tr("Dive table generation is not part of this version of the program.")),
                               kv::EIcon::Information);
}

void CDivePlannerDlg::Preferences() {
  if (Busy()) return;
  CPreferences dialog(this, m_chooser);
  if (dialog.exec() != QDialog::Accepted) return;
  kv::CPreferences& prefs = kv::Prefs();
  const bool imperial = prefs.GetNumber(kv::EPref::Units) == 1;
  if (imperial != m_imperial) {
    m_imperial = imperial;
    for (int i = 0; i < m_tabs->count(); ++i) Page(i)->SetImperial(imperial);
    if (m_details) m_details->Reshow();
  }
  m_plan->SetAutoRecalc(prefs.GetNumber(kv::EPref::AutoRecalc) == 1);
  RunCalculation([this](kv::IProgress& p) { m_plan->CalculateDivePlans(true, 0, true, &p); });
  UpdateTexts();
}

void CDivePlannerDlg::SelectLanguage() {
  if (Busy()) return;
  CSelectLanguage dialog(m_languages.SelectableLanguages(), m_languages.Current(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const unsigned short chosen = dialog.Selected();
  if (chosen == 0 || chosen == m_languages.Current()) return;
  if (!m_languages.SetLanguage(chosen)) return;
  RetranslateUi();
  for (int i = 0; i < m_tabs->count(); ++i) Page(i)->Retranslate();
  if (m_details) m_details->Retranslate();
}

void CDivePlannerDlg::HelpContents() { CHelp::Instance().ShowContents(this); }

void CDivePlannerDlg::WhatsThis() { CHelp::Instance().EnterWhatsThisMode(); }

void CDivePlannerDlg::About() {
  CAboutDlg dialog(m_logPath, this);
  dialog.exec();
}
