// View > "Lost-Gas Tables": enabled for a dive with a deco gas; opens the
// viewer on the dive's tables followed by each variant's, asks the 6-hour
// question for the variants only when one needs it, and speaks German.

#include <QAction>
#include <QTest>

#include <fstream>

#include "app/mainwindow/commands.h"
#include "app/mainwindow/dive_planner_dlg.h"
#include "app/platform/qt_text.h"
#include "base/preferences.h"
#include "base/strings.h"
#include "base/text.h"
#include "gui_test_support.h"
#include "plan/file_store.h"

using namespace kv::app;

namespace {

const QString kExamples = QStringLiteral(EXAMPLES_DIR);

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

struct SWindow {
  explicit SWindow(const QString& plan, const SDivePlannerOptions& options = {}) : w(options) {
    w.SetFileChooser(&chooser);
    w.SetViewerHook([this](const std::string& doc) {
      shown = doc;
      ++opened;
    });
    chooser.answers = {plan};
    w.OpenPlan();
    Settle();
  }
  bool Enabled() {
    w.UpdateCommands();
    return w.Action(ECommand::LostGasTables)->isEnabled();
  }
  CScriptedChooser chooser;
  CDivePlannerDlg w;
  std::string shown;
  int opened = 0;
};

}  // namespace

class LostGasWindowTest : public QObject {
  Q_OBJECT
private slots:
  void enabledOnlyForADiveWithADecoGas() {
    CGuiTestEnvironment t;
    QVERIFY(SWindow(kExamples + "/oc-trimix-60m.ccp").Enabled());
    QVERIFY(!SWindow(kExamples + "/oc-air-40m.ccp").Enabled());
    QVERIFY(!SWindow(kExamples + "/cc-trimix-70m-bailout.ccp").Enabled());
    // The command sits in the View menu.
    SWindow window(kExamples + "/oc-trimix-60m.ccp");
    QCOMPARE(window.w.Action(ECommand::LostGasTables)->text(), QStringLiteral("&Lost-Gas Tables"));
  }

  void opensTheViewerOnTheDiveAndItsVariants() {
    CGuiTestEnvironment t;
    SWindow window(kExamples + "/oc-trimix-60m.ccp");
    window.w.Action(ECommand::LostGasTables)->trigger();
    Settle();
    QCOMPARE(window.opened, 1);
    const std::string& doc = window.shown;
    // Dive table, gas table, then each variant's two: six tables, one per page.
    QCOMPARE(Count(doc, "<div class=\"breakafter\"><br></div>"), 5);
    const std::size_t nitrox = doc.find("Dive Plan<br>If 50% Nitrox is lost");
    QVERIFY(nitrox != std::string::npos);
    QVERIFY(doc.find("&nbsp;Dive Plan</h2>") < nitrox);
    QVERIFY(doc.find("Gas Usage Table") < nitrox);
    QVERIFY(nitrox < doc.find("Dive Plan<br>If Oxygen is lost"));
    QVERIFY(doc.find("Cannot be completed") == std::string::npos);
    QVERIFY(t.env.prompt.shown.empty());
  }

  void theSixHourQuestionIsAskedForTheVariantsWhenOneNeedsIt() {
    CGuiTestEnvironment t;
    // 40 minutes at 60 m on 21/35, GF 30/85, with oxygen from 6 m only: its
    // oxygen is what keeps the decompression within 6 hours.
    std::string text;
    QVERIFY(kv::CDiskFileStore().Read((kExamples + "/oc-trimix-60m.ccp").toStdString(), text));
    for (auto [what, with] : {std::pair<std::string, std::string>{"100~0~2100.00~0~50.00~0.00~0.70~0~0\r\n", ""},
                              {"100~1200~6000.00~0~18.00~45.00", "100~2400~6000.00~0~21.00~35.00"},
                              {"100~0~0.00~0~18.00~45.00", "100~0~0.00~0~21.00~35.00"},
                              {"023~80.00", "023~85.00"}}) {
      QVERIFY(text.find(what) != std::string::npos);
      text.replace(text.find(what), what.size(), with);
    }
    const QString path = t.Path(QStringLiteral("long.ccp"));
    QVERIFY(kv::CDiskFileStore().Write(path.toStdString(), text));

    SWindow window(path);
    QVERIFY(window.w.Plan().GetDive(0)->IsCalculationCompleted());
    t.env.prompt.answers = {false};
    window.w.LostGasTables();
    QCOMPARE(t.env.prompt.shown.size(), std::size_t{1});
    QCOMPARE(t.env.prompt.shown[0].text, std::string(kv::Format(kv::LoadString(kv::kMsgLostGasQuestion), 1)));
    QVERIFY(window.shown.find("Cannot be completed on the remaining gases") != std::string::npos);

    t.env.prompt.answers = {true};
    window.w.LostGasTables();
    QCOMPARE(t.env.prompt.shown.size(), std::size_t{2});
    QVERIFY(window.shown.find("Cannot be completed") == std::string::npos);
    QVERIFY(window.shown.find("If Oxygen is lost") != std::string::npos);
  }

  void germanMenuAndTables() {
    CGuiTestEnvironment t;
    kv::Prefs().SetNumber(kv::EPref::LanguageId, 1031);
    SDivePlannerOptions options;
    options.languageFolder = QStringLiteral(KV_PROGRAM_FOLDER);
    SWindow window(kExamples + "/oc-trimix-60m.ccp", options);
    QCOMPARE(window.w.Action(ECommand::LostGasTables)->text(), QStringLiteral("Tabellen bei &Gasverlust"));
    window.w.LostGasTables();
    QVERIFY(window.shown.find("Wenn 50% Nitrox verloren ist") != std::string::npos);
    QVERIFY(window.shown.find("Wenn Oxygen verloren ist") != std::string::npos);
    // The language stays with the window's test: English again for the next.
    QVERIFY(window.w.Languages().SetLanguage(1033));
  }
};

QTEST_MAIN(LostGasWindowTest)
#include "lost_gas_window_test.moc"
