#include "app/models/gas_mix_list_model.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include "app/platform/qt_text.h"
#include "gas/gas_mix_list.h"

namespace kv::app {

CGasMixListModel::CGasMixListModel(QObject* parent) : QAbstractListModel(parent) {}

void CGasMixListModel::Reload(const CGasMixList& list) {
  beginResetModel();
  m_rows.clear();
  for (const int index : list.ShownOrder()) {
    const SGasListItem& item = list.Items()[static_cast<std::size_t>(index)];
    SRow row;
    row.text = ToQt(item.IsMix() ? item.gas.Format(false) : item.text);
    if (item.state != EGasListItem::Usable) row.leftOutReason = ToQt(item.Reason());
    row.item = index;
    m_rows.push_back(row);
  }
  endResetModel();
}

int CGasMixListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant CGasMixListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const SRow& row = m_rows[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return row.text;
  if (row.leftOutReason.isEmpty()) return {};
  // The planner leaves it out: greyed, and the tooltip says why.
  switch (role) {
    case Qt::ForegroundRole: return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    case Qt::FontRole: {
      QFont font;
      font.setItalic(true);
      return font;
    }
    case Qt::ToolTipRole: return Tr("The bailout planner leaves this out: %1").arg(row.leftOutReason);
    default: return {};
  }
}

}  // namespace kv::app
