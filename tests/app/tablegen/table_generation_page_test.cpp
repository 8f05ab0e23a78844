// The "Table Generation" page over its model: the validation look, a run
// that opens the viewer on the tables the model makes, the import from a
// dive of the plan, and the settings files through the page's commands.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QMap>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "app/dialogs/import_settings.h"
#include "app/i18n/languages.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/dive_planner_dlg.h"
#include "app/models/gas_schedule_model.h"
#include "app/models/table_messages_model.h"
#include "app/pages/table_generation_dlg.h"
#include "app/widgets/spin_field.h"
#include "frontend/table_generation_preferences.h"
#include "gui_test_support.h"
#include "page_test_util.h"
#include "plan/plan_group.h"
#include "plan/plan_test_util.h"

namespace kv::test {
namespace {

using app::CGasScheduleModel;
using app::CTableGenerationDlg;
using app::ETableInput;
using app::ECommand;
using app::CDivePlannerDlg;
using app::CImportSettings;
using app::CLanguages;
using app::FolderOf;

// As the user leaves a field after typing a value.
void Enter(CTableGenerationDlg& page, ETableInput input, double value) {
  app::CSpinField* field = page.Field(input);
  field->setValue(value);
  emit field->editingFinished();
}

std::vector<std::pair<std::string, int>> Messages(const CTableGenerationDlg& page) {
  std::vector<std::pair<std::string, int>> list;
  const QAbstractItemModel& m = *page.MessageList()->model();
  for (int i = 0; i < m.rowCount(); ++i)
    list.emplace_back(m.index(i, 0).data().toString().toStdString(), m.index(i, 0).data(Qt::UserRole).toInt());
  return list;
}

QStringList Rows(const QAbstractItemView* list) {
  const QAbstractItemModel& m = *list->model();
  QStringList rows;
  for (int i = 0; i < m.rowCount(); ++i)
    rows << m.index(i, 0).data().toString() + " " + m.index(i, 1).data().toString() + " " +
                m.index(i, 2).data().toString();
  return rows;
}

class TableGenerationPageTest : public ::testing::Test {
protected:
  TableGenerationPageTest() { GuiApp(); }
  CGuiTestEnvironment gui;
  CScriptedChooser chooser;
};

TEST_F(TableGenerationPageTest, ValidationLookFollowsTheFindings) {
  CTableGenerationDlg page(nullptr, &chooser);
  // The preferences' first set: 10 to 20 m, air at a 0.70 setpoint down and up.
  EXPECT_EQ(page.Field(ETableInput::DepthStart)->value(), 10);
  EXPECT_EQ(page.FieldLabel(ETableInput::DescentRate)->text(), "Descent Rate (m/min)");
  EXPECT_TRUE(page.GenerateButton()->isEnabled());
  EXPECT_EQ(page.GenerateButton()->property("checkState").toInt(), kCheckFine);
  EXPECT_EQ(Rows(page.DescentList()), QStringList{"0 Air 0.70"});

  // Air breathed to 40 m is over a 30 m Max EAD: a warning, the run still allowed.
  Enter(page, ETableInput::DepthFinish, 40);
  Enter(page, ETableInput::MaxEad, 30);
  EXPECT_EQ(page.Model().Inputs().depthFinish, 40);
  EXPECT_TRUE(page.GenerateButton()->isEnabled());
  EXPECT_EQ(page.GenerateButton()->property("checkState").toInt(), kCheckWarning);
  const auto warned = Messages(page);
  ASSERT_FALSE(warned.empty());
  EXPECT_EQ(warned.front().second, kCheckWarning);
  EXPECT_NE(warned.front().first.find("Max EAD limit (Warning)"), std::string::npos) << warned.front().first;
  EXPECT_EQ(page.DescentList()->model()->index(0, 0).data(Qt::UserRole).toInt() & kCheckWarning, kCheckWarning);

  // A start deeper than the finish forbids the run.
  Enter(page, ETableInput::DepthStart, 50);
  EXPECT_FALSE(page.GenerateButton()->isEnabled());
  EXPECT_EQ(page.GenerateButton()->property("checkState").toInt(), kCheckError);
  const auto errors = Messages(page);
  EXPECT_NE(std::find(errors.begin(), errors.end(),
                      std::make_pair(std::string("The start depth 50 m is deeper than the finish depth 40 m"),
                                     int(kCheckError))),
            errors.end());
  EXPECT_FALSE(page.Generate()) << "no run while a state is an error";
}

CGasSwitch Switch(double depth, double oxygen) {
  CGasSwitch s;
  s.Set(depth, oxygen, 0, false, 0, true);
  return s;
}

// The schedules' models under the tester through the edits the page makes:
// rows, the highlighted row kept over a refresh, Delete on the selected rows,
// the states of a validation and the units of the depth column.
TEST_F(TableGenerationPageTest, ScheduleModelsFollowTheEditsAndTheChecks) {
  using Mode = QAbstractItemModelTester::FailureReportingMode;
  CTableGenerationDlg page(nullptr, &chooser);
  QAbstractItemModelTester descentTester(page.ScheduleModel(true), Mode::Fatal);
  QAbstractItemModelTester ascentTester(page.ScheduleModel(false), Mode::Fatal);
  QTreeView* ascent = page.AscentList();
  const QStringList before = Rows(ascent);
  page.Model().AddAscentSwitch(Switch(21, 50));
  page.Model().AddAscentSwitch(Switch(6, 100));
  page.RefreshFromModel();
  const QStringList added = Rows(ascent);
  ASSERT_EQ(added.size(), before.size() + 2);
  EXPECT_TRUE(added.contains("6 Oxygen OC")) << added.join('|').toStdString();
  EXPECT_TRUE(added.contains("21 50% Nitrox OC")) << added.join('|').toStdString();
  EXPECT_EQ(ascent->model()->headerData(0, Qt::Horizontal).toString(), "Depth (m)");

  const int row21 = static_cast<int>(added.indexOf("21 50% Nitrox OC"));
  ascent->setCurrentIndex(ascent->model()->index(row21, 1));
  page.RefreshFromModel();
  EXPECT_EQ(ascent->currentIndex().row(), row21) << "the highlighted row survives a refresh";

  // Both new rows selected, then Delete as the user presses it.
  ascent->clearSelection();
  for (const QString& text : {QStringLiteral("6 Oxygen OC"), QStringLiteral("21 50% Nitrox OC")})
    ascent->selectionModel()->select(ascent->model()->index(static_cast<int>(added.indexOf(text)), 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keyClick(ascent, Qt::Key_Delete);
  EXPECT_EQ(Rows(ascent), before);

  // A warning of the validation reaches the descent row as icon and state.
  CGasScheduleModel& descent = *page.ScheduleModel(true);
  QSignalSpy changed(&descent, &QAbstractItemModel::dataChanged);
  Enter(page, ETableInput::DepthFinish, 40);
  Enter(page, ETableInput::MaxEad, 30);
  ASSERT_FALSE(changed.isEmpty());
  EXPECT_EQ(descent.State(0) & kCheckWarning, kCheckWarning);
  EXPECT_FALSE(descent.index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_FALSE(descent.index(0, 1).data(Qt::DecorationRole).isValid()) << "the icon is on the depth only";

  // In feet (3.2568 to the metre): 21 m is 68 ft.
  page.Model().AddAscentSwitch(Switch(21, 50));
  page.Model().SetUnits(SDisplayUnits{true});
  page.RefreshFromModel();
  EXPECT_EQ(ascent->model()->headerData(0, Qt::Horizontal).toString(), "Depth (ft)");
  EXPECT_TRUE(Rows(ascent).contains("68 50% Nitrox OC")) << Rows(ascent).join('|').toStdString();
}

TEST_F(TableGenerationPageTest, ImperialPageShowsFeetAndKeepsUntouchedValues) {
  Prefs().SetNumber(EPref::Units, 1);
  Prefs().SetNumber(EPref::TableDepthStart, 45000);  // 45 m: 146.556 ft, shown as 147
  {
    CTableGenerationDlg page(nullptr, &chooser);
    EXPECT_EQ(page.FieldLabel(ETableInput::DescentRate)->text(), "Descent Rate (ft/min)");
    EXPECT_EQ(page.FieldLabel(ETableInput::MaxEad)->text(), "Max EAD (ft)");
    EXPECT_EQ(page.Field(ETableInput::DepthStart)->value(), 147);
    EXPECT_EQ(page.Field(ETableInput::DepthStart)->maximum(), 1000);
    emit page.Field(ETableInput::DepthStart)->editingFinished();  // left without a change
    Enter(page, ETableInput::GfLow, 35);
    page.accept();
  }
  EXPECT_EQ(Prefs().GetNumber(EPref::TableDepthStart), 45000u) << "not moved to 147 ft by the display";
  EXPECT_EQ(Prefs().GetNumber(EPref::TableGfLow), 35u) << "the page writes its inputs back when it closes";
}

TEST_F(TableGenerationPageTest, RunOpensTheViewerOnTheModelsTables) {
  std::vector<std::string> shown;
  {
    CTableGenerationDlg page(nullptr, &chooser);
    page.SetDocumentViewer([&shown](const std::string& document) { shown.push_back(document); });
    Enter(page, ETableInput::DepthFinish, 30);
    ASSERT_TRUE(page.Generate());
    const auto messages = Messages(page);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().first, "Started");
    EXPECT_EQ(messages.back().first, "Completed");
    EXPECT_EQ(page.Model().PlanCount(), 9);
  }
  ASSERT_EQ(shown.size(), 1u);
  // The same inputs, from the preferences the page wrote, run without the page.
  CTableGeneration model;
  LoadTableGenerationPreferences(model, TakePreferenceSnapshot());
  EXPECT_EQ(model.Inputs().depthFinish, 30);
  model.SetThreadCount(1);
  ASSERT_TRUE(model.Generate());
  EXPECT_EQ(shown.front(), model.Document());
  EXPECT_EQ(model.TableCount(), 3);
}

TEST_F(TableGenerationPageTest, RunWithNoCompletedDiveShowsNoEmptyViewer) {
  CTableGenerationDlg page(nullptr, &chooser);
  int viewed = 0;
  page.SetDocumentViewer([&viewed](const std::string&) { ++viewed; });
  // Three hours at 100 m on air at a 0.70 setpoint stops at the 6-hour
  // question, answered no: every dive fails.
  Enter(page, ETableInput::DepthStart, 100);
  Enter(page, ETableInput::DepthFinish, 100);
  Enter(page, ETableInput::DurationStart, 180);
  Enter(page, ETableInput::DurationFinish, 180);
  Enter(page, ETableInput::MaxPpo2, 1.8);
  Enter(page, ETableInput::MaxEad, 70);
  gui.env.prompt.answers = {false};
  EXPECT_FALSE(page.Generate());
  EXPECT_EQ(viewed, 0);
  ASSERT_EQ(gui.env.prompt.shown.size(), 2u);
  EXPECT_TRUE(gui.env.prompt.shown.front().question) << "the 6-hour question, asked while the run waits";
  const auto messages = Messages(page);
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      std::make_pair(std::string("Warning - Dive Plan for 100 m - duration 180 Mins, Unable to complete"),
                                     int(kCheckWarning))),
            messages.end());
  EXPECT_NE(gui.env.prompt.shown.back().text.find("no tables to show"), std::string::npos);
}

TEST_F(TableGenerationPageTest, ImportTakesTheChosenDivesSettingsAndGases) {
  CPlanGroup plan;
  plan.AddDivePlan();
  CDivePlan& dive = *plan.GetDive(1);
  dive.SetName("Wall");
  for (const CPlanPoint& p : {Point(50, 1200, 15, 50, true, 1.3), Point(21, 0, 50, 0, false), Point(6, 0, 100, 0, false)})
    dive.AppendUserPoint(p);
  dive.SetGfLow(35);
  dive.SetGfHigh(70);
  dive.SetDescentRate(15);

  CTableGenerationDlg page(&plan, &chooser);
  ASSERT_TRUE(page.ImportButton()->isEnabled());
  AnswerNextDialog<CImportSettings>([](CImportSettings* d) {
    EXPECT_EQ(d->List()->topLevelItemCount(), 2);
    EXPECT_EQ(d->List()->topLevelItem(1)->text(0), "Dive 2 - Wall");
    EXPECT_TRUE(d->SettingsBox()->isChecked());
    EXPECT_TRUE(d->GasSwitchesBox()->isChecked());
    d->List()->setCurrentItem(d->List()->topLevelItem(1));
    d->accept();
  });
  page.ImportSettings();
  EXPECT_EQ(page.Field(ETableInput::GfLow)->value(), 35);
  EXPECT_EQ(page.Field(ETableInput::GfHigh)->value(), 70);
  EXPECT_EQ(page.Field(ETableInput::DescentRate)->value(), 15);
  EXPECT_EQ(Rows(page.DescentList()), QStringList{"0 15/50 1.30"});
  EXPECT_EQ(Rows(page.AscentList()), (QStringList{"6 Oxygen OC", "21 50% Nitrox OC"}));
}

TEST_F(TableGenerationPageTest, SettingsFileRoundTripThroughThePage) {
  const QString example = QStringLiteral(EXAMPLES_DIR "/cc-trimix-45-60m.cct");
  const QString saved = gui.Path("saved.cct");
  CTableGenerationDlg page(nullptr, &chooser);
  // The messages' model is checked through resets and the page's own added line.
  QAbstractItemModelTester messagesTester(page.MessagesModel(),
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
  chooser.answers = {example, gui.Path("saved"), saved};
  page.OpenSettings();
  EXPECT_EQ(chooser.requests.front().title, "Select Table Generation Settings file to open");
  EXPECT_EQ(page.Field(ETableInput::DepthStart)->value(), 45);
  EXPECT_EQ(Rows(page.DescentList()), (QStringList{"0 Air 0.70", "20 15/50 1.30"}));
  EXPECT_TRUE(page.GenerateButton()->isEnabled());

  page.SaveSettings();  // typed without its extension
  EXPECT_EQ(ReadFile(saved.toStdString()), ReadFile(example.toStdString())) << "written as it was read";
  EXPECT_EQ(Prefs().GetText(EPref::DefaultSettingsDirectory), FolderOf(saved).toStdString());

  Enter(page, ETableInput::GfHigh, 90);
  page.DeleteSelectedSwitches(false);  // nothing selected: nothing happens
  EXPECT_EQ(page.AscentList()->model()->rowCount(), 2);
  page.OpenSettings();
  EXPECT_EQ(page.Field(ETableInput::GfHigh)->value(), 75);

  // A broken file: the required message, and the list names the file and the line.
  const QString broken = gui.Path("broken.cct");
  {
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Table Generation Settings\n011~900\n");
  }
  chooser.answers = {broken};
  gui.env.prompt.shown.clear();
  page.OpenSettings();
  ASSERT_EQ(gui.env.prompt.shown.size(), 1u);
  EXPECT_EQ(gui.env.prompt.shown[0].text, "Invalid Table Generation Settings file\n\n" + broken.toStdString() +
                                              "\nline 2: key 011 (gradient factor low): 900 is outside 0 to 100 %");
  const auto messages = Messages(page);
  EXPECT_EQ(messages.back().second, kCheckError);
  const QModelIndex last = page.MessagesModel()->index(static_cast<int>(messages.size()) - 1);
  EXPECT_FALSE(last.data(Qt::DecorationRole).value<QIcon>().isNull()) << "the error icon";
  EXPECT_NE(messages.back().first.find("broken.cct was not read: line 2"), std::string::npos) << messages.back().first;
  EXPECT_EQ(page.Field(ETableInput::GfLow)->value(), 30) << "unchanged";
}

TEST_F(TableGenerationPageTest, CreateDiveTablesOpensThePageOnThePlan) {
  CDivePlannerDlg window;
  window.SetFileChooser(&chooser);
  std::string shown;
  window.SetViewerHook([&shown](const std::string& document) { shown = document; });
  chooser.answers = {QStringLiteral(EXAMPLES_DIR "/cc-trimix-70m-bailout.ccp")};
  window.OpenPlan();
  QApplication::processEvents();
  ASSERT_TRUE(window.Action(ECommand::CreateDiveTables)->isEnabled());
  bool ran = false;
  AnswerNextDialog<CTableGenerationDlg>([&ran](CTableGenerationDlg* page) {
    EXPECT_TRUE(page->ImportButton()->isEnabled());
    ran = page->Generate();
    page->reject();
  });
  window.Action(ECommand::CreateDiveTables)->trigger();
  EXPECT_TRUE(ran);
  EXPECT_NE(shown.find("Dive Table"), std::string::npos) << "through the window's viewer";
}

TEST_F(TableGenerationPageTest, SpeaksGermanWithoutTwoButtonsOnOneKey) {
  CLanguages languages(QStringLiteral(KV_PROGRAM_FOLDER));
  ASSERT_TRUE(languages.SetLanguage(1031));
  EXPECT_TRUE(languages.RefusedTexts().isEmpty()) << "every German text takes the program's arguments";
  CTableGenerationDlg page(nullptr, &chooser);
  page.show();
  QStringList texts;
  QMap<QChar, QStringList> keys;
  auto add = [&](const QString& text) {
    texts << text;
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < text.size()) keys[text[at + 1].toLower()] << text;
  };
  add(page.windowTitle());
  for (QAbstractButton* b : page.findChildren<QAbstractButton*>()) add(b->text());
  for (QGroupBox* g : page.findChildren<QGroupBox*>()) add(g->title());
  for (QLabel* l : page.findChildren<QLabel*>()) add(l->text());
  for (const char* german : {"Tabellenerstellung", "Anfang / Ende", "Schrittweite", "Abstiegsgas", "Aufstiegsgas",
                                "Meldungen", "Tabellen &erstellen", "Einstellungen s&peichern", "&Schließen"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(german))) << german;
  for (const char* english : {"Table Generation", "Start / Finish", "Step Size", "Descent Gas", "Ascent Gas",
                              "Messages", "&Generate Tables", "&Save Settings", "&Close"})
    EXPECT_FALSE(texts.contains(QString::fromLatin1(english))) << english;
  for (auto it = keys.begin(); it != keys.end(); ++it)
    EXPECT_EQ(it.value().size(), 1) << "Alt+" << QString(it.key()).toStdString() << ": "
                                    << it.value().join(", ").toStdString();
  EXPECT_TRUE(languages.SetLanguage(1033));
}

}  // namespace
}  // namespace kv::test
