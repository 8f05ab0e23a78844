#pragma once
// A dive page bound to a plan, with the plan's notifications handled as the
// main window handles them, a scripted prompt and fresh preferences.

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/dive_plan.h"
#include "app/pages/tab_dive_plan.h"
#include "plan/plan_group.h"
#include "plan/plan_test_util.h"
#include "support/test_support.h"

namespace kv::test {

// The process's QApplication, created on first use (offscreen in CTest).
inline QApplication& GuiApp() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static int argc = 1;
  static char name[] = "kv_gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Puts the focus on start and presses Tab steps times, naming each widget
// the focus lands on (a part of a named field counts as the field).
inline std::vector<std::string> TabWalk(QWidget* start, const std::vector<std::pair<QWidget*, std::string>>& named,
                                        int steps) {
  auto name = [&](QWidget* w) -> std::string {
    for (const auto& [field, fieldName] : named)
      if (w && (w == field || field->isAncestorOf(w))) return fieldName;
    return w ? w->metaObject()->className() : "nothing";
  };
  start->setFocus(Qt::TabFocusReason);
  std::vector<std::string> walked{name(QApplication::focusWidget())};
  for (int i = 0; i < steps - 1; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked.push_back(name(QApplication::focusWidget()));
  }
  return walked;
}

// A point as the user enters it (closed circuit at a 1.3 setpoint unless told).
inline CPlanPoint UserPoint(double depth, int seconds, double oxygen, double helium, bool cc, double setpoint = 1.3) {
  return Point(depth, seconds, oxygen, helium, cc, setpoint);
}

// Stands in for the bailout planner: the dive's points up to the bailout,
// then open circuit on 21/35 from the bailout depth and 50 % from 21 m.
inline bool SimpleBailoutPlan(CDivePlan& dive, const SPreviousDiveState&) {
  dive.ClearBailoutPoints();
  for (const CPlanPoint& p : dive.UserPoints()) dive.AppendBailoutPoint(p);
  CPlanPoint bailout = UserPoint(dive.Bailout().depth, 0, 21, 35, false, 0.7);
  bailout.m_bailout = 1;
  dive.AppendBailoutPoint(bailout);
  CPlanPoint deco = UserPoint(21, 0, 50, 0, false, 0.7);
  deco.m_bailout = 1;
  dive.AppendBailoutPoint(deco);
  return true;
}

class CPageHarness final : public IPlanGroupSink {
public:
  CPageHarness() {
    GuiApp();
    page = std::make_unique<app::CTabDivePlan>();
    plan.SetSink(this);
    plan.SetAutoRecalc(true);
    plan.SetBailoutDriver(SimpleBailoutPlan);
    page->Bind(&plan, 0);
    page->resize(1200, 800);
    page->show();
    // Focus and mnemonics work only in the active window.
    page->activateWindow();
    active = QTest::qWaitForWindowActive(page.get());
  }
  ~CPageHarness() override { plan.SetSink(nullptr); }

  void Deliver(const SPlanNotification& n) override {
    if (n.kind == EPlanNotification::DiveCalculated && n.dive == page->DiveIndex()) page->Refresh();
    if (n.kind == EPlanNotification::DiveRowReset && n.dive == page->DiveIndex()) page->SetSelectedRow(n.row);
  }
  // Delivers what the plan queued, as the window's event loop would.
  void Pump() { plan.DeliverNotifications(); }
  CDivePlan& Dive() { return *plan.GetDive(0); }

  CTestEnvironment env;  // first: the page reads the preferences it installs
  CPlanGroup plan;
  std::unique_ptr<app::CTabDivePlan> page;
  bool active = false;
};

}  // namespace kv::test
