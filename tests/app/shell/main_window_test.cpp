// The main window: enabling rules, title and tab texts, the file commands with
// scripted file dialogs and the save question, the dive commands, and long
// calculations that keep the window responsive without corrupting the plan.

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTabWidget>
#include <QThread>

#include <atomic>
#include <fstream>

#include "app/dialogs/rename_dive.h"
#include "app/dialogs/sort_dive_plans.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/dive_planner_dlg.h"
#include "app/platform/long_work.h"
#include "app/platform/qt_text.h"
#include "base/preferences.h"
#include "gui_test_support.h"
#include "plan/plan_group.h"

namespace {

const QString kExamples = QStringLiteral(EXAMPLES_DIR);

bool Enabled(CDivePlannerDlg& w, int id) {
  w.UpdateCommands();
  return w.Action(id)->isEnabled();
}

QStringList TabTexts(CDivePlannerDlg& w) {
  QStringList texts;
  for (int i = 0; i < w.Tabs()->count(); ++i) texts << w.Tabs()->tabText(i);
  return texts;
}

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// A window with its file dialogs scripted, showing an example plan.
struct SWindow {
  explicit SWindow(const char* example = nullptr) {
    w.SetFileChooser(&chooser);
    if (!example) return;
    chooser.answers = {kExamples + "/" + example};
    w.OpenPlan();
    Settle();
  }
  CScriptedChooser chooser;
  CDivePlannerDlg w;
};

std::string FileText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void newPlanStartsUntitledAndUnmodified() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    Settle();
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel"));
    QCOMPARE(TabTexts(w), QStringList{"Dive 1"});
    QVERIFY(!Enabled(w, kCmdSave));
    QVERIFY(Enabled(w, kCmdSaveAs));
    QVERIFY(Enabled(w, kCmdAddDive));
    QVERIFY(!Enabled(w, kCmdDeleteDive));
    QVERIFY(!Enabled(w, kCmdSortDives));
    QVERIFY(Enabled(w, kCmdRenameDive));
    QVERIFY(!Enabled(w, kCmdCurrentDiveTable));
    QVERIFY(!Enabled(w, kCmdAllDiveTables));
    QVERIFY(!Enabled(w, kCmdCurrentGasTable));
    // Auto recalc is on by default: nothing is ever put off.
    QVERIFY(!Enabled(w, kCmdCalculate));
    QVERIFY(!Enabled(w, kCmdRecentFile1));
    for (int id : {kCmdNew, kCmdOpen, kCmdExit, kCmdPlanSettings, kCmdImportDive, kCmdExportDive, kCmdDetails,
                   kCmdCreateDiveTables, kCmdPreferences, kCmdSelectLanguage, kCmdHelpContents, kCmdWhatsThis,
                   kCmdAbout})
      QVERIFY2(Enabled(w, id), qPrintable(QString::number(id)));
    QCOMPARE(w.Action(kCmdNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(w.Action(kCmdHelpContents)->shortcut(), QKeySequence(QStringLiteral("F1")));
    QCOMPARE(w.Action(kCmdAddDive)->toolTip(), QStringLiteral("Add a Dive"));
    QStringList menus;
    for (QAction* a : w.menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"&File", "Dive", "&View", "&Tools", "&Help"}));
  }

  void addDeleteAndTheDiveLimit() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    w.AddDive();
    Settle();
    QCOMPARE(TabTexts(w), (QStringList{"Dive 1", "Dive 2"}));
    QCOMPARE(w.CurrentDive(), 1);
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel *"));
    QVERIFY(Enabled(w, kCmdSave));
    QVERIFY(Enabled(w, kCmdDeleteDive));
    QVERIFY(Enabled(w, kCmdSortDives));

    // Delete asks with the tab's text, No as the default; No keeps the dive.
    t.env.prompt.answers = {false};
    w.DeleteDive();
    QCOMPARE(w.Plan().GetDiveCount(), 2);
    QVERIFY(t.env.prompt.shown.back().question);
    QVERIFY(t.env.prompt.shown.back().text.find("delete the current dive?\n\nDive 2") != std::string::npos);
    w.Plan().SetDiveName(0, "Wreck");
    t.env.prompt.answers = {true};
    w.DeleteDive();
    Settle();
    QCOMPARE(TabTexts(w), QStringList{"Dive 1 - Wreck"});
    QVERIFY(!Enabled(w, kCmdDeleteDive));

    while (w.Plan().GetDiveCount() < kv::CPlanGroup::kMaxDives) w.AddDive();
    Settle();
    QCOMPARE(w.Tabs()->count(), 30);
    QCOMPARE(w.CurrentDive(), 29);
    QVERIFY(!Enabled(w, kCmdAddDive));
    w.AddDive();
    QCOMPARE(w.Tabs()->count(), 30);
  }

  void renameStartsFromTheNameAndSetsTheTab() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    AnswerNextDialog<CRenameDive>([](CRenameDive* d) {
      QCOMPARE(d->Field()->text(), QString());
      d->Field()->setText(QStringLiteral("Reef"));
      d->accept();
    });
    w.RenameDive();
    Settle();
    QCOMPARE(TabTexts(w), QStringList{"Dive 1 - Reef"});
    QCOMPARE(w.Plan().GetDiveName(0), std::string("Reef"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel *"));
    AnswerNextDialog<CRenameDive>([](CRenameDive* d) {
      QCOMPARE(d->Field()->text(), QStringLiteral("Reef"));
      d->reject();
    });
    w.RenameDive();
    QCOMPARE(w.Plan().GetDiveName(0), std::string("Reef"));
  }

  void sortMovesDivesAndKeepsSurfaceIntervalsInPlace() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    w.AddDive();
    w.AddDive();
    for (int i = 0; i < 3; ++i) w.Plan().SetDiveName(i, std::string(1, static_cast<char>('A' + i)));
    w.Plan().GetDive(1)->SetSurfaceInterval(3600);
    w.Plan().GetDive(2)->SetSurfaceInterval(7200);
    Settle();
    w.UpdateTexts();
    // Move the last dive to the top.
    AnswerNextDialog<CSortDivePlans>([](CSortDivePlans* d) {
      QCOMPARE(d->SelectedRow(), 0);
      d->SelectRow(2);
      d->MoveSelected(-1);
      d->MoveSelected(-1);
      d->MoveSelected(-1);  // already at the top: nothing
      QCOMPARE(d->Order(), (std::vector<int>{2, 0, 1}));
      d->accept();
    });
    w.SortDives();
    Settle();
    QCOMPARE(TabTexts(w), (QStringList{"Dive 1 - C", "Dive 2 - A", "Dive 3 - B"}));
    QCOMPARE(w.Plan().GetDive(0)->GetSurfaceInterval(), 0);
    QCOMPARE(w.Plan().GetDive(1)->GetSurfaceInterval(), 3600);
    QCOMPARE(w.Plan().GetDive(2)->GetSurfaceInterval(), 7200);
  }

  void openSaveAndTheSaveQuestion() {
    CGuiTestEnvironment t;
    SWindow window("oc-nitrox-two-dives.ccp");
    CScriptedChooser& chooser = window.chooser;
    CDivePlannerDlg& w = window.w;
    QCOMPARE(chooser.requests.size(), 1);
    QCOMPARE(chooser.requests[0].title, QStringLiteral("Select dive plan file to open"));
    QCOMPARE(chooser.requests[0].filter, QStringLiteral("Dive Plans (*.ccp)|*.ccp||"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel - oc-nitrox-two-dives.ccp"));
    QCOMPARE(TabTexts(w), (QStringList{"Dive 1 - Morning 30 m", "Dive 2 - Afternoon 20 m"}));
    QCOMPARE(w.CurrentDive(), 0);
    // The first dive is calculated when the plan is shown.
    QVERIFY(w.Plan().GetDive(0)->SegmentCount() > 0);
    QVERIFY(Enabled(w, kCmdCurrentDiveTable));
    QVERIFY(Enabled(w, kCmdRecentFile1));
    QCOMPARE(ToQt(kv::Prefs().GetText(kv::EPref::DefaultDirectory)), kExamples);
    QVERIFY(!Enabled(w, kCmdSave));

    // Save As writes a copy and takes its name.
    const QString copy = t.Path("copy");
    chooser.answers = {copy};
    QVERIFY(w.SavePlan(true));
    QCOMPARE(chooser.requests.back().filter, QStringLiteral("Kestrun Varnadel Files (*.ccp)|*.ccp||"));
    QVERIFY(chooser.saves.back());
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel - copy.ccp"));
    const std::string saved = FileText(copy + ".ccp");
    QVERIFY(saved.rfind("Dive Plan\r\n", 0) == 0);
    QVERIFY(saved.find("020~Afternoon 20 m") != std::string::npos);
    QCOMPARE(w.RecentFiles().Files().front(), copy + ".ccp");

    // A change, then New answered No: nothing is written, the plan is new.
    w.AddDive();
    Settle();
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel - copy.ccp *"));
    t.env.prompt.answers = {false};
    w.NewPlan();
    Settle();
    QCOMPARE(t.env.prompt.shown.back().text,
             std::string("The Dive Plan has been modified.\n\nDo you want to save the changes?"));
    QCOMPARE(FileText(copy + ".ccp"), saved);
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel"));
    QCOMPARE(TabTexts(w), QStringList{"Dive 1"});

    // Reopened from the recent files; a change answered Yes is saved first.
    w.OpenRecent(copy + ".ccp");
    Settle();
    QCOMPARE(w.Tabs()->count(), 2);
    w.Plan().SetDiveName(1, "Dusk");
    Settle();
    t.env.prompt.answers = {true};
    chooser.answers = {QString()};  // Open's own dialog is cancelled
    w.OpenPlan();
    Settle();
    QVERIFY(FileText(copy + ".ccp").find("020~Dusk") != std::string::npos);
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel"));

    // A recent plan that has gone away is reported and leaves the list.
    QFile::remove(copy + ".ccp");
    w.OpenRecent(copy + ".ccp");
    Settle();
    QCOMPARE(t.env.prompt.shown.back().text, std::string("Unable to open data file."));
    QVERIFY(!w.RecentFiles().Files().contains(copy + ".ccp"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel"));
  }

  void aFailedOpenLeavesANewPlan() {
    CGuiTestEnvironment t;
    CScriptedChooser chooser;
    CDivePlannerDlg w;
    w.SetFileChooser(&chooser);
    const QString bad = t.Path("bad.ccp");
    std::ofstream(bad.toStdString()) << "Dive\r\n020~x\r\n";
    chooser.answers = {bad};
    w.OpenPlan();
    Settle();
    QCOMPARE(t.env.prompt.shown.back().text, std::string("Invalid Dive Plan file"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kestrun Varnadel"));
    QCOMPARE(w.Tabs()->count(), 1);
  }

  void importAndExportADive() {
    CGuiTestEnvironment t;
    SWindow window("oc-air-40m.ccp");
    CScriptedChooser& chooser = window.chooser;
    CDivePlannerDlg& options = window.w;
    const QString dive = t.Path("air.ccd");
    chooser.answers = {dive};
    options.ExportDive();
    QCOMPARE(chooser.requests.back().filter, QStringLiteral("Dive Files (*.ccd)|*.ccd||"));
    QVERIFY(FileText(dive).rfind("Dive\r\n", 0) == 0);

    chooser.answers = {dive};
    options.ImportDive();
    Settle();
    QCOMPARE(TabTexts(options), (QStringList{"Dive 1 - Air 40 m", "Dive 2 - Air 40 m"}));
    QCOMPARE(options.CurrentDive(), 1);
    QVERIFY(options.windowTitle().endsWith(" *"));
    QVERIFY(options.Plan().GetDive(1)->SegmentCount() > 0);
  }

  void viewTablesCalculatesFirstAndHandsOverTheDocument() {
    CGuiTestEnvironment t;
    CScriptedChooser chooser;
    CDivePlannerDlg w;
    w.SetFileChooser(&chooser);
    std::string shown;
    w.SetViewerHook([&shown](const std::string& doc) { shown = doc; });
    chooser.answers = {kExamples + "/oc-nitrox-two-dives.ccp"};
    w.OpenPlan();
    Settle();
    QVERIFY(Enabled(w, kCmdAllDiveTables));
    QVERIFY(w.Plan().GetDive(1)->SegmentCount() == 0);
    w.ViewTables(false, true);
    QVERIFY(w.Plan().GetDive(1)->SegmentCount() > 0);
    QVERIFY(shown.find("Dive 1 of 2") != std::string::npos);
    QVERIFY(shown.find("Dive 2 of 2") != std::string::npos);
    shown.clear();
    w.ViewTables(true, false);
    QVERIFY(shown.find("Gas Usage Table") != std::string::npos);
  }

  void selectingATabBringsEarlierDivesUpToDate() {
    CGuiTestEnvironment t;
    SWindow window("oc-nitrox-two-dives.ccp");
    CDivePlannerDlg& w = window.w;
    QCOMPARE(w.Plan().GetDive(1)->SegmentCount(), 0);
    w.Tabs()->setCurrentIndex(1);
    Settle();
    QVERIFY(w.Plan().GetDive(1)->SegmentCount() > 0);
    // The second dive starts from the first dive's end state.
    QVERIFY(w.Plan().GetDive(1)->Prediction(0)->m_nitrogen[0] != w.Plan().GetDive(0)->Prediction(0)->m_nitrogen[0]);
  }

  void aCommandDuringALongCalculationIsRefused() {
    CGuiTestEnvironment t;
    SWindow window("oc-nitrox-two-dives.ccp");
    CDivePlannerDlg& w = window.w;
    std::atomic<bool> tried{false};
    int countDuring = -1;
    // While the worker waits, the window's thread runs timers: Add Dive and
    // Delete Dive arrive then and must leave the plan alone.
    QTimer::singleShot(10, [&] {
      QVERIFY(CLongWork::IsBusy());
      w.AddDive();
      w.Action(kCmdDeleteDive)->trigger();
      w.Tabs()->setCurrentIndex(0);
      countDuring = w.Plan().GetDiveCount();
      tried = true;
    });
    QVERIFY(w.RunCalculation([&](kv::IProgress& p) {
      while (!tried) QThread::msleep(2);
      w.Plan().CalculateDivePlans(true, 0, true, &p);
    }));
    QCOMPARE(countDuring, 2);
    QCOMPARE(w.Plan().GetDiveCount(), 2);
    QVERIFY(!CLongWork::IsBusy());

    // The threaded result is the sequential one, second by second.
    kv::CPlanGroup sequential;
    QVERIFY(sequential.LoadPlanGroup((kExamples + "/oc-nitrox-two-dives.ccp").toStdString()));
    sequential.CalculateDivePlans(true, 0, true);
    for (int d = 0; d < 2; ++d) {
      const kv::CDivePlan& a = *w.Plan().GetDive(d);
      const kv::CDivePlan& b = *sequential.GetDive(d);
      QCOMPARE(a.PredictionCount(), b.PredictionCount());
      QCOMPARE(a.SegmentCount(), b.SegmentCount());
      for (int s = 0; s < a.PredictionCount(); s += 37) {
        QCOMPARE(a.Prediction(s)->m_nitrogen, b.Prediction(s)->m_nitrogen);
        QCOMPARE(a.Prediction(s)->m_cns, b.Prediction(s)->m_cns);
      }
    }
  }

  void cancellingLeavesThePlanMarkedForRecalculation() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    w.AddDive();
    w.AddDive();
    Settle();
    QTimer::singleShot(10, [&] {
      auto* progress = w.findChild<QProgressDialog*>();
      QVERIFY(progress);
      progress->cancel();
    });
    w.RunCalculation([&](kv::IProgress& p) {
      while (!p.IsCancelled()) QThread::msleep(2);
      QVERIFY(!w.Plan().CalculateDivePlans(true, 0, true, &p));
    });
    QVERIFY(w.Plan().IsRecalculationRequired());
    QVERIFY(Enabled(w, kCmdCalculate));
  }

  void closingWithChangesAsksAndNoSavesNothing() {
    CGuiTestEnvironment t;
    CScriptedChooser chooser;
    auto* w = new CDivePlannerDlg;
    w->SetFileChooser(&chooser);
    w->show();
    w->AddDive();
    Settle();
    t.env.prompt.answers = {false};
    QVERIFY(w->close());
    QCOMPARE(t.env.prompt.shown.size(), std::size_t{1});
    QVERIFY(chooser.requests.isEmpty());
    delete w;
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
