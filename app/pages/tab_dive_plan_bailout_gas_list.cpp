#include "app/pages/tab_dive_plan_bailout_gas_list.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "base/preferences.h"
#include "base/status_log.h"
#include "base/text.h"
#include "plan/gas_mix_list_file.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/platform/file_chooser.h"
#include "app/platform/qt_text.h"

namespace kv::app {
namespace {

bool ReadItem(const std::string& item, CGas& gas) {
  if (item.find('/') != std::string::npos) {
    CSParser parts(item, '/');
    double oxygen = 0, helium = 0;
    if (!ReadNumber(parts.GetField(1), oxygen) || !ReadNumber(parts.GetField(2), helium)) return false;
    return gas.SetMix(std::floor(oxygen + 0.5), std::floor(helium + 0.5));
  }
  // A typed form ("Air", " Oxygen", "50%") as older lists hold it.
  const std::size_t start = item.find_first_not_of(' ');
  return start != std::string::npos && gas.Parse(item.substr(start));
}

bool ByOxygenThenHelium(const CGas& a, const CGas& b) {
  return a.Oxygen() != b.Oxygen() ? a.Oxygen() < b.Oxygen() : a.Helium() < b.Helium();
}

}  // namespace

std::vector<CGas> BailoutGasListRows(const std::string& listText) {
  std::vector<CGas> items;
  CSParser parser(listText, ',');
  for (int i = 1; i <= parser.Count(); ++i) {
    CGas gas;
    if (ReadItem(parser.GetField(i), gas)) items.push_back(gas);
  }
  std::vector<CGas> rows;
  auto takeFirst = [&](const char* shortForm) {
    auto it = std::find_if(items.begin(), items.end(), [&](const CGas& g) { return g.Format(true) == shortForm; });
    if (it == items.end()) return;
    rows.push_back(*it);
    items.erase(it);
  };
  takeFirst("21/0");
  takeFirst("100/0");
  std::vector<CGas> nitrox, trimix;
  for (const CGas& g : items) (g.Helium() == 0.0 ? nitrox : trimix).push_back(g);
  std::stable_sort(nitrox.begin(), nitrox.end(), ByOxygenThenHelium);
  std::stable_sort(trimix.begin(), trimix.end(), ByOxygenThenHelium);
  rows.insert(rows.end(), nitrox.begin(), nitrox.end());
  rows.insert(rows.end(), trimix.begin(), trimix.end());
  return rows;
}

CTabDivePlanBailoutGasList::CTabDivePlanBailoutGasList(QWidget* parent) : QWidget(parent) {
  m_gas = new CGasComboCompletion(this);
  m_list = new QListWidget(this);
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
  connect(m_gas, &CGasComboCompletion::gasAdded, this, [this] {
    Prefs().SetText(EPref::GasMixes, m_gas->GetListText());
    emit gasListChanged();
  });
  UpdateButtons();
}

void CTabDivePlanBailoutGasList::Retranslate() {
  setWindowTitle(Tr("Bailout Gas List"));
  m_gas->setToolTip(Str(2800));
  m_list->setToolTip(Str(2816));
  // Alt+A and Alt+D belong to the dive page's own buttons beside this page.
  m_add->setText(Tr("Add &Gas"));
  m_delete->setText(Tr("D&elete"));
  m_load->setText(Tr("&Load"));
  m_save->setText(Tr("&Save"));
  int tip = 2065;
  for (QPushButton* b : {m_add, m_delete, m_load, m_save}) b->setToolTip(Str(tip++));
}

void CTabDivePlanBailoutGasList::ReloadGasMixes() { m_gas->SetListText(Prefs().GetText(EPref::GasMixes)); }

void CTabDivePlanBailoutGasList::SetListText(const std::string& text) { ShowRows(BailoutGasListRows(text)); }

std::string CTabDivePlanBailoutGasList::ListText() const {
  std::string text;
  for (const CGas& g : m_rows) {
    if (!g.IsValid()) continue;
    if (!text.empty()) text += ',';
    text += g.Format(true);
  }
  return text;
}

int CTabDivePlanBailoutGasList::Count() const { return static_cast<int>(m_rows.size()); }

void CTabDivePlanBailoutGasList::ShowRows(const std::vector<CGas>& rows) {
  m_rows = rows;
  m_list->clear();
  for (const CGas& g : m_rows) m_list->addItem(ToQt(g.Format(false)));
  UpdateButtons();
}

void CTabDivePlanBailoutGasList::UpdateButtons() {
  m_add->setEnabled(Count() < kMaxGases);
  m_delete->setEnabled(Count() >= 1);
}

void CTabDivePlanBailoutGasList::Add() {
  m_gas->LeaveField();
  const CGas gas = m_gas->GetGas();
  if (!gas.IsValid() || Count() >= kMaxGases) return;
  for (const CGas& g : m_rows)
    if (g.SameGas(gas)) return;
  std::string text = ListText();
  if (!text.empty()) text += ',';
  text += gas.Format(true);
  SetListText(text);
  emit listChanged();
}

void CTabDivePlanBailoutGasList::DeleteSelected() {
  std::vector<int> selected;
  for (const QListWidgetItem* item : m_list->selectedItems()) selected.push_back(m_list->row(item));
  if (selected.empty()) return;
  std::sort(selected.rbegin(), selected.rend());
  std::vector<CGas> rows = m_rows;
  for (int row : selected) rows.erase(rows.begin() + row);
  ShowRows(rows);
  if (m_list->count() > 0) m_list->setCurrentRow(0);
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
  std::string text;
  if (!LoadGasMixList(FromQt(path), text)) return;
  SetListText(text);
  emit listChanged();
}

void CTabDivePlanBailoutGasList::Save() {
  const QString path = ChooseFile(true);
  if (path.isEmpty()) return;
  StatusLog().LogMessage("User saved file as %s", FromQt(path).c_str());
  Prefs().SetText(EPref::DefaultGasMixListDirectory, FromQt(QFileInfo(path).absolutePath()));
  SaveGasMixList(FromQt(path), ListText());
}

}  // namespace kv::app
