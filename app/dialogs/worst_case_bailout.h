#pragma once
// "Worst-case Bailout": the result of the bailout sweep of one dive, planned
// at every moment with one set of carried gases. Two charts against the
// bailout moment (the volume of each carried gas, one line and legend entry
// each; the run time of the bailout dive; the worst moments marked) over the
// worst-case table (run time, CNS and one row per carried gas);
// "Print" and "Save" give the sweep as an HTML document like the other
// tables.

#include <QDialog>

#include <string>

#include "bailout/bailout_sweep.h"
#include "report/worst_case_html.h"

class QLabel;
class QTableWidget;

namespace kv::app {

class CGraphWidget;
class CWorstCaseGraph;
class IFileChooser;

class CWorstCaseBailoutWindow final : public QDialog {
  Q_OBJECT
public:
  CWorstCaseBailoutWindow(kv::SBailoutSweep sweep, const kv::SWorstCaseHeading& heading, IFileChooser* chooser,
                          QWidget* parent = nullptr);
  ~CWorstCaseBailoutWindow() override;

  const kv::SBailoutSweep& Sweep() const { return m_sweep; }
  // The HTML document that Print and Save give.
  const std::string& Document() const { return m_document; }
  void Print();
  // Asks for a file and writes the document; true when written.
  bool Save();

  const CWorstCaseGraph& GasChart() const;
  const CWorstCaseGraph& RunTimeChart() const;
  CGraphWidget* GasChartWidget() const { return m_gasChart; }
  QTableWidget* WorstTable() const { return m_table; }
  QLabel* Summary() const { return m_summary; }

private:
  void FillTable();
  QString MomentText(int second) const;
  // What the diver carries at every moment, or why no moment was planned.
  QString CarriedText() const;

  kv::SBailoutSweep m_sweep;
  kv::SWorstCaseHeading m_heading;
  std::string m_document;
  IFileChooser* m_chooser;
  QLabel* m_summary;
  CGraphWidget* m_gasChart;
  CGraphWidget* m_runTimeChart;
  QTableWidget* m_table;
};

}  // namespace kv::app
