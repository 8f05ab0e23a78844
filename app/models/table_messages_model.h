#pragma once
// The "Messages" list of the table generation page: the findings of the
// checks and the progress of the last run, each with its check state as an
// icon and as Qt::UserRole. The page may add a line of its own (a settings
// file that was not read) after the generation's messages.

#include <QAbstractListModel>
#include <vector>

#include "tablegen/table_generation.h"

namespace kv::app {

class CTableMessagesModel final : public QAbstractListModel {
  Q_OBJECT
public:
  explicit CTableMessagesModel(QObject* parent = nullptr);

  // Shows these messages instead (a reset).
  void SetMessages(const std::vector<STableMessage>& messages);
  void Append(const STableMessage& message);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
  std::vector<STableMessage> m_messages;
};

}  // namespace kv::app
