#include "app/dialogs/splash_wnd.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "app/dialogs/about_dlg.h"
#include "app/platform/app_icon.h"

namespace kv::app {

namespace {
QPointer<CSplashWnd> g_splash;
}

CSplashWnd::CSplashWnd()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(SplashPicture()) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(m_picture.isNull() ? QSize(1, 1) : m_picture.size());
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  qApp->installEventFilter(this);
  QTimer::singleShot(kShowMs, this, &QWidget::close);
}

CSplashWnd::~CSplashWnd() { qApp->removeEventFilter(this); }

void CSplashWnd::ShowSplash() {
  if (g_splash) return;
  auto* splash = new CSplashWnd;
  g_splash = splash;
  splash->show();
}

bool CSplashWnd::IsShowing() { return !g_splash.isNull(); }

void CSplashWnd::HideSplash() {
  if (g_splash) g_splash->close();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, m_picture);
  p.setPen(Qt::white);
  p.drawText(rect().adjusted(0, 0, -12, -8), Qt::AlignRight | Qt::AlignBottom,
             QStringLiteral("Version %1").arg(ProgramVersionString()));
}

bool CSplashWnd::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
      QTimer::singleShot(0, this, &QWidget::close);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace kv::app
