#include "app/charts/graph_widget.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/platform/qt_text.h"

namespace kv::app {

CGraphWidget::CGraphWidget(std::unique_ptr<CGraph> graph, QWidget* parent) : QWidget(parent), m_graph(std::move(graph)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(200, 150);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CGraphWidget::~CGraphWidget() = default;

int CGraphWidget::CursorSecond() const {
  const std::optional<double> x = m_graph->CursorX();
  return x ? static_cast<int>(std::lround(std::max(0.0, *x))) : -1;
}

void CGraphWidget::Changed(bool repaint) {
  if (repaint) update();
  const int second = CursorSecond();
  if (second != m_lastSecond) {
    m_lastSecond = second;
    emit cursorSecondChanged(second);
  }
}

void CGraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  m_graph->Paint(painter, QRectF(rect()));
}

void CGraphWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Changed(m_graph->MousePress(event->position(), QRectF(rect())));
}

void CGraphWidget::mouseMoveEvent(QMouseEvent* event) { Changed(m_graph->MouseMove(event->position(), QRectF(rect()))); }

void CGraphWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Changed(m_graph->MouseRelease(event->position(), QRectF(rect())));
}

void CGraphWidget::leaveEvent(QEvent*) { Changed(m_graph->MouseLeave()); }

void CGraphWidget::keyPressEvent(QKeyEvent* event) {
  // Keyboard use of the cursor: arrows move it 10 s (Ctrl: a minute), Home
  // and End jump to the ends of the view, Escape shows the whole dive.
  const double step = event->modifiers() & Qt::ControlModifier ? 60.0 : 10.0;
  const SRange view = m_graph->ViewX();
  switch (event->key()) {
    case Qt::Key_Left: m_graph->MoveCursorBy(-step); break;
    case Qt::Key_Right: m_graph->MoveCursorBy(step); break;
    case Qt::Key_Home: m_graph->MoveCursorBy(view.min - m_graph->CursorX().value_or(view.min)); break;
    case Qt::Key_End: m_graph->MoveCursorBy(view.max - m_graph->CursorX().value_or(view.min)); break;
    case Qt::Key_Escape: m_graph->ResetZoom(); break;
    default: QWidget::keyPressEvent(event); return;
  }
  Changed(true);
}

void CGraphWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (!m_menus) return;
  // The following cursor jumps to the click; a pinned one stays where it is.
  if (event->reason() == QContextMenuEvent::Mouse && !m_graph->CursorPersistent())
    Changed(m_graph->PlaceCursor(event->pos(), QRectF(rect())));
  QMenu* menu = CreateContextMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

QMenu* CGraphWidget::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  const int second = CursorSecond();
  auto resetZoom = [this] {
    m_graph->ResetZoom();
    Changed(true);
  };
  if (m_graph->BailoutMenu() && m_graph->BailoutModeCaption()) {
    menu->setObjectName(QStringLiteral("Graph Bailout Pop 2"));
    connect(menu->addAction(Tr("Return to &Dive")), &QAction::triggered, this, &CGraphWidget::returnToDive);
    connect(menu->addAction(Tr("&Clear Bailout")), &QAction::triggered, this, &CGraphWidget::clearBailout);
    connect(menu->addAction(Tr("&Reset Zoom")), &QAction::triggered, this, resetZoom);
  } else if (m_graph->BailoutMenu()) {
    menu->setObjectName(QStringLiteral("Graph Bailout Pop"));
    QAction* fromCursor = menu->addAction(Tr("&Bailout from cursor"));
    QAction* fromEnd = menu->addAction(Tr("Bailout from end of &segment"));
    fromCursor->setEnabled(second >= 0);
    fromEnd->setEnabled(second >= 0);
    connect(fromCursor, &QAction::triggered, this, [this, second] { emit bailoutFromCursor(second); });
    connect(fromEnd, &QAction::triggered, this, [this, second] { emit bailoutFromEndOfSegment(second); });
    if (m_graph->WorstCaseMenu()) {
      connect(menu->addAction(Tr("&Worst-case Bailout\u2026")), &QAction::triggered, this, &CGraphWidget::worstCaseBailout);
      menu->addSeparator();
    }
    connect(menu->addAction(Tr("&Reset Zoom")), &QAction::triggered, this, resetZoom);
  } else {
    menu->setObjectName(QStringLiteral("Graph Pop"));
    auto mode = [this, menu](const QString& text, CGraph::EMode m) {
      QAction* a = menu->addAction(text);
      a->setCheckable(true);
      a->setChecked(m_graph->Mode() == m);
      connect(a, &QAction::triggered, this, [this, m] {
        m_graph->SetMode(m);
        Changed(true);
      });
    };
    mode(Tr("Zoom"), CGraph::EMode::Zoom);
    mode(Tr("Pan"), CGraph::EMode::Pan);
    mode(Tr("Cursor"), CGraph::EMode::Cursor);
    mode(Tr("Persistent Cursor"), CGraph::EMode::PersistentCursor);
    connect(menu->addAction(Tr("Reset")), &QAction::triggered, this, resetZoom);
  }
  return menu;
}

}  // namespace kv::app
