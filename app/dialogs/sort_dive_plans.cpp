#include "app/dialogs/sort_dive_plans.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/platform/qt_text.h"

namespace kv::app {

CSortDivePlans::CSortDivePlans(const std::vector<SRow>& rows, QWidget* parent)
    : QDialog(parent), m_rows(rows), m_list(new QTreeWidget(this)) {
  setWindowTitle(Tr("Sort Dive Plans"));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) m_order.push_back(i);
  m_list->setColumnCount(2);
  m_list->setHeaderLabels({Tr("Dive"), Tr("Summary")});
  m_list->setRootIsDecorated(false);
  m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_list->setMinimumSize(460, 220);
  auto* up = new QPushButton(style()->standardIcon(QStyle::SP_ArrowUp), Tr("Move &Up"), this);
  auto* down = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown), Tr("Move D&own"), this);
  connect(up, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveSelected(+1); });
  auto* side = new QVBoxLayout;
  side->addWidget(up);
  side->addWidget(down);
  side->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(m_list, 1);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(OkCancelButtons(this, QStringLiteral("sort")));
  Fill(0);
}

void CSortDivePlans::Fill(int selected) {
  m_list->clear();
  for (int old : m_order) {
    const SRow& r = m_rows[static_cast<std::size_t>(old)];
    new QTreeWidgetItem(m_list, {r.dive, r.summary});
  }
  SelectRow(selected);
}

bool CSortDivePlans::Moved() const {
  for (int j = 0; j < static_cast<int>(m_order.size()); ++j)
    if (m_order[static_cast<std::size_t>(j)] != j) return true;
  return false;
}

int CSortDivePlans::SelectedRow() const {
  QTreeWidgetItem* item = m_list->currentItem();
  return item ? m_list->indexOfTopLevelItem(item) : -1;
}

void CSortDivePlans::SelectRow(int row) {
  if (row >= 0 && row < m_list->topLevelItemCount()) m_list->setCurrentItem(m_list->topLevelItem(row));
}

void CSortDivePlans::MoveSelected(int step) {
  const int row = SelectedRow();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= static_cast<int>(m_order.size())) return;
  std::swap(m_order[static_cast<std::size_t>(row)], m_order[static_cast<std::size_t>(to)]);
  Fill(to);
}

}  // namespace kv::app
