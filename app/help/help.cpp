#include "app/help/help.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/platform/qt_text.h"
#include "app/platform/user_profile.h"

// Outside any namespace, as the resource compiler requires.
static void InitHelpResource() { Q_INIT_RESOURCE(help); }

namespace kv::app {

CHelp& CHelp::Instance() {
  static CHelp* help = new CHelp;  // lives as long as the process
  return *help;
}

void CHelp::InitResources() {
  static bool done = false;
  if (done) return;
  done = true;
  InitHelpResource();
}

void CHelp::SetTopic(QWidget* widget, const QString& topic) {
  if (widget) widget->setProperty("helpTopic", topic);
}

QString CHelp::TopicOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QString topic = w->property("helpTopic").toString();
    if (!topic.isEmpty()) return topic;
  }
  return QString::fromLatin1(kContents);
}

QString CHelp::PageOf(const QString& topic) { return QStringLiteral("qrc:/help/%1.html").arg(topic); }

bool CHelp::HasTopic(const QString& topic) {
  InitResources();
  return QFile::exists(QStringLiteral(":/help/%1.html").arg(topic));
}

void CHelp::ShowContents(QWidget* parent) { ShowTopic(QString::fromLatin1(kContents), parent); }

void CHelp::ShowTopic(const QString& topic, QWidget* parent) {
  InitResources();
  const QString shown = HasTopic(topic) ? topic : QString::fromLatin1(kContents);
  if (!m_viewer) {
    // A modeless window of its own, so that the help stays open beside the
    // dialog it explains.
    m_viewer = new QDialog(parent ? parent->window() : nullptr, Qt::Window);
    m_viewer->setAttribute(Qt::WA_DeleteOnClose);
    m_viewer->setWindowTitle(Tr("Kestrun Varnadel Help"));
    auto* layout = new QVBoxLayout(m_viewer);
    m_browser = new QTextBrowser(m_viewer);
    m_browser->setOpenLinks(true);
    layout->addWidget(m_browser);
    auto* buttons = new QDialogButtonBox(m_viewer);
    QPushButton* contents = buttons->addButton(Tr("&Contents"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(Tr("&Close"), QDialogButtonBox::RejectRole);
    connect(contents, &QPushButton::clicked, m_browser, [this] { m_browser->setSource(QUrl(PageOf(kContents))); });
    connect(close, &QPushButton::clicked, m_viewer.data(), &QDialog::close);
    layout->addWidget(buttons);
    connect(m_viewer.data(), &QObject::destroyed, this, [this] {
      m_browser = nullptr;
      m_shownTopic.clear();
    });
    m_viewer->resize(640, 520);
  }
  m_browser->setSource(QUrl(PageOf(shown)));
  m_shownTopic = shown;
  m_viewer->show();
  m_viewer->raise();
  m_viewer->activateWindow();
}

void CHelp::EnterWhatsThisMode() {
  if (m_whatsThis) return;
  m_whatsThis = true;
  QApplication::setOverrideCursor(Qt::WhatsThisCursor);
  qApp->installEventFilter(this);
}

void CHelp::LeaveWhatsThisMode() {
  if (!m_whatsThis) return;
  m_whatsThis = false;
  qApp->removeEventFilter(this);
  QApplication::restoreOverrideCursor();
}

bool CHelp::eventFilter(QObject* watched, QEvent* event) {
  const bool widget = qobject_cast<QWidget*>(watched) != nullptr;
  if (m_swallowRelease) {
    // The release of the click that asked for help must not reach the control either.
    if (event->type() == QEvent::MouseButtonRelease && widget) {
      m_swallowRelease = false;
      qApp->removeEventFilter(this);
      return true;
    }
    return false;
  }
  if (!m_whatsThis) return false;
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    LeaveWhatsThisMode();
    return true;
  }
  if (event->type() == QEvent::MouseButtonPress && widget) {
    auto* target = static_cast<QWidget*>(watched);
    LeaveWhatsThisMode();
    m_swallowRelease = true;
    qApp->installEventFilter(this);
    ShowTopic(TopicOf(target), target);
    return true;
  }
  return event->type() == QEvent::MouseButtonDblClick && widget;
}

}  // namespace kv::app
