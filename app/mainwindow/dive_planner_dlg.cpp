#include "app/mainwindow/dive_planner_dlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QKeyEvent>
#include <QStatusBar>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include "app/dialogs/splash_wnd.h"
#include "app/help/help.h"
#include "app/mainwindow/commands.h"
#include "app/dialogs/details_window.h"
#include "app/pages/tab_dive_plan.h"
#include "app/platform/app_icon.h"
#include "app/platform/file_chooser.h"
#include "app/platform/long_work.h"
#include "app/platform/qt_plan_sink.h"
#include "app/platform/qt_text.h"
#include "base/prompt.h"
#include "base/preferences.h"
#include "base/status_log.h"
#include "frontend/preference_snapshots.h"
#include "plan/lost_gas.h"
#include "report/table_builder.h"

namespace kv::app {


namespace {
const char* kPlacement = "KestrunVarnadel";
}

CDivePlannerDlg::CDivePlannerDlg(const SDivePlannerOptions& options, QWidget* parent)
    : QMainWindow(parent),
      m_plan(std::make_unique<kv::CPlanGroup>()),
      m_ownChooser(std::make_unique<CQtFileChooser>()),
      m_chooser(m_ownChooser.get()),
      m_languages(options.languageFolder),
      m_logPath(options.logPath) {
  CHelp::InitResources();
  m_sink = std::make_unique<CQtPlanSink>(*m_plan, [this](const kv::SPlanNotification& n) { OnNotification(n); });
  if (options.splash) CSplashWnd::ShowSplash();
  setWindowIcon(AppIcon());
  resize(1000, 720);
  RestoreWindowPlacement(kPlacement, *this);
  // Never taller or wider than the screen it opens on, frame and panels
  // included (a 1366 x 768 laptop).
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize room = screen->availableGeometry().size() - QSize(16, 48);
    if (room.isValid()) resize(size().boundedTo(room));
  }
  CHelp::SetTopic(this, QStringLiteral("main_window"));

  kv::CPreferences& prefs = kv::Prefs();
  prefs.LoadSettings();
  kv::StatusLog().LogMessage("Debug Message Level %d", static_cast<int>(prefs.GetNumber(kv::EPref::DebugLevel)));
  prefs.LogSettings();
  m_preferences = kv::TakePreferenceSnapshot();
  kv::ApplyPreferences(*m_plan, m_preferences);
  m_plan->SetAutoRecalc(prefs.GetNumber(kv::EPref::AutoRecalc) == 1);
  m_languages.SetLanguage(static_cast<unsigned short>(prefs.GetNumber(kv::EPref::LanguageId)));

  m_tabs = new QTabWidget(this);
  m_tabs->setDocumentMode(true);
  m_tabs->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_tabs, &QTabWidget::currentChanged, this, &CDivePlannerDlg::OnTabChanged);
  connect(m_tabs->tabBar(), &QWidget::customContextMenuRequested, this, &CDivePlannerDlg::OnTabContextMenu);
  setCentralWidget(m_tabs);
  SetDiveTabCount(1);

  kv::InitialiseDiveTablesWriter(m_diveTables);
  m_recent.Load();
  CreateActions();
  CreateMenus();
  RetranslateUi();

  if (!options.fileToOpen.isEmpty()) {
    kv::StatusLog().LogMessage("Auto open file %s", FromQt(options.fileToOpen).c_str());
    OpenPlanFile(options.fileToOpen);
  }
  for (int i = 0; i < m_tabs->count(); ++i) Page(i)->Refresh();
  UpdateTexts();
  UpdateCommands();
}

CDivePlannerDlg::~CDivePlannerDlg() {
  // Pages and the details window read the plan: they go first.
  if (m_details) delete m_details;
  while (m_tabs && m_tabs->count() > 0) {
    QWidget* w = m_tabs->widget(0);
    m_tabs->removeTab(0);
    delete w;
  }
  m_sink.reset();
}

void CDivePlannerDlg::SetFileChooser(IFileChooser* chooser) { m_chooser = chooser ? chooser : m_ownChooser.get(); }

QAction* CDivePlannerDlg::Action(ECommand command) const {
  auto it = m_actions.find(command);
  return it == m_actions.end() ? nullptr : it->second;
}

CTabDivePlan* CDivePlannerDlg::Page(int index) const {
  return qobject_cast<CTabDivePlan*>(m_tabs ? m_tabs->widget(index) : nullptr);
}

int CDivePlannerDlg::CurrentDive() const { return m_tabs ? m_tabs->currentIndex() : -1; }

bool CDivePlannerDlg::Busy() const { return CLongWork::IsBusy(); }

// ---- Actions and menus ---------------------------------------------------------

void CDivePlannerDlg::CreateActions() {
  auto add = [this](ECommand command, auto slot) {
    auto* a = new QAction(this);
    const SCommandInfo* info = CommandInfo(command);
    a->setObjectName(QString::fromLatin1(info->name));
    if (info->key)
      a->setShortcut(QKeySequence(QString::fromLatin1(info->key)));
    else if (info->standardKey != QKeySequence::UnknownKey)
      a->setShortcut(QKeySequence(info->standardKey));
    connect(a, &QAction::triggered, this, slot);
    m_actions[command] = a;
    return a;
  };
  add(ECommand::New, [this] { NewPlan(); })->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
  add(ECommand::Open, [this] { OpenPlan(); })->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  add(ECommand::Save, [this] { SavePlan(false); })->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  add(ECommand::SaveAs, [this] { SavePlan(true); });
  add(ECommand::Exit, [this] { close(); });
  add(ECommand::AddDive, [this] { AddDive(); })->setIcon(GlyphIcon(QStringLiteral("+")));
  add(ECommand::DeleteDive, [this] { DeleteDive(); })->setIcon(GlyphIcon(QStringLiteral("\u2212")));
  add(ECommand::RenameDive, [this] { RenameDive(); });
  add(ECommand::SortDives, [this] { SortDives(); })->setIcon(GlyphIcon(QStringLiteral("\u21C5")));
  add(ECommand::PlanSettings, [this] { PlanSettings(); });
  add(ECommand::ImportDive, [this] { ImportDive(); });
  add(ECommand::ExportDive, [this] { ExportDive(); });
  add(ECommand::Details, [this] { ShowDetails(); })->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
  add(ECommand::CurrentDiveTable, [this] {
    ViewTables(false, false);
  })->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  add(ECommand::CurrentGasTable, [this] { ViewTables(true, false); });
  add(ECommand::AllDiveTables, [this] { ViewTables(false, true); });
  add(ECommand::AllGasTables, [this] { ViewTables(true, true); });
  add(ECommand::LostGasTables, [this] { LostGasTables(); });
  add(ECommand::Calculate, [this] { Calculate(); })->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  add(ECommand::CreateDiveTables, [this] { CreateDiveTables(); });
  add(ECommand::Preferences, [this] { Preferences(); })->setIcon(GlyphIcon(QStringLiteral("\u2699")));
  add(ECommand::SelectLanguage, [this] { SelectLanguage(); });
  add(ECommand::HelpContents, [this] { HelpContents(); })->setIcon(GlyphIcon(QStringLiteral("?")));
  add(ECommand::WhatsThis, [this] { WhatsThis(); });
  add(ECommand::About, [this] { About(); });
  for (int i = 0; i < CRecentFileList::kSize; ++i) {
    auto* a = new QAction(this);
    connect(a, &QAction::triggered, this, [this, i] {
      if (i < m_recent.Files().size()) OpenRecent(m_recent.Files()[i]);
    });
    a->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
    m_recentActions[i] = a;
  }
  m_actions[ECommand::RecentFile1] = m_recentActions[0];
}

void CDivePlannerDlg::CreateMenus() {
  m_fileMenu = menuBar()->addMenu(QString());
  for (ECommand c : {ECommand::New, ECommand::Open, ECommand::Save, ECommand::SaveAs}) m_fileMenu->addAction(Action(c));
  m_fileMenu->addSeparator();
  for (QAction* a : m_recentActions) m_fileMenu->addAction(a);
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(Action(ECommand::Exit));

  m_diveMenu = menuBar()->addMenu(QString());
  m_divesPopup = new QMenu(this);
  for (QMenu* menu : {m_diveMenu, m_divesPopup}) {
    for (ECommand c : {ECommand::AddDive, ECommand::DeleteDive, ECommand::RenameDive, ECommand::SortDives})
      menu->addAction(Action(c));
    menu->addSeparator();
    menu->addAction(Action(ECommand::PlanSettings));
    menu->addSeparator();
    menu->addAction(Action(ECommand::ImportDive));
    menu->addAction(Action(ECommand::ExportDive));
  }

  m_viewMenu = menuBar()->addMenu(QString());
  m_viewMenu->addAction(Action(ECommand::Details));
  m_viewMenu->addSeparator();
  for (ECommand c :
       {ECommand::CurrentDiveTable, ECommand::CurrentGasTable, ECommand::AllDiveTables, ECommand::AllGasTables})
    m_viewMenu->addAction(Action(c));
  m_viewMenu->addSeparator();
  m_viewMenu->addAction(Action(ECommand::LostGasTables));

  m_toolsMenu = menuBar()->addMenu(QString());
  for (ECommand c : {ECommand::Calculate, ECommand::CreateDiveTables}) m_toolsMenu->addAction(Action(c));
  m_toolsMenu->addSeparator();
  for (ECommand c : {ECommand::Preferences, ECommand::SelectLanguage}) m_toolsMenu->addAction(Action(c));

  m_helpMenu = menuBar()->addMenu(QString());
  for (ECommand c : {ECommand::HelpContents, ECommand::WhatsThis}) m_helpMenu->addAction(Action(c));
  m_helpMenu->addSeparator();
  m_helpMenu->addAction(Action(ECommand::About));

  // Menus show the state of the moment they open.
  for (QMenu* menu : {m_fileMenu, m_diveMenu, m_viewMenu, m_toolsMenu, m_divesPopup})
    connect(menu, &QMenu::aboutToShow, this, &CDivePlannerDlg::UpdateCommands);

  m_toolBar = addToolBar(QString());
  m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
  m_toolBar->setMovable(false);
  using C = ECommand;
  const std::initializer_list<ECommand> groups[] = {{C::New, C::Open, C::Save},
                                                    {C::AddDive, C::DeleteDive, C::SortDives},
                                                    {C::Calculate, C::CurrentDiveTable, C::Details},
                                                    {C::Preferences, C::HelpContents}};
  for (const auto& group : groups) {
    if (&group != &groups[0]) m_toolBar->addSeparator();
    for (ECommand command : group) m_toolBar->addAction(Action(command));
  }
  statusBar();
}

void CDivePlannerDlg::RetranslateUi() {
  m_fileMenu->setTitle(Tr("&File"));
  m_diveMenu->setTitle(Tr("Dive"));
  m_viewMenu->setTitle(Tr("&View"));
  m_toolsMenu->setTitle(Tr("&Tools"));
  m_helpMenu->setTitle(Tr("&Help"));
  m_divesPopup->setTitle(Tr("Dives Pop"));
  m_toolBar->setWindowTitle(Tr("Toolbar"));
  for (auto& [command, action] : m_actions) {
    const SCommandInfo* info = CommandInfo(command);
    if (!info) continue;
    action->setText(Tr(info->text));
    action->setToolTip(Tr(info->tip));
    action->setStatusTip(Tr(info->tip));
  }
  UpdateRecentMenu();
  UpdateTexts();
}

void CDivePlannerDlg::UpdateRecentMenu() {
  const QStringList& files = m_recent.Files();
  for (int i = 0; i < CRecentFileList::kSize; ++i) {
    QAction* a = m_recentActions[i];
    const bool used = i < files.size();
    a->setVisible(used || i == 0);
    a->setText(used ? QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]) : Tr("Recent File"));
    a->setToolTip(used ? files[i] : QString());
  }
}

// ---- Texts and enabling --------------------------------------------------------

QString CDivePlannerDlg::TitleText() const {
  const QString path = ToQt(m_plan->GetFilePath());
  QString title = ToQt(kv::kAppCaption);
  if (!path.isEmpty()) title += " - " + FileNameOf(path);
  if (m_plan->IsModified()) title += " *";
  return title;
}

QString CDivePlannerDlg::TabText(int dive) const {
  const QString name = ToQt(m_plan->GetDiveName(dive));
  const bool bailout = m_plan->IsBailoutMode(dive);
  if (name.isEmpty()) return (bailout ? Tr("Bailout %1") : Tr("Dive %1")).arg(dive + 1);
  return (bailout ? Tr("Bailout %1 - %2") : Tr("Dive %1 - %2")).arg(dive + 1).arg(name);
}

void CDivePlannerDlg::UpdateTexts() {
  setWindowTitle(TitleText());
  for (int i = 0; i < m_tabs->count(); ++i) m_tabs->setTabText(i, TabText(i));
}

void CDivePlannerDlg::UpdateCommands() {
  if (m_actions.empty()) return;
  const kv::CPlanGroup& plan = *m_plan;
  const int count = plan.GetDiveCount();
  const kv::CDivePlan* current = plan.GetDive(CurrentDive());
  bool anySegments = false, anyGas = false;
  for (int i = 0; i < count; ++i) {
    const kv::CDivePlan* d = plan.GetDive(i);
    anySegments = anySegments || (d && d->SegmentCount() > 0);
    anyGas = anyGas || kv::DiveQualifiesForGasTable(d);
  }
  Action(ECommand::Save)->setEnabled(plan.IsModified());
  Action(ECommand::AddDive)->setEnabled(count < kv::CPlanGroup::kMaxDives);
  Action(ECommand::DeleteDive)->setEnabled(count >= 2);
  Action(ECommand::SortDives)->setEnabled(count >= 2);
  Action(ECommand::CurrentDiveTable)->setEnabled(current && current->SegmentCount() > 0);
  Action(ECommand::CurrentGasTable)->setEnabled(kv::DiveQualifiesForGasTable(current));
  Action(ECommand::AllDiveTables)->setEnabled(count > 1 && anySegments);
  Action(ECommand::AllGasTables)->setEnabled(count > 1 && anyGas);
  Action(ECommand::LostGasTables)->setEnabled(current && !kv::DecoGases(*current).empty());
  Action(ECommand::Calculate)->setEnabled(plan.IsRecalculationRequired());
  m_recentActions[0]->setEnabled(!m_recent.Files().isEmpty());
}

// ---- Tabs ------------------------------------------------------------------------

void CDivePlannerDlg::SetDiveTabCount(int n) {
  const int before = m_tabs->count();
  const int previous = m_tabs->currentIndex();
  {
    // The tab strip moves while pages come and go: no dive is calculated for that.
    const QScopedValueRollback settingTabs(m_settingTabs, true);
    while (m_tabs->count() < n) {
      auto* page = new CTabDivePlan(m_tabs);
      page->SetImperial(m_preferences.units.imperial);
      connect(page, &CTabDivePlan::secondShown, this, [this](int dive, int second) {
        if (m_details) m_details->ShowSecond(m_plan.get(), dive, second);
      });
      connect(page, &CTabDivePlan::worstCaseBailoutRequested, this, &CDivePlannerDlg::WorstCaseBailout);
      // A gas that joined the remembered gases on one page is offered on every page.
      connect(page, &CTabDivePlan::gasListChanged, this, [this] {
        for (int i = 0; i < m_tabs->count(); ++i) Page(i)->ReloadGasMixes();
      });
      connect(page, &CTabDivePlan::diveEdited, this, [this] {
        UpdateTexts();
        UpdateCommands();
      });
      m_tabs->addTab(page, Tr("Dive %1").arg(m_tabs->count() + 1));
    }
    while (m_tabs->count() > n && m_tabs->count() > 0) {
      QWidget* page = m_tabs->widget(m_tabs->count() - 1);
      m_tabs->removeTab(m_tabs->count() - 1);
      delete page;
    }
    for (int i = 0; i < m_tabs->count(); ++i) Page(i)->Bind(m_plan.get(), i);
    if (n > before) {
      m_tabs->setCurrentIndex(n - 1);
    } else if (n < before && n > 0) {
      const int removed = before - n;
      m_tabs->setCurrentIndex(std::clamp(previous - removed, 0, n - 1));
    }
  }
  UpdateTexts();
  UpdateCommands();
}

void CDivePlannerDlg::OnTabChanged(int index) {
  if (m_settingTabs || index < 0) return;
  if (Busy()) return;
  // Bring every earlier dive that is out of date up to date, then this one.
  RunCalculation([this, index](kv::IProgress& progress) { m_plan->CalculateDivePlans(false, index, false, &progress); });
  if (m_details) m_details->ShowSecond(m_plan.get(), index, 0);
  UpdateCommands();
}

void CDivePlannerDlg::OnTabContextMenu(const QPoint& pos) {
  UpdateCommands();
  m_divesPopup->popup(m_tabs->tabBar()->mapToGlobal(pos));
}

// ---- Notifications and long work ---------------------------------------------------

void CDivePlannerDlg::OnNotification(const kv::SPlanNotification& n) {
  switch (n.kind) {
    case kv::EPlanNotification::ModifiedChanged:
      setWindowTitle(TitleText());
      break;
    case kv::EPlanNotification::DiveCalculated:
      if (CTabDivePlan* page = Page(n.dive)) {
        page->Refresh();
        m_tabs->setTabText(n.dive, TabText(n.dive));
      }
      if (m_details && m_details->Dive() == n.dive) m_details->Reshow();
      break;
    case kv::EPlanNotification::PlanGroupLoaded: {
      for (int i = 0; i < m_tabs->count(); ++i) Page(i)->ShowFirstSheet();
      {
        const QScopedValueRollback settingTabs(m_settingTabs, true);
        m_tabs->setCurrentIndex(n.dive);
      }
      const int dive = n.dive;
      RunCalculation([this, dive](kv::IProgress&) { m_plan->CalculateDivePlan(dive, true); });
      break;
    }
    case kv::EPlanNotification::DiveRowReset:
      if (CTabDivePlan* page = Page(n.dive)) page->SetSelectedRow(n.row);
      break;
  }
  UpdateCommands();
}

bool CDivePlannerDlg::RunCalculation(const std::function<void(kv::IProgress&)>& work) {
  if (Busy()) return false;
  CLongWork::Run(this, Tr("Calculating the dive plan..."), [&work](kv::IProgress& progress) {
    work(progress);
    return true;
  });
  m_sink->DeliverPending();
  UpdateCommands();
  return true;
}

// ---- Closing -------------------------------------------------------------------------

void CDivePlannerDlg::closeEvent(QCloseEvent* event) {
  if (Busy()) {
    event->ignore();
    return;
  }
  if (!AskToSave()) {
    event->ignore();
    return;
  }
  SaveWindowPlacement(kPlacement, *this);
  if (m_details) m_details->close();
  event->accept();
}

void CDivePlannerDlg::keyPressEvent(QKeyEvent* event) {
  // Fields revert their edit, the chart resets its zoom; what reaches the
  // window leaves the program as the close box does, with the save question.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace kv::app
