#include "app/pages/tab_dive_plan_bailout_gas_list.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QListView>
#include <QPushButton>
#include <algorithm>

#include "base/preferences.h"
#include "base/status_log.h"
#include "plan/gas_mix_list_file.h"
#include "app/models/gas_mix_list_model.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

CTabDivePlanBailoutGasList::CTabDivePlanBailoutGasList(QWidget* parent) : QWidget(parent) {
  m_gas = new CGasComboCompletion(this);
  m_list = new QListView(this);
  m_rows = new CGasMixListModel(m_list);
  m_list->setModel(m_rows);
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_add = new QPushButton(this);
  m_delete = new QPushButton(this);
  m_load = new QPushButton(this);
  m_save = new QPushButton(this);
  Retranslate();

  auto* grid = new QGridLayout(this);
  grid->addWidget(m_gas, 0, 0);
  grid->addWidget(m_add, 0, 1);
  grid->addWidget(m_list, 1, 0, 4, 1);
  grid->addWidget(m_delete, 1, 1);
  grid->addWidget(m_load, 2, 1);
  grid->addWidget(m_save, 3, 1);
  grid->setRowStretch(4, 1);

  ReloadGasMixes();
  connect(m_add, &QPushButton::clicked, this, &CTabDivePlanBailoutGasList::Add);
  connect(m_delete, &QPushButton::clicked, this, &CTabDivePlanBailoutGasList::DeleteSelected);
  connect(m_load, &QPushButton::clicked, this, &CTabDivePlanBailoutGasList::Load);
  connect(m_save, &QPushButton::clicked, this, &CTabDivePlanBailoutGasList::Save);
  connect(m_gas, &CGasComboCompletion::gasAdded, this, &CTabDivePlanBailoutGasList::gasListChanged);
  UpdateButtons();
}

void CTabDivePlanBailoutGasList::Retranslate() {
  setWindowTitle(Tr("Bailout Gas List"));
  m_gas->setToolTip(Str(kTipBailoutGasEntry));
  m_list->setToolTip(Str(kTipBailoutGasList));
  // Alt+A and Alt+D belong to the dive page's own buttons beside this page.
  m_add->setText(Tr("Add &Gas"));
  m_delete->setText(Tr("D&elete"));
  m_load->setText(Tr("&Load"));
  m_save->setText(Tr("&Save"));
  int tip = kTipsGasListButtons;
  for (QPushButton* b : {m_add, m_delete, m_load, m_save}) b->setToolTip(Str(tip++));
}

void CTabDivePlanBailoutGasList::ReloadGasMixes() { m_gas->LoadRememberedGases(); }

void CTabDivePlanBailoutGasList::SetListText(const std::string& text) {
  m_items = CGasMixList::Read(text);
  ShowRows();
}

void CTabDivePlanBailoutGasList::ShowRows() {
  m_rows->Reload(m_items);
  UpdateButtons();
}

void CTabDivePlanBailoutGasList::UpdateButtons() {
  m_add->setEnabled(m_items.UsableCount() < kMaxGases);
  m_delete->setEnabled(Count() >= 1);
}

void CTabDivePlanBailoutGasList::Add() {
  m_gas->LeaveField();
  // A gas already listed, a full list or an invalid entry adds nothing.
  if (m_items.Add(m_gas->GetGas()) != CGasMixList::EAdd::Added) return;
  ShowRows();
  emit listChanged();
}

void CTabDivePlanBailoutGasList::DeleteSelected() {
  std::vector<int> items;
  for (const QModelIndex& row : m_list->selectionModel()->selectedRows()) items.push_back(m_rows->ItemIndex(row.row()));
  if (items.empty()) return;
  std::sort(items.rbegin(), items.rend());
  for (const int index : items) m_items.Remove(index);
  ShowRows();
  if (m_rows->rowCount() > 0) m_list->setCurrentIndex(m_rows->index(0));
  emit listChanged();
}

QString CTabDivePlanBailoutGasList::ChooseFile(bool save) {
  if (m_chooseFile) return m_chooseFile(save);
  SFileRequest request;
  request.filter = Tr("Kestrun Varnadel Gas Mix List Files (*.ccg)|*.ccg||");
  request.defaultExtension = QStringLiteral("*.ccg");
  request.folder = ToQt(Prefs().GetText(EPref::DefaultGasMixListDirectory));
  CQtFileChooser chooser;
  if (save) return chooser.SaveFile(this, request);
  request.title = Tr("Select Gas Mix List file to open");
  return chooser.OpenFile(this, request);
}

void CTabDivePlanBailoutGasList::Load() {
  const QString path = ChooseFile(false);
  if (path.isEmpty()) return;
  StatusLog().LogMessage("User selected max list file %s", FromQt(path).c_str());
  Prefs().SetText(EPref::DefaultGasMixListDirectory, FromQt(QFileInfo(path).absolutePath()));
  CGasMixList list;
  if (!LoadGasMixList(FromQt(path), list)) return;
  m_items = list;
  ShowRows();
  emit listChanged();
}

void CTabDivePlanBailoutGasList::Save() {
  const QString path = ChooseFile(true);
  if (path.isEmpty()) return;
  StatusLog().LogMessage("User saved file as %s", FromQt(path).c_str());
  Prefs().SetText(EPref::DefaultGasMixListDirectory, FromQt(QFileInfo(path).absolutePath()));
  SaveGasMixList(FromQt(path), m_items);
}

}  // namespace kv::app
