#include "app/models/table_messages_model.h"

#include "app/models/check_state_icon.h"
#include "app/platform/qt_text.h"

namespace kv::app {

CTableMessagesModel::CTableMessagesModel(QObject* parent) : QAbstractListModel(parent) {}

void CTableMessagesModel::SetMessages(const std::vector<STableMessage>& messages) {
  beginResetModel();
  m_messages = messages;
  endResetModel();
}

void CTableMessagesModel::Append(const STableMessage& message) {
  const int row = rowCount();
  beginInsertRows({}, row, row);
  m_messages.push_back(message);
  endInsertRows();
}

int CTableMessagesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_messages.size());
}

QVariant CTableMessagesModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const STableMessage& m = m_messages[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return ToQt(m.text);
    case Qt::DecorationRole: return CheckStateIcon(m.state);
    case Qt::UserRole: return m.state;
    default: return {};
  }
}

}  // namespace kv::app
