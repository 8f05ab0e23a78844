#include "app/dialogs/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/help/help.h"
#include "app/platform/app_icon.h"
#include "app/platform/qt_text.h"
#include "app/platform/user_profile.h"
#include "report/table_builder.h"

namespace kv::app {

QString ProgramVersionString() { return ToQt(kv::ProgramVersionText()); }

namespace {

QLabel* Link(QWidget* parent, const QString& target, bool mail) {
  auto* label = new QLabel(parent);
  if (target.isEmpty()) return label;
  const QString href = mail && !target.startsWith(QStringLiteral("mailto:")) ? "mailto:" + target : target;
  label->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(href.toHtmlEscaped(), target.toHtmlEscaped()));
  label->setOpenExternalLinks(true);
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(const QString& logPath, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tr("About Kestrun Varnadel"));
  CHelp::SetTopic(this, QStringLiteral("about"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(AppIconPixmap(64));
  top->addWidget(icon, 0, Qt::AlignTop);
  auto* text = new QVBoxLayout;
  m_version = new QLabel(QStringLiteral("<b>Kestrun Varnadel %1</b>").arg(ProgramVersionString()), this);
  m_version->setObjectName(QStringLiteral("version"));
  text->addWidget(m_version);
  text->addWidget(new QLabel(Tr("Decompression dive planner for closed-circuit rebreather and open-circuit divers."),
                             this));
  text->addWidget(Link(this, ProfileAddress(QStringLiteral("Kestrun Website")), false));
  text->addWidget(Link(this, ProfileAddress(QStringLiteral("Kestrun email")), true));
  auto* log = new QLabel(Tr("Status log: %1").arg(logPath.isEmpty() ? Tr("not written") : logPath), this);
  log->setObjectName(QStringLiteral("logPath"));
  log->setTextInteractionFlags(Qt::TextSelectableByMouse);
  log->setWordWrap(true);
  text->addWidget(log);
  top->addLayout(text, 1);
  layout->addLayout(top);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(Tr("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  setMinimumWidth(460);
}

QString CAboutDlg::VersionText() const { return m_version->text(); }

}  // namespace kv::app
