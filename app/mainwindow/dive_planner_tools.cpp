// The main window's View, Tools and Help commands.

#include "app/mainwindow/dive_planner_dlg.h"

#include <QTabWidget>

#include "app/dialogs/about_dlg.h"
#include "app/dialogs/preferences_dialog.h"
#include "app/dialogs/select_language.h"
#include "app/help/help.h"
#include "app/platform/long_work.h"
#include "app/platform/qt_plan_sink.h"
#include "bailout/bailout_sweep.h"
#include "app/dialogs/details_window.h"
#include "app/pages/tab_dive_plan.h"
#include "app/pages/table_generation_dlg.h"
#include "app/platform/qt_text.h"
#include "base/prompt.h"
#include "app/viewer/viewer.h"
#include "base/preferences.h"
#include "report/table_builder.h"
#include "frontend/preference_snapshots.h"

namespace kv::app {

void CDivePlannerDlg::ShowDetails() {
  if (!m_details) {
    m_details = new CDetailsWindow(this);
    m_details->ShowSecond(m_plan.get(), 0, 0);
  }
  m_details->show();
  m_details->raise();
  m_details->activateWindow();
}

void CDivePlannerDlg::WorstCaseBailout(int dive) {
  if (Busy()) return;
  kv::CDivePlan* d = m_plan->GetDive(dive);
  if (!d) return;
  // The sweep plans from the dive's own profile as it stands now.
  if (m_plan->IsRecalculationRequired())
    RunCalculation([this, dive](kv::IProgress& p) { m_plan->CalculateDivePlans(false, dive, true, &p); });
  if (!d->IsCalculationCompleted() || d->IsBailoutMode() || kv::BailoutSweepSeconds(*d, kWorstCaseStep).empty()) {
    kv::UserPrompt().ShowMessage(
        FromQt(Tr("Dive %1 has no calculated closed-circuit time under water to bail out from.").arg(dive + 1)),
        kv::EIcon::Exclamation);
    return;
  }
  // Hundreds of bailouts are planned unattended, so the questions they may
  // meet are answered before they start. Suggested gases (planned once, for
  // the deepest moment) may need more or fewer gases than the settings give;
  // a bailout gas list asks nothing about its number.
  kv::SBailoutAnswers answers;
  if (!d->BailoutSettings().useBailoutGasList)
    answers.allowMoreGases = answers.allowFewerGases = kv::UserPrompt().AskYesNo(
        FromQt(Tr("If a bailout needs more or fewer gases than the dive's bailout settings give, plan it with the "
                  "number it needs?\n\n(If you select 'No' such a bailout counts as one without a valid plan.)")),
        true, kv::EIcon::Question);
  answers.extendPastSixHours = kv::UserPrompt().AskYesNo(
      FromQt(Tr("If a bailout cannot decompress within 6 hours, plan it for extended decompression up to 24 "
                "hours?\n\n(If you select 'No' such a bailout counts as one without a valid plan.)")),
      false, kv::EIcon::Question);
  kv::SPreviousDiveState start;
  m_plan->PreviousState(dive, start);
  kv::SBailoutSweep sweep;
  bool cancelled = false;
  CLongWork::Run(
      this, Tr("Planning the worst-case bailout..."),
      [&](kv::IProgress& progress) {
        sweep = kv::SweepBailout(*d, start, kWorstCaseStep, answers, progress);
        return !sweep.cancelled;
      },
      &cancelled);
  m_sink->DeliverPending();
  UpdateCommands();
  if (cancelled || sweep.cancelled) return;
  const kv::SWorstCaseHeading heading{dive, d->GetName(), m_plan->GetGasReserve(), m_plan->GetCylinderWorkingPressure(),
                                      m_preferences.units};
  if (m_worstCase) m_worstCase->close();
  m_worstCase = new CWorstCaseBailoutWindow(std::move(sweep), heading, m_chooser, this);
  m_worstCase->setAttribute(Qt::WA_DeleteOnClose);
  m_worstCase->show();
  m_worstCase->raise();
  m_worstCase->activateWindow();
}

void CDivePlannerDlg::ViewTables(bool gas, bool all) {
  if (Busy()) return;
  const int current = CurrentDive();
  RunCalculation([this, all, current](kv::IProgress& p) { m_plan->CalculateDivePlans(all, current, false, &p); });
  std::vector<const kv::CDivePlan*> dives;
  for (int i = 0; i < m_plan->GetDiveCount(); ++i) dives.push_back(m_plan->GetDive(i));
  const kv::SReportOptions& options = m_preferences.report;
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
  CTableGenerationDlg page(m_plan.get(), m_chooser, this, m_preferences);
  page.SetDocumentViewer([this](const std::string& document) { ShowDocument(document); });
  connect(&page, &CTableGenerationDlg::gasListChanged, this, [this] {
    for (int i = 0; i < m_tabs->count(); ++i) Page(i)->ReloadGasMixes();
  });
  page.exec();
}

void CDivePlannerDlg::Preferences() {
  if (Busy()) return;
  CPreferencesDialog dialog(this, m_chooser);
  if (dialog.exec() != QDialog::Accepted) return;
  const bool wasImperial = m_preferences.units.imperial;
  m_preferences = kv::TakePreferenceSnapshot();
  kv::ApplyChangedPreferences(*m_plan, m_preferences);
  kv::CPreferences& prefs = kv::Prefs();
  const bool imperial = m_preferences.units.imperial;
  if (imperial != wasImperial) {
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

}  // namespace kv::app
