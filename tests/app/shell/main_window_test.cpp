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

#include <algorithm>
#include <atomic>
#include <fstream>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

#include <functional>

#include "app/charts/bar_graph.h"
#include "app/charts/graph_widget.h"
#include "app/charts/profile_chart_data.h"
#include "app/charts/worst_case_chart.h"
#include "app/dialogs/rename_dive.h"
#include "app/dialogs/worst_case_bailout.h"
#include "app/dialogs/sort_dive_plans.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/dive_planner_dlg.h"
#include "app/models/plan_points_model.h"
#include "app/pages/tab_dive_plan.h"
#include "base/text.h"
#include "bailout/bailout_sweep.h"
#include "app/platform/long_work.h"
#include "app/platform/qt_prompt.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/widgets/spin_field.h"
#include "app/help/help.h"
#include "gas/gas.h"
#include "plan/plan_test_util.h"
#include "app/platform/qt_text.h"
#include "base/preferences.h"
#include "gui_test_support.h"
#include "plan/plan_group.h"
#include "report/worst_case_html.h"

using namespace kv::app;

namespace {

const QString kExamples = QStringLiteral(EXAMPLES_DIR);

bool Enabled(CDivePlannerDlg& w, ECommand id) {
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

QAction* FindAction(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions())
    if (a->text() == text) return a;
  return nullptr;
}

// The Alt+letter of every control the user can see in the window now, with
// the texts that claim it.
QMap<QChar, QStringList> Mnemonics(QWidget& window) {
  QMap<QChar, QStringList> keys;
  auto add = [&keys](const QString& text) {
    const int at = text.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < text.size() && text[at + 1] != QLatin1Char('&')) keys[text[at + 1].toLower()] << text;
  };
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisible() || w->window() != &window) continue;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) add(b->text());
    if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) add(l->text());
    if (auto* g = qobject_cast<QGroupBox*>(w)) add(g->title());
    if (auto* bar = qobject_cast<QMenuBar*>(w))
      for (QAction* a : bar->actions()) add(a->text());
  }
  return keys;
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
    QVERIFY(!Enabled(w, ECommand::Save));
    QVERIFY(Enabled(w, ECommand::SaveAs));
    QVERIFY(Enabled(w, ECommand::AddDive));
    QVERIFY(!Enabled(w, ECommand::DeleteDive));
    QVERIFY(!Enabled(w, ECommand::SortDives));
    QVERIFY(Enabled(w, ECommand::RenameDive));
    QVERIFY(!Enabled(w, ECommand::CurrentDiveTable));
    QVERIFY(!Enabled(w, ECommand::AllDiveTables));
    QVERIFY(!Enabled(w, ECommand::CurrentGasTable));
    // Auto recalc is on by default: nothing is ever put off.
    QVERIFY(!Enabled(w, ECommand::Calculate));
    QVERIFY(!Enabled(w, ECommand::RecentFile1));
    for (ECommand id : {ECommand::New, ECommand::Open, ECommand::Exit, ECommand::PlanSettings, ECommand::ImportDive,
                        ECommand::ExportDive, ECommand::Details, ECommand::CreateDiveTables, ECommand::Preferences,
                        ECommand::SelectLanguage, ECommand::HelpContents, ECommand::WhatsThis, ECommand::About})
      QVERIFY2(Enabled(w, id), kv::app::CommandName(id));
    // Every command is found by its name, and no two share one.
    QSet<QString> names;
    for (auto& [command, action] : w.Actions()) {
      QCOMPARE(w.findChild<QAction*>(QString::fromLatin1(kv::app::CommandName(command))), action);
      names.insert(action->objectName());
    }
    QCOMPARE(names.size(), static_cast<qsizetype>(w.Actions().size()));
    QCOMPARE(w.Action(ECommand::New)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(w.Action(ECommand::HelpContents)->shortcut(), QKeySequence(QStringLiteral("F1")));
    QCOMPARE(w.Action(ECommand::AddDive)->toolTip(), QStringLiteral("Add a Dive"));
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
    QVERIFY(Enabled(w, ECommand::Save));
    QVERIFY(Enabled(w, ECommand::DeleteDive));
    QVERIFY(Enabled(w, ECommand::SortDives));

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
    QVERIFY(!Enabled(w, ECommand::DeleteDive));

    while (w.Plan().GetDiveCount() < kv::CPlanGroup::kMaxDives) w.AddDive();
    Settle();
    QCOMPARE(w.Tabs()->count(), 30);
    QCOMPARE(w.CurrentDive(), 29);
    QVERIFY(!Enabled(w, ECommand::AddDive));
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
    QVERIFY(Enabled(w, ECommand::CurrentDiveTable));
    QVERIFY(Enabled(w, ECommand::RecentFile1));
    QCOMPARE(ToQt(kv::Prefs().GetText(kv::EPref::DefaultDirectory)), kExamples);
    QVERIFY(!Enabled(w, ECommand::Save));

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
    QCOMPARE(t.env.prompt.shown.back().text, "Unable to open data file.\n\n" + (copy + ".ccp").toStdString() +
                                                  "\nno such file");
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
    QCOMPARE(t.env.prompt.shown.back().text, "Invalid Dive Plan file\n\n" + bad.toStdString() +
                                                  "\nline 1: the first line is \"Dive\", not \"Dive Plan\"");
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

  void detailsFollowTheSecondThePageShows() {
    CGuiTestEnvironment t;
    SWindow window("cc-trimix-70m-bailout.ccp");
    CDivePlannerDlg& w = window.w;
    w.ShowDetails();
    Settle();
    CDetailsWindow* details = w.Details();
    QVERIFY(details && details->isVisible());
    QCOMPARE(details->ShownSecond(), 0);

    // The chart's cursor, moved by keyboard, takes the details window along.
    kv::app::CGraphWidget& chart = *w.Page(0)->ChartWidget();
    chart.setFocus();
    for (int i = 0; i < 5; ++i) QTest::keyClick(&chart, Qt::Key_Right);
    const int second = chart.CursorSecond();
    QVERIFY(second > 0);
    QCOMPARE(details->ShownSecond(), second);

    const kv::CDivePlan& dive = *w.Plan().GetDive(0);
    const kv::CPredictionPoint& p = *dive.Prediction(second);
    QCOMPARE(details->ValueText(Str(1059)), ToQt(kv::Format("%2d:%02d (mm:ss)", second / 60, second % 60)));
    QCOMPARE(details->ValueText(Str(1324)), ToQt(kv::Format("%.2f (m)", p.m_depthPressure / 100.0)));
    // Chart and table show the same loads, and the table the pressures of the second.
    const kv::app::CGraphDataSet* total = details->TissueChart().FindSeries(QStringLiteral("Helium"));
    QVERIFY(total);
    QCOMPARE(total->Count(), kv::kCompartments);
    for (int c = 0; c < kv::kCompartments; ++c) {
      QCOMPARE(details->Compartments()->item(c, 1)->text(), ToQt(kv::Format("%.1f", p.m_nitrogen[static_cast<std::size_t>(c)])));
      QCOMPARE(details->Compartments()->item(c, 3)->text(), ToQt(kv::Format("%.1f", total->Points()[static_cast<std::size_t>(c)].y)));
    }

    // A second past the dive's end shows the last.
    emit w.Page(0)->secondShown(0, 999999);
    QCOMPARE(details->ShownSecond(), dive.LastPrediction()->m_time);
  }

  void noTwoControlsOfTheWindowShareAMnemonic_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 1033;
    QTest::newRow("German") << 1031;
  }

  void noTwoControlsOfTheWindowShareAMnemonic() {
    QFETCH(int, language);
    CGuiTestEnvironment t;
    kv::Prefs().SetNumber(kv::EPref::LanguageId, static_cast<unsigned>(language));
    SDivePlannerOptions options;
    options.languageFolder = QStringLiteral(KV_PROGRAM_FOLDER);
    CScriptedChooser chooser;
    CDivePlannerDlg w(options);
    w.SetFileChooser(&chooser);
    chooser.answers = {kExamples + "/cc-trimix-70m-bailout.ccp"};
    w.OpenPlan();
    Settle();
    QCOMPARE(w.Languages().Current(), static_cast<unsigned short>(language));
    w.Plan().GetDive(0)->SetBailoutUseGasList(true);
    w.resize(1280, 900);
    w.show();
    CTabDivePlan* page = w.Page(0);
    page->Refresh();
    QCOMPARE(page->SettingsTabs()->count(), 3);
    for (int sheet = 0; sheet < page->SettingsTabs()->count(); ++sheet) {
      page->SettingsTabs()->setCurrentIndex(sheet);
      Settle();
      const QMap<QChar, QStringList> keys = Mnemonics(w);
      QVERIFY(keys.size() >= 8);  // the menus and the page's own buttons are seen
      for (auto it = keys.begin(); it != keys.end(); ++it)
        QVERIFY2(it.value().size() == 1, qPrintable(QStringLiteral("sheet %1: Alt+%2 for %3")
                                                         .arg(sheet)
                                                         .arg(it.key())
                                                         .arg(it.value().join(QStringLiteral(", ")))));
    }
  }

  void bailoutFromTheChartMenuShowsTheBailoutProfile() {
    CGuiTestEnvironment t;
    SWindow window("cc-trimix-70m-bailout.ccp");
    CDivePlannerDlg& w = window.w;
    CTabDivePlan* page = w.Page(0);
    kv::CDivePlan& dive = *w.Plan().GetDive(0);
    QVERIFY(dive.IsCalculationCompleted());
    QVERIFY(!dive.IsBailoutMode());
    const int normalRunTime = dive.GetRunTime();

    kv::app::CGraphWidget& chart = *page->ChartWidget();
    chart.Graph().MoveCursorBy(1200);
    QCOMPARE(chart.CursorSecond(), 1200);
    std::unique_ptr<QMenu> menu(chart.CreateContextMenu(nullptr));
    QAction* bailout = FindAction(menu.get(), QStringLiteral("&Bailout from cursor"));
    QVERIFY(bailout && bailout->isEnabled());
    bailout->trigger();
    Settle();

    // The bailout planner ran: bailout mode, open circuit after the bailout
    // second, and the page, chart and tab show the bailout profile.
    QVERIFY(dive.IsBailoutMode());
    QVERIFY(dive.BailoutWalked());
    QCOMPARE(dive.GetBailoutSecond() >= 1200, true);
    bool openCircuitAfter = false;
    for (const kv::CPlanPoint& p : dive.ProfilePoints())
      if (p.m_start >= 1200 && p.m_depthPressure > 0 && !p.m_closedCircuit) openCircuitAfter = true;
    QVERIFY(openCircuitAfter);
    QVERIFY(dive.GetRunTime() != normalRunTime);
    QVERIFY(page->Chart().BailoutModeCaption());
    QCOMPARE(page->Chart().FindSeries(QString::fromLatin1(kv::app::kSeriesDepth))->Count(), dive.ProfilePointCount());
    QCOMPARE(page->PointsModel()->rowCount(), static_cast<int>(dive.BailoutPlanPoints().size()));
    QVERIFY(TabTexts(w)[0].startsWith(QStringLiteral("Bailout 1")));

    // No sweep from a bailout profile; "Return to Dive" brings the dive back.
    menu.reset(chart.CreateContextMenu(nullptr));
    QCOMPARE(menu->objectName(), QStringLiteral("Graph Bailout Pop 2"));
    QVERIFY(!FindAction(menu.get(), QStringLiteral("&Worst-case Bailout\u2026")));
    FindAction(menu.get(), QStringLiteral("Return to &Dive"))->trigger();
    Settle();
    QVERIFY(!dive.IsBailoutMode());
    QCOMPARE(dive.GetRunTime(), normalRunTime);
    QVERIFY(!page->Chart().BailoutModeCaption());
  }

  void worstCaseBailoutOpensTheSweepOfTheDive() {
    CGuiTestEnvironment t;
    SWindow window("cc-trimix-70m-bailout.ccp");
    CDivePlannerDlg& w = window.w;
    const kv::CDivePlan& dive = *w.Plan().GetDive(0);
    t.env.prompt.answers = {true, false};  // the number of gases each bailout needs; no extended decompression

    std::unique_ptr<QMenu> menu(w.Page(0)->ChartWidget()->CreateContextMenu(nullptr));
    QAction* sweep = FindAction(menu.get(), QStringLiteral("&Worst-case Bailout\u2026"));
    QVERIFY(sweep && sweep->isEnabled());
    sweep->trigger();
    Settle();
    QVERIFY(!dive.IsBailoutMode());  // the dive itself is left as it was
    QCOMPARE(t.env.prompt.shown.size(), std::size_t{2});
    CWorstCaseBailoutWindow* result = w.WorstCaseWindow();
    QVERIFY(result && result->isVisible());

    // The same sweep, planned again in order on this thread.
    kv::SPreviousDiveState start;
    w.Plan().PreviousState(0, start);
    kv::test::CRecordingProgress progress;
    const kv::SBailoutSweep expected =
        kv::SweepBailout(dive, start, kv::app::kWorstCaseStep, kv::SBailoutAnswers{true, true, false}, progress, 1);
    QVERIFY(expected.runTime.second >= 0);
    QCOMPARE(result->Sweep().invalid, expected.invalid);
    QVERIFY(result->Sweep().carried == expected.carried);
    QVERIFY(result->Sweep().moments == expected.moments);
    QVERIFY(result->Sweep().gases == expected.gases);
    QVERIFY(result->Sweep().runTime == expected.runTime);

    // One line and legend entry per carried gas, each in a colour of its own.
    const std::vector<std::string> carried = kv::CarriedGasNames(expected);
    QVERIFY(!carried.empty());
    std::vector<QRgb> colours;
    for (const std::string& gas : carried) {
      int series = 0;
      for (const kv::app::CGraphDataSet& s : result->GasChart().Series())
        if (s.Name() == ToQt(gas)) {
          ++series;
          colours.push_back(s.Colour().rgb());
        }
      QCOMPARE(series, 1);
    }
    std::sort(colours.begin(), colours.end());
    QVERIFY(std::adjacent_find(colours.begin(), colours.end()) == colours.end());

    // The worst case is marked in the charts and listed in the table.
    const kv::app::CGraphDataSet* marks = result->GasChart().FindSeries(QString::fromLatin1(kv::app::kSeriesWorstCase));
    QVERIFY(marks);
    QCOMPARE(marks->Count(), static_cast<int>(expected.gases.size()));
    for (std::size_t i = 0; i < expected.gases.size(); ++i)
      QCOMPARE(marks->Points()[i], (kv::app::CGraphData{double(expected.gases[i].second), expected.gases[i].litres}));
    const kv::app::CGraphDataSet* longest = result->RunTimeChart().FindSeries(QString::fromLatin1(kv::app::kSeriesWorstCase));
    QVERIFY(longest && longest->Count() == 1);
    QCOMPARE(longest->Points()[0].x, double(expected.runTime.second));
    QTableWidget* table = result->WorstTable();
    QCOMPARE(table->rowCount(), 2 + static_cast<int>(expected.gases.size()));
    QCOMPARE(table->item(0, 3)->text(),
             ToQt(kv::Format("%d:%02d", expected.runTime.second / 60, expected.runTime.second % 60)));
    QCOMPARE(table->item(2, 1)->text(), ToQt(kv::Format("%0.0f", expected.gases[0].litres)));
    QCOMPARE(table->item(2, 2)->text(), ToQt(kv::Format("%0.0f", expected.gases[0].litresWithReserve)));
    QVERIFY(result->Document().find(kv::Format("<b>%0.0f</b>", expected.gases[0].litres)) != std::string::npos);

    // Save writes the document.
    window.chooser.answers = {t.Path(QStringLiteral("worst.html"))};
    QVERIFY(result->Save());
    QVERIFY(FileText(t.Path(QStringLiteral("worst.html"))).find("Worst-case Bailout - Dive 1") != std::string::npos);

    // A file that cannot be written is said, not passed over.
    window.chooser.answers = {t.Path(QStringLiteral("no-such-folder/worst.html"))};
    const std::size_t shownBefore = t.env.prompt.shown.size();
    QVERIFY(!result->Save());
    QCOMPARE(t.env.prompt.shown.size(), shownBefore + 1);
    QVERIFY(t.env.prompt.shown.back().text.find("no-such-folder") != std::string::npos);
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
    QVERIFY(Enabled(w, ECommand::AllDiveTables));
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
      w.Action(ECommand::DeleteDive)->trigger();
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
    // The user cancels with the dialog's button or with Escape.
    for (const bool escape : {false, true}) {
      CGuiTestEnvironment t;
      CDivePlannerDlg w;
      w.AddDive();
      w.AddDive();
      Settle();
      QTimer::singleShot(10, [&] {
        auto* progress = w.findChild<QProgressDialog*>();
        QVERIFY(progress);
        auto* cancel = progress->findChild<QPushButton*>();
        QVERIFY(cancel);
        if (escape)
          QTest::keyClick(progress, Qt::Key_Escape);
        else
          cancel->click();
      });
      w.RunCalculation([&](kv::IProgress& p) {
        while (!p.IsCancelled()) QThread::msleep(2);
        QVERIFY(!w.Plan().CalculateDivePlans(true, 0, true, &p));
      });
      QVERIFY(w.Plan().IsRecalculationRequired());
      QVERIFY(Enabled(w, ECommand::Calculate));
    }
  }

  void aQuestionFromLongWorkIsAnsweredByTheKeyboardWhileTheWorkWaits() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // The program's own message boxes, as the running program shows them.
    CQtPrompt prompt;
    prompt.SetParent(&w);
    kv::SetUserPrompt(&prompt);

    // Each question is answered from the keyboard once it has the focus, and
    // only while the progress window has stepped aside.
    struct SStep {
      int key;
      Qt::KeyboardModifiers modifiers;
    };
    const QList<SStep> steps = {{Qt::Key_Y, Qt::AltModifier}, {Qt::Key_Escape, Qt::NoModifier},
                                {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_N, Qt::AltModifier}};
    int answered = 0;
    bool progressHidden = true;
    bool focused = true;
    std::function<void()> answer;
    QPointer<QMessageBox> answeredBox;
    answer = [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      // A button pressed by its Alt+letter clicks a moment later: the box
      // just answered may still be up.
      if (!box || box == answeredBox) {
        if (answered < steps.size()) QTimer::singleShot(20, answer);
        return;
      }
      answeredBox = box;
      if (answered >= steps.size()) return;
      for (QProgressDialog* p : w.findChildren<QProgressDialog*>()) progressHidden = progressHidden && !p->isVisible();
      auto inBox = [box] { return QApplication::focusWidget() && QApplication::focusWidget()->window() == box; };
      for (int waited = 0; !inBox() && waited < 2000; waited += 10) QTest::qWait(10);
      focused = focused && inBox();
      const SStep step = steps[answered++];
      QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(step.key), step.modifiers);
      QTimer::singleShot(20, answer);
    };
    QTimer::singleShot(20, answer);

    std::vector<bool> answers;
    bool progressShownBetween = false;
    const bool done = CLongWork::Run(&w, QStringLiteral("Working"), [&](kv::IProgress&) {
      // Long enough for the progress window to be due before each question.
      auto waitThenAsk = [&](bool defaultYes) {
        QThread::msleep(CLongWork::kShowAfterMs + 250);
        answers.push_back(kv::UserPrompt().AskYesNo("Plan further?", defaultYes, kv::EIcon::Question));
      };
      waitThenAsk(false);
      QThread::msleep(300);
      QMetaObject::invokeMethod(
          qApp,
          [&] {
            for (QProgressDialog* p : w.findChildren<QProgressDialog*>()) progressShownBetween |= p->isVisible();
          },
          Qt::BlockingQueuedConnection);
      waitThenAsk(false);
      waitThenAsk(true);
      waitThenAsk(true);
      return true;
    });
    kv::SetUserPrompt(&t.env.prompt);
    QVERIFY(done);
    QCOMPARE(answered, 4);
    // Alt+Y is Yes, Escape is No, Return takes the default, Alt+N is No.
    QCOMPARE(answers, (std::vector<bool>{true, false, true, false}));
    QVERIFY2(progressHidden, "the progress window steps aside while a question waits");
    QVERIFY(progressShownBetween);
    QVERIFY2(focused, "the question has the focus");
  }

  void theSaveQuestionCanBeCancelledEverywhere() {
    CGuiTestEnvironment t;
    SWindow window("oc-nitrox-two-dives.ccp");
    CDivePlannerDlg& w = window.w;
    w.show();
    w.AddDive();
    Settle();
    QVERIFY(w.Plan().IsModified());
    const int dives = w.Plan().GetDiveCount();
    auto keptAfter = [&](const std::function<void()>& command) {
      t.env.prompt.choices = {kv::EAnswer::Cancel};
      command();
      Settle();
      return w.Plan().GetDiveCount() == dives && w.Plan().IsModified() && t.env.prompt.choices.empty();
    };
    QVERIFY(keptAfter([&] { QVERIFY(!w.NewPlan()); }));
    QVERIFY(keptAfter([&] { w.OpenPlan(); }));
    QVERIFY(keptAfter([&] { w.OpenRecent(kExamples + "/oc-air-40m.ccp"); }));
    QVERIFY(keptAfter([&] { QVERIFY(!w.close()); }));
    QVERIFY(w.isVisible());
    QCOMPARE(t.env.prompt.shown.back().text,
             std::string("The Dive Plan has been modified.\n\nDo you want to save the changes?"));

    // Yes, then a cancelled save dialog: nothing is replaced or closed.
    w.Plan().SetFilePath(std::string());
    window.chooser.answers = {QString()};
    t.env.prompt.choices = {kv::EAnswer::Yes};
    QVERIFY(!w.NewPlan());
    QCOMPARE(w.Plan().GetDiveCount(), dives);
    window.chooser.answers = {QString()};
    t.env.prompt.choices = {kv::EAnswer::Yes};
    QVERIFY(!w.close());
    QVERIFY(w.Plan().IsModified());

    // No discards, and the window closes.
    t.env.prompt.choices = {kv::EAnswer::No};
    QVERIFY(w.close());
  }

  void escapeIsTakenByFieldsAndTheChartBeforeItClosesTheWindow() {
    CGuiTestEnvironment t;
    SWindow window("oc-air-40m.ccp");
    CDivePlannerDlg& w = window.w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    CTabDivePlan* page = w.Page(0);

    // In a field: the edit goes back; nothing else happens.
    kv::app::CSpinField* depth = page->DepthField();
    depth->setFocus();
    depth->selectAll();
    QTest::keyClicks(depth, "400");
    QCOMPARE(depth->text(), QStringLiteral("400"));
    QTest::keyClick(depth, Qt::Key_Escape);
    QCOMPARE(depth->text(), QStringLiteral("0"));
    QTest::keyClick(depth, Qt::Key_Escape);
    QTest::keyClick(page->GasField(), Qt::Key_Escape);
    QVERIFY(w.isVisible());

    // On the chart: the zoom goes back.
    kv::app::CGraphWidget& chart = *page->ChartWidget();
    chart.Graph().ZoomTo({60, 600}, {0, 10});
    chart.setFocus();
    QTest::keyClick(&chart, Qt::Key_Escape);
    QVERIFY(!chart.Graph().IsZoomed());
    QVERIFY(w.isVisible());
    QVERIFY(t.env.prompt.shown.empty());

    // Anywhere else it closes the window, asking first when there are changes.
    w.AddDive();
    Settle();
    page->PointList()->setFocus();
    t.env.prompt.choices = {kv::EAnswer::Cancel};
    QTest::keyClick(page->PointList(), Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QCOMPARE(t.env.prompt.shown.size(), std::size_t{1});
    t.env.prompt.choices = {kv::EAnswer::No};
    QTest::keyClick(page->PointList(), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
  }

  void afterNoForTheThirdDiveEveryDiveShowsAConsistentState() {
    CGuiTestEnvironment t;
    // Three 40 m / 25 min air dives with no surface interval: the third needs
    // more than six hours of decompression.
    kv::CPlanGroup made;
    while (made.GetDiveCount() < 3) made.AddDivePlan();
    for (int i = 0; i < 3; ++i) {
      made.GetDive(i)->AppendUserPoint(kv::test::Point(0, 0));
      made.GetDive(i)->AppendUserPoint(kv::test::Point(40, 25 * 60));
    }
    const QString path = t.Path("three.ccp");
    QVERIFY(made.SavePlanGroup(path.toStdString()));
    t.env.prompt.shown.clear();

    CScriptedChooser chooser;
    chooser.answers = {path};
    CDivePlannerDlg w;
    w.SetFileChooser(&chooser);
    w.OpenPlan();
    Settle();
    t.env.prompt.answers = {false};  // No to the 6-hour question
    w.Tabs()->setCurrentIndex(2);
    Settle();
    QCOMPARE(t.env.prompt.shown.back().text.rfind("Unable to decompress Dive 3 within 6 hours.", 0), std::size_t{0});

    // The dives before keep their results and tables; the third says why it has none.
    for (int i = 0; i < 2; ++i) {
      QVERIFY(w.Plan().GetDive(i)->SegmentCount() > 0);
      QVERIFY(w.Page(i)->Chart().FindSeries(QString::fromLatin1(kv::app::kSeriesDepth)));
      QVERIFY(w.Page(i)->Chart().NoticeCaption().isEmpty());
      w.Tabs()->setCurrentIndex(i);
      Settle();
      QVERIFY(Enabled(w, ECommand::CurrentDiveTable));
    }
    QCOMPARE(w.Plan().GetDive(2)->ProfilePointCount(), 0);
    QVERIFY(!w.Page(2)->Chart().FindSeries(QString::fromLatin1(kv::app::kSeriesDepth)));
    QVERIFY(w.Page(2)->Chart().NoticeCaption().contains(QStringLiteral("more than 6 hours")));
    QVERIFY(Enabled(w, ECommand::AllDiveTables));
    std::string shown;
    w.SetViewerHook([&shown](const std::string& doc) { shown = doc; });
    w.ViewTables(false, true);
    QVERIFY(shown.find("Dive 1 of") != std::string::npos);
  }

  void detailsOfSecondZeroShowTheFirstGasAndNoNegativeCeiling() {
    CGuiTestEnvironment t;
    SWindow window("oc-trimix-60m.ccp");
    CDivePlannerDlg& w = window.w;
    w.ShowDetails();
    Settle();
    CDetailsWindow* details = w.Details();
    QCOMPARE(details->ShownSecond(), 0);
    const kv::CDivePlan& dive = *w.Plan().GetDive(0);
    const kv::CPlanPoint& first = dive.ProfilePoints().front();
    kv::CGas gas;
    gas.SetMix(first.m_oxygen, first.m_helium);
    QCOMPARE(details->ValueText(Str(first.m_closedCircuit ? 1065 : 1306)), ToQt(gas.Format(false)));
    QCOMPARE(details->ValueText(Str(1047)), ToQt(kv::Format("%.2f", dive.Prediction(1)->m_ppo2)));
    QVERIFY(dive.Prediction(0)->m_ceiling < 0.0);
    QCOMPARE(details->ValueText(Str(1055)), QStringLiteral("0.00 (m)"));
    // The values are never cut off.
    details->show();
    Settle();
    QTableWidget* values = details->Values();
    const QFontMetrics metrics(values->font());
    for (int r = 0; r < values->rowCount(); ++r)
      QVERIFY2(metrics.horizontalAdvance(values->item(r, 1)->text()) < values->columnWidth(1),
               qPrintable(values->item(r, 1)->text()));
  }

  void whatsThisOnAControlOfTheDivePageOpensItsTopic() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    w.show();
    Settle();
    CHelp::Instance().EnterWhatsThisMode();
    QTest::mouseClick(w.Page(0)->DepthField(), Qt::LeftButton);
    QCOMPARE(CHelp::Instance().ShownTopic(), QStringLiteral("dive_page"));
    CHelp::Instance().EnterWhatsThisMode();
    QTest::mouseClick(w.Page(0)->AddButton(), Qt::LeftButton);
    QCOMPARE(CHelp::Instance().ShownTopic(), QStringLiteral("dive_page"));
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
