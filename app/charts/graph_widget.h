#pragma once
// The window of a chart: it hands the chart's painter a QPainter, forwards
// the mouse and keys, and opens the chart's pop-up menu. The bailout
// commands of the profile chart go out as signals with the cursor's second.

#include <QWidget>
#include <memory>

#include "app/charts/graph.h"

class QMenu;

namespace kv::app {

class CGraphWidget : public QWidget {
  Q_OBJECT
public:
  explicit CGraphWidget(std::unique_ptr<CGraph> graph, QWidget* parent = nullptr);
  ~CGraphWidget() override;

  CGraph& Graph() { return *m_graph; }
  const CGraph& Graph() const { return *m_graph; }
  // Charts without menus (the tissue chart) ignore right clicks.
  void SetMenusEnabled(bool on) { m_menus = on; }
  // The pop-up menu a right click opens now: "Graph Bailout Pop 2" in bailout
  // mode, "Graph Bailout Pop" on a chart with the bailout menu, else "Graph Pop".
  // The caller owns it.
  QMenu* CreateContextMenu(QWidget* parent);
  // The run time second of the cursor, or -1 without one.
  int CursorSecond() const;

signals:
  void bailoutFromCursor(int second);
  void bailoutFromEndOfSegment(int second);
  void returnToDive();
  void clearBailout();
  // "&Worst-case Bailout…": sweep the bailout over the whole dive.
  void worstCaseBailout();
  // The cursor moved to another second (-1 when it left the plot).
  void cursorSecondChanged(int second);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void Changed(bool repaint);
  std::unique_ptr<CGraph> m_graph;
  bool m_menus = true;
  int m_lastSecond = -1;
};

}  // namespace kv::app
