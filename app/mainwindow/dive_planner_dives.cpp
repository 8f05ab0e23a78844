// The main window's Dive commands: Add, Delete, Rename, Sort and the plan settings.

#include "app/mainwindow/dive_planner_dlg.h"

#include <QTabWidget>

#include "app/dialogs/plan_group_settings.h"
#include "app/dialogs/rename_dive.h"
#include "app/dialogs/sort_dive_plans.h"
#include "app/pages/tab_dive_plan.h"
#include "app/platform/qt_text.h"
#include "base/prompt.h"
#include "base/text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

namespace {

// Rename and Sort open at the first page's top left corner.
void PlaceAtPage(QDialog& dialog, QWidget* page) {
  if (!page) return;
  dialog.move(page->mapToGlobal(QPoint(3, 5)));
}

}  // namespace

void CDivePlannerDlg::AddDive() {
  if (Busy() || !m_plan->AddDivePlan()) return;
  SetDiveTabCount(m_plan->GetDiveCount());
  UpdateTexts();
}

void CDivePlannerDlg::DeleteDive() {
  if (Busy() || m_plan->GetDiveCount() < 2) return;
  const int current = CurrentDive();
  const std::string question = kv::Format(LoadText(kTextDeleteDiveQuestion).c_str(), FromQt(m_tabs->tabText(current)).c_str());
  if (!kv::UserPrompt().AskYesNo(question, false, kv::EIcon::Question)) return;
  Page(current)->Bind(nullptr, -1);
  m_plan->DeleteDivePlan(current);
  SetDiveTabCount(m_plan->GetDiveCount());
  const int shown = CurrentDive();
  RunCalculation([this, shown](kv::IProgress& p) { m_plan->CalculateDivePlans(false, shown, true, &p); });
  UpdateTexts();
}

void CDivePlannerDlg::RenameDive() {
  if (Busy()) return;
  const int current = CurrentDive();
  CRenameDive dialog(CRenameDive::NameOfTabText(m_tabs->tabText(current)), this);
  PlaceAtPage(dialog, Page(0));
  if (dialog.exec() != QDialog::Accepted) return;
  m_plan->SetDiveName(current, FromQt(dialog.Name()));
  m_tabs->setTabText(current, TabText(current));
  UpdateTexts();
}

void CDivePlannerDlg::SortDives() {
  if (Busy() || m_plan->GetDiveCount() < 2) return;
  std::vector<CSortDivePlans::SRow> rows;
  for (int i = 0; i < m_plan->GetDiveCount(); ++i)
    rows.push_back({m_tabs->tabText(i), ToQt(m_plan->GetDiveSummary(i))});
  CSortDivePlans dialog(rows, this);
  PlaceAtPage(dialog, Page(0));
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.Moved() && m_plan->SortDivePlans(dialog.Order()))
    for (int i = 0; i < m_tabs->count(); ++i) Page(i)->Bind(m_plan.get(), i);
  const int current = CurrentDive();
  RunCalculation([this, current](kv::IProgress& p) { m_plan->CalculateDivePlans(false, current, true, &p); });
  UpdateTexts();
}

void CDivePlannerDlg::PlanSettings() {
  if (Busy()) return;
  CPlanGroupSettings::SValues values;
  values.surfaceIntervalAlgorithm = m_plan->GetSurfaceIntervalAlgorithm();
  values.algorithm = m_plan->GetAlgorithm();
  values.workingPressure = m_plan->GetCylinderWorkingPressure();
  values.gasReserve = m_plan->GetGasReserve();
  CPlanGroupSettings dialog(values, m_preferences.units.imperial, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const CPlanGroupSettings::SValues v = dialog.Values();
  m_plan->SetSurfaceIntervalAlgorithm(v.surfaceIntervalAlgorithm);
  m_plan->SetAlgorithm(v.algorithm);
  m_plan->SetCylinderWorkingPressure(v.workingPressure);
  m_plan->SetGasReserve(v.gasReserve);
  const int current = CurrentDive();
  RunCalculation([this, current](kv::IProgress& p) { m_plan->CalculateDivePlans(false, current, true, &p); });
  m_plan->SetModified(true);
  UpdateTexts();
}

}  // namespace kv::app
