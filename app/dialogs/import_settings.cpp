#include "app/dialogs/import_settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/platform/qt_text.h"

namespace kv::app {

CImportSettings::CImportSettings(const std::vector<kv::SImportChoice>& choices, QWidget* parent)
    : QDialog(parent),
      m_list(new QTreeWidget(this)),
      m_settings(new QCheckBox(Tr("Import &Settings"), this)),
      m_gasSwitches(new QCheckBox(Tr("Import &Gas Switches"), this)) {
  setWindowTitle(Tr("Import Settings"));
  m_list->setColumnCount(2);
  m_list->setHeaderLabels({Tr("Dive"), Tr("Description")});
  m_list->setRootIsDecorated(false);
  m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_list->setMinimumSize(480, 200);
  for (const kv::SImportChoice& c : choices) new QTreeWidgetItem(m_list, {ToQt(c.label), ToQt(c.description)});
  if (m_list->topLevelItemCount() > 0) m_list->setCurrentItem(m_list->topLevelItem(0));
  m_settings->setChecked(true);
  m_gasSwitches->setChecked(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_list, 1);
  layout->addWidget(m_settings);
  layout->addWidget(m_gasSwitches);
  QDialogButtonBox* buttons = OkCancelButtons(this, QStringLiteral("table_generation"));
  m_ok = buttons->button(QDialogButtonBox::Ok);
  layout->addWidget(buttons);
  // A double-clicked line is the one to take.
  connect(m_list, &QTreeWidget::itemActivated, this, [this] {
    if (m_ok->isEnabled()) accept();
  });
  connect(m_list, &QTreeWidget::currentItemChanged, this, &CImportSettings::UpdateOk);
  connect(m_settings, &QCheckBox::toggled, this, &CImportSettings::UpdateOk);
  connect(m_gasSwitches, &QCheckBox::toggled, this, &CImportSettings::UpdateOk);
  UpdateOk();
}

int CImportSettings::SelectedChoice() const {
  QTreeWidgetItem* item = m_list->currentItem();
  return item ? m_list->indexOfTopLevelItem(item) : -1;
}

bool CImportSettings::ImportSettings() const { return m_settings->isChecked(); }
bool CImportSettings::ImportGasSwitches() const { return m_gasSwitches->isChecked(); }

// OK would do nothing without a line or with both boxes cleared.
void CImportSettings::UpdateOk() {
  m_ok->setEnabled(SelectedChoice() >= 0 && (ImportSettings() || ImportGasSwitches()));
}

}  // namespace kv::app
