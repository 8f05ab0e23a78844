// The dialogs and the viewer: preferences OK and Cancel with units, the plan
// settings in psi, the viewer's notes on a three-table document, language
// libraries and switching back to English, and context help.

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <fstream>

#include "app/dialogs/liability_rich_edit.h"
#include "app/dialogs/plan_group_settings.h"
#include "app/dialogs/preferences_dialog.h"
#include "app/dialogs/select_language.h"
#include "app/help/help.h"
#include "app/i18n/languages.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/dive_planner_dlg.h"
#include "app/pages/tab_dive_plan.h"
#include "app/platform/qt_text.h"
#include "app/viewer/viewer.h"
#include "base/preferences.h"
#include "base/strings.h"
#include "gui_test_support.h"
#include "plan/plan_group.h"
#include "report/table_builder.h"
#include "report/tables_html.h"
#include "report/report_test_util.h"

namespace {

using kv::EPref;
using namespace kv::app;

using kv::test::Occurrences;
using kv::test::ThreeTableDocument;

QDoubleSpinBox* SpinAfterLabel(QWidget* page, const QString& label) {
  for (QLabel* l : page->findChildren<QLabel*>())
    if (l->text() == label) return qobject_cast<QDoubleSpinBox*>(l->buddy());
  return nullptr;
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void viewerSavesTheDocumentWithItsNotes() {
    CGuiTestEnvironment t;
    CScriptedChooser chooser;
    CViewer viewer(ThreeTableDocument(), &chooser);
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Kestrun Varnadel - Viewer"));
    viewer.ApplyNotes(QStringLiteral("Line one\nLine two"));
    QCOMPARE(Occurrences(viewer.Document(), "Line one<br>\nLine two"), 3);
    QVERIFY(viewer.Browser()->toPlainText().contains(QStringLiteral("Line two")));
    const QString path = t.Path("tables.html");
    chooser.answers = {path};
    QVERIFY(viewer.Save());
    QCOMPARE(chooser.requests.back().title, QStringLiteral("Save HTML file as..."));
    std::ifstream in(path.toStdString(), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    QCOMPARE(written, viewer.Document());
  }

  void printingPutsEveryTableOnAPageOfItsOwn() {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("tables.pdf"));
    CViewer::PrintDocument(ThreeTableDocument(), &printer);
    QFile pdf(dir.filePath("tables.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QCOMPARE(static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ")
                              + bytes.count("/Type /Page>")), 3);
  }

  void wideTablesPrintOnePerPageWithoutBreakingNumbers() {
    // Generated tables of 22 bottom times, wider than high.
    kv::CDivePlanTablesHtml writer;
    writer.Reset();
    for (int t = 0; t < 4; ++t) {
      kv::DiveTableContent c;
      c.header = "60m~Generated~GF<br>30/85~Table " + std::to_string(t + 1) + "~~";
      std::string heading = "Depths&nbsp\\&nbspTimes";
      for (int m = 0; m < 22; ++m) heading += "~" + std::to_string(10 + 5 * m);
      c.rows.push_back(heading);
      for (int r = 0; r < 8; ++r) {
        std::string row = r % 2 ? "Oxygen" : "1451";
        for (int m = 0; m < 22; ++m) row += "~" + std::to_string(100 + r * 7 + m);
        c.rows.push_back(row);
      }
      c.rowAlerts.assign(c.rows.size(), false);
      c.footer = "<b>Created today</b>";
      writer.AddTable(c);
    }
    writer.Finish();
    const std::string doc = writer.GetDocument();
    QCOMPARE(CViewer::TablePages(doc).size(), 4);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("wide.pdf"));
    printer.setPageOrientation(QPageLayout::Portrait);
    QVERIFY(CViewer::TurnToFit(doc, &printer));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    // Every number and word of the table keeps its line.
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    const auto laidOut = CViewer::LayOutTablePage(CViewer::TablePages(doc)[1], &printer, page.width());
    int cells = 0;
    for (QTextBlock b = laidOut->begin(); b != laidOut->end(); b = b.next()) {
      const QString text = b.text().trimmed();
      // Texts of several words or lines ("GF<br>30/85") may wrap between them.
      if (text.isEmpty() || text.contains(QLatin1Char(' ')) || text.contains(QChar::LineSeparator)) continue;
      ++cells;
      QVERIFY2(b.layout()->lineCount() == 1, qPrintable(text));
    }
    QVERIFY(cells > 22 * 8);
    CViewer::PrintDocument(doc, &printer);
    QFile pdf(dir.filePath("wide.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QCOMPARE(static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") + bytes.count("/Type /Page>")),
             4);

    // Narrow tables stay upright, the dive tables of a real plan too.
    QPrinter upright(QPrinter::HighResolution);
    upright.setPageOrientation(QPageLayout::Portrait);
    QVERIFY(!CViewer::TurnToFit(ThreeTableDocument(), &upright));
    CGuiTestEnvironment t;
    kv::CPlanGroup plan;
    QVERIFY(plan.LoadPlanGroup(std::string(EXAMPLES_DIR) + "/oc-trimix-60m.ccp"));
    plan.CalculateDivePlans(true, 0, true);
    kv::CDivePlanTablesHtml tables;
    kv::InitialiseDiveTablesWriter(tables);
    QVERIFY(kv::BuildDiveTables({plan.GetDive(0)}, 0, kv::SReportOptions{}, tables));
    QVERIFY(!CViewer::TurnToFit(tables.GetDocument(), &upright));
  }

  void gasTablesShowTheirFooterUnderTheRows() {
    kv::CGasConsumptionTablesHtml writer;
    writer.Reset();
    kv::DiveTableContent c;
    c.header = "30m~Gas Usage Table~GF<br>30/85~Dive 1 of 1~CNS Final 5.0%~OTU Final 3.0%";
    c.rows = {"Gas Mix~Volume~Cylinder", "32% Nitrox~3600~15.5"};
    c.footer = "<b>Created today</b>";
    writer.AddTable(c);
    writer.Finish();
    const std::string doc = writer.GetDocument();
    QVERIFY(doc.find("<TFOOT") < doc.find("<TBODY>"));
    const QString shown = CViewer::DisplayHtml(doc);
    QVERIFY(shown.indexOf("</TBODY>") < shown.indexOf("<TFOOT"));
    QVERIFY(shown.contains("32% Nitrox"));
    QVERIFY(shown.contains("Created today"));
  }

  void entitiesWithoutTheirSemicolonShowAsSpaces() {
    const std::string doc = "<table><tr><td>Depths&nbsp\\&nbspTimes</td><td>&nbsp</td><td>a&nbsp;b</td></tr></table>";
    QTextDocument shown;
    shown.setHtml(CViewer::DisplayHtml(doc));
    const QString text = shown.toPlainText().replace(QChar(0xa0), QLatin1Char(' '));
    QVERIFY2(!text.contains("nbsp"), qPrintable(text));
    QVERIFY2(text.contains("Depths \\ Times"), qPrintable(text));
    QVERIFY2(text.contains("a b"), qPrintable(text));
  }

  void preferencesCancelWritesNothingAndOkWritesBack() {
    CGuiTestEnvironment t;
    kv::Prefs().LoadSettings();
    const int writesBefore = t.env.store->writes;
    {
      CPreferencesDialog dialog;
      SpinAfterLabel(dialog.Pages()->widget(2), "Gradient Factor Low (%)")->setValue(35);
      dialog.reject();
    }
    QCOMPARE(t.env.store->writes, writesBefore);
    QCOMPARE(kv::Prefs().GetNumber(EPref::DiveGfLow), 20u);

    CPreferencesDialog dialog;
    SpinAfterLabel(dialog.Pages()->widget(2), "Gradient Factor Low (%)")->setValue(35);
    SpinAfterLabel(dialog.Pages()->widget(2), "SAC Rate (l/min)")->setValue(25.5);
    dialog.accept();
    QCOMPARE(kv::Prefs().GetNumber(EPref::DiveGfLow), 35u);
    QCOMPARE(kv::Prefs().GetNumber(EPref::DiveSacRate), 25500u);
    // Untouched values keep exactly what was stored.
    QCOMPARE(kv::Prefs().GetNumber(EPref::DiveMaxEad), 35000u);
    QCOMPARE(kv::Prefs().GetNumber(EPref::DefaultCylinderWorkingPressure), 240000u);
  }

  void imperialUnitsShowFeetAndKeepUntouchedValues() {
    CGuiTestEnvironment t;
    kv::Prefs().LoadSettings();
    kv::Prefs().SetNumber(EPref::Units, 1);
    CPreferencesDialog dialog;
    QWidget* dive = dialog.Pages()->widget(2);
    QDoubleSpinBox* ead = SpinAfterLabel(dive, "Max EAD (ft)");
    QVERIFY(ead);
    QCOMPARE(ead->minimum(), 65.0);
    QCOMPARE(ead->maximum(), 230.0);
    QCOMPARE(ead->value(), 114.0);  // 35 m x 3.2568
    QDoubleSpinBox* stop = SpinAfterLabel(dive, "Last Deco Stop (ft)");
    QVERIFY(stop);
    // Back to metric in the dialog: labels and ranges follow.
    dialog.findChild<QRadioButton*>()->setChecked(true);
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>())
      if (r->text() == "&Metric (m)") r->setChecked(true);
    QVERIFY(SpinAfterLabel(dive, "Max EAD (m)"));
    QCOMPARE(SpinAfterLabel(dive, "Max EAD (m)")->value(), 35.0);
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>())
      if (r->text() == "&Imperial (ft)") r->setChecked(true);
    ead = SpinAfterLabel(dive, "Max EAD (ft)");
    ead->setValue(150);
    dialog.accept();
    QCOMPARE(kv::Prefs().GetNumber(EPref::DiveMaxEad), 46058u);  // 150 ft x 0.30705 m
    QCOMPARE(kv::Prefs().GetNumber(EPref::DiveLastDecoStop), 6000u);
    QCOMPARE(kv::Prefs().GetNumber(EPref::BailoutMaxEad), 40000u);
  }

  void preferencesOkSwitchesTheWindowAndRecalculates() {
    CGuiTestEnvironment t;
    CDivePlannerDlg w;
    w.AddDive();
    QCoreApplication::processEvents();
    AnswerNextDialog<CPreferencesDialog>([](CPreferencesDialog* d) {
      for (QRadioButton* r : d->findChildren<QRadioButton*>())
        if (r->text() == "&Imperial (ft)") r->setChecked(true);
      for (QCheckBox* c : d->findChildren<QCheckBox*>())
        if (c->text() == "Auto &Recalc") c->setChecked(false);
      d->accept();
    });
    w.Preferences();
    QCOMPARE(kv::Prefs().GetNumber(EPref::Units), 1u);
    QVERIFY(!w.Plan().IsAutoRecalc());
    // Existing dives keep their settings.
    QCOMPARE(w.Plan().GetDive(0)->GetGfLow(), 20.0);
  }

  void planSettingsInPsi() {
    CPlanGroupSettings::SValues v;
    v.surfaceIntervalAlgorithm = 1;
    v.workingPressure = 232.0;
    v.gasReserve = 33.0;
    CPlanGroupSettings dialog(v, true);
    QCOMPARE(dialog.WorkingPressure().Label()->text(), QStringLiteral("Cylinder Working Pressure (psi)"));
    QCOMPARE(dialog.WorkingPressure().Spin()->value(), 3365.0);
    QCOMPARE(dialog.WorkingPressure().Spin()->minimum(), 2200.0);
    QVERIFY(dialog.Buhlmann()->isChecked());
    QCOMPARE(dialog.Values().workingPressure, 232.0);
    dialog.WorkingPressure().Spin()->setValue(3000);
    QCOMPARE(dialog.Values().workingPressure, 3000 * 0.06894757);
    QCOMPARE(dialog.Values().algorithm, 1);
  }

  void languageLibrariesAreFoundLoadedAndLeft() {
    CGuiTestEnvironment t;
    QTemporaryDir folder;
    const QString german = QStringLiteral(KV_PROGRAM_FOLDER "/KestrunVarnadelDEU.so");
    QVERIFY(QFile::copy(german, folder.filePath("KestrunVarnadelDEU.so")));
    std::ofstream(folder.filePath("broken.so").toStdString()) << "not a library";
    QVERIFY(QFile::copy(QStringLiteral(KV_PROGRAM_FOLDER "/KestrunVarnadelDEU.so"), folder.filePath("copy.txt")));

    CLanguages languages(folder.path());
    const QList<SLanguage> found = languages.ListLanguages();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].id, static_cast<unsigned short>(1031));
    QCOMPARE(found[0].name, QStringLiteral("Deutsch"));
    QCOMPARE(languages.SelectableLanguages().front().name, QStringLiteral("English"));
    QVERIFY(!languages.SetLanguage(1036));  // no French library: English stays
    QCOMPARE(languages.Current(), static_cast<unsigned short>(1033));

    QVERIFY(languages.SetLanguage(1031));
    QCOMPARE(kv::Prefs().GetNumber(EPref::LanguageId), 1031u);
    QCOMPARE(Tr("&File"), QStringLiteral("&Datei"));
    QCOMPARE(Str(1228), QStringLiteral("Die Datendatei kann nicht geöffnet werden."));
    QVERIFY(languages.SetLanguage(1033));
    QCOMPARE(Tr("&File"), QStringLiteral("&File"));
    QCOMPARE(Str(1228), QStringLiteral("Unable to open data file."));
    QCOMPARE(kv::Prefs().GetNumber(EPref::LanguageId), 1033u);
  }

  void theWindowSwitchesLanguageAndBack() {
    CGuiTestEnvironment t;
    kv::Prefs().SetNumber(EPref::LanguageId, 1031);
    SDivePlannerOptions options;
    options.languageFolder = QStringLiteral(KV_PROGRAM_FOLDER);
    CDivePlannerDlg w(options);
    // Started in German from the stored choice.
    QCOMPARE(w.menuBar()->actions().front()->text(), QStringLiteral("&Datei"));
    QCOMPARE(w.Tabs()->tabText(0), QStringLiteral("Tauchgang 1"));
    AnswerNextDialog<CSelectLanguage>([](CSelectLanguage* d) {
      QCOMPARE(d->List()->currentItem()->text(), QStringLiteral("Deutsch"));
      d->List()->setCurrentRow(0);
      d->accept();
    });
    w.SelectLanguage();
    QCOMPARE(w.menuBar()->actions().front()->text(), QStringLiteral("&File"));
    QCOMPARE(w.Tabs()->tabText(0), QStringLiteral("Dive 1"));
    QCOMPARE(w.Action(ECommand::AddDive)->text(), QStringLiteral("&Add Dive"));
    QCOMPARE(kv::Prefs().GetNumber(EPref::LanguageId), 1033u);
  }

  void contextHelpOpensTheTopicOfTheClickedControl() {
    CGuiTestEnvironment t;
    CPreferencesDialog dialog;
    dialog.show();
    QCheckBox* box = dialog.findChild<QCheckBox*>();
    const bool before = box->isChecked();
    CHelp::Instance().EnterWhatsThisMode();
    QVERIFY(CHelp::Instance().InWhatsThisMode());
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!CHelp::Instance().InWhatsThisMode());
    QCOMPARE(CHelp::Instance().ShownTopic(), QStringLiteral("preferences"));
    // The click did not reach the box.
    QCOMPARE(box->isChecked(), before);
  }

  void theWarningNamesTheRisks() {
    const QString html = CLiabilityRichEdit::WarningHtml();
    QVERIFY(html.contains("WARNING!"));
    QVERIFY(html.contains("DISCLAIMER"));
    QVERIFY(html.contains("paralysis or death"));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
