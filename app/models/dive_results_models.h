#pragma once
// Read-only models over a calculated dive: its printable segments and its
// gas warnings. Both are rebuilt whole when the dive was calculated again.

#include <QAbstractTableModel>
#include <vector>

#include "app/charts/profile_chart_data.h"

namespace kv {
class CDivePlan;
}

namespace kv::app {

class CDiveSegmentsModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum EColumn { kDepth, kSegmentTime, kRunTime, kMode, kGas, kPpo2, kWarnings, kColumnCount };

  explicit CDiveSegmentsModel(QObject* parent = nullptr);
  void SetDive(const CDivePlan* dive);
  void SetImperial(bool imperial);
  // After DiveCalculated.
  void Reload();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  const CDivePlan* m_dive = nullptr;
  int m_rows = 0;
  bool m_imperial = false;
};

// The gas warnings of a dive, one row per gas, followed by a row for each
// oxygen exposure limit the dive passes (CNS, OTU), so that the list holds
// everything the chart's warning band shows.
class CGasWarningsModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum EColumn { kGas, kIcd, kEad, kHighO2, kLowO2, kColumnCount };

  explicit CGasWarningsModel(QObject* parent = nullptr);
  void SetDive(const CDivePlan* dive);
  void Reload();
  // Rows that carry any warning text.
  int WarningCount() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  int GasRows() const;
  const CDivePlan* m_dive = nullptr;
  int m_rows = 0;
  std::vector<SExposureWarning> m_exposure;
};

}  // namespace kv::app
