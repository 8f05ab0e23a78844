// The main window's "Lost-Gas Tables": what the current dive becomes when one
// of its deco gases is lost, shown in the viewer after the dive's own tables.

#include "app/mainwindow/dive_planner_dlg.h"

#include "app/platform/long_work.h"
#include "app/platform/qt_plan_sink.h"
#include "app/platform/qt_text.h"
#include "plan/lost_gas.h"
#include "frontend/preference_snapshots.h"
#include "report/lost_gas_tables.h"

namespace kv::app {

void CDivePlannerDlg::LostGasTables() {
  if (Busy()) return;
  const int current = CurrentDive();
  // The variants start from the state the dive starts from, so the dives up
  // to this one are brought up to date first.
  RunCalculation([this, current](kv::IProgress& p) { m_plan->CalculateDivePlans(false, current, false, &p); });
  const kv::CDivePlan* dive = m_plan->GetDive(current);
  if (!dive || kv::DecoGases(*dive).empty()) return;

  // Calculated only when asked for, on every core, as long work. The 6-hour
  // question for the variants is asked here, between two runs, so that no
  // question waits behind the progress window.
  kv::CLostGasVariants variants;
  kv::SLostGasOptions options;
  options.extendedPlanning = kv::EExtendedPlanning::Decline;
  bool cancelled = false;
  CLongWork::Run(
      this, Tr("Calculating the lost-gas tables..."),
      [&](kv::IProgress& progress) {
        options.progress = &progress;
        variants = kv::CalculateLostGasVariants(*m_plan, {current}, options);
        return !variants.cancelled;
      },
      &cancelled);
  const std::vector<int> awaiting = variants.AwaitingSixHourAnswer();
  if (!cancelled && !variants.cancelled && !awaiting.empty() && kv::AskToExtendLostGasVariants(variants, current)) {
    CLongWork::Run(
        this, Tr("Calculating the lost-gas tables..."),
        [&](kv::IProgress& progress) {
          options.progress = &progress;
          return kv::ExtendLostGasVariants(variants, awaiting, options);
        },
        &cancelled);
  }
  m_sink->DeliverPending();
  UpdateCommands();
  if (cancelled || variants.cancelled) return;

  std::vector<const kv::CDivePlan*> dives;
  for (int i = 0; i < m_plan->GetDiveCount(); ++i) dives.push_back(m_plan->GetDive(i));
  kv::CDivePlanTablesHtml writer;
  kv::InitialiseDiveTablesWriter(writer);
  // A dive that could not be calculated has no tables, and no viewer opens.
  if (!kv::BuildLostGasTables(dives, current, variants, m_preferences.report, writer)) return;
  ShowDocument(writer.GetDocument());
}

}  // namespace kv::app
