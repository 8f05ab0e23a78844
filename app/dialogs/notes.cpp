#include "app/dialogs/notes.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/help/help.h"
#include "app/platform/qt_text.h"

namespace kv::app {

CNotes::CNotes(const QString& notes, QWidget* parent) : QDialog(parent), m_text(new QPlainTextEdit(this)) {
  setWindowTitle(Tr("Notes"));
  CHelp::SetTopic(this, QStringLiteral("notes"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(Tr("Notes:"), this);
  label->setBuddy(m_text);
  layout->addWidget(label);
  QString text = notes;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace('\r', '\n');
  m_text->setPlainText(text);
  m_text->setMinimumSize(360, 140);
  // Tab moves on to the buttons, so the dialog works from the keyboard.
  m_text->setTabChangesFocus(true);
  layout->addWidget(m_text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(Tr("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(Tr("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QString CNotes::Notes() const {
  // The viewer writes each "\r" as "<br>" and keeps the line feed, so a saved
  // document still reads line by line.
  QString text = m_text->toPlainText();
  text.replace('\n', QStringLiteral("\r\n"));
  return text;
}

}  // namespace kv::app
