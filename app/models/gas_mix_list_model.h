#pragma once
// The rows of a bailout gas list in the order the page shows them (Air and
// Oxygen first, then the mixes without and with helium, then what is no mix).
// An item the bailout planner leaves out is greyed and italic, with the
// reason as its tooltip. The model keeps its own copy of the rows; the page
// reloads it after each change of its list.

#include <QAbstractListModel>
#include <QString>
#include <vector>

namespace kv {
class CGasMixList;
}

namespace kv::app {

class CGasMixListModel final : public QAbstractListModel {
  Q_OBJECT
public:
  explicit CGasMixListModel(QObject* parent = nullptr);

  // Shows this list (a reset).
  void Reload(const CGasMixList& list);
  // The index in the list's items of a row.
  int ItemIndex(int row) const { return m_rows[static_cast<std::size_t>(row)].item; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
  struct SRow {
    QString text;
    QString leftOutReason;  // empty when the planner uses the item
    int item = 0;
  };
  std::vector<SRow> m_rows;
};

}  // namespace kv::app
