#include "app/dialogs/rename_dive.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/platform/qt_text.h"

namespace kv::app {

CRenameDive::CRenameDive(const QString& name, QWidget* parent) : QDialog(parent), m_name(new QLineEdit(this)) {
  setWindowTitle(Tr("Rename Dive"));
  auto* layout = new QVBoxLayout(this);
  m_name->setText(name);
  m_name->selectAll();
  // "~" separates the fields of a plan file: a name is cut at it when read back.
  m_name->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^~\\r\\n]*")), m_name));
  m_name->setMinimumWidth(280);
  layout->addWidget(m_name);
  layout->addWidget(OkCancelButtons(this, QStringLiteral("rename")));
}

QString CRenameDive::Name() const { return m_name->text().trimmed(); }

QString CRenameDive::NameOfTabText(const QString& tabText) {
  const qsizetype at = tabText.indexOf(QStringLiteral(" - "));
  return at < 0 ? QString() : tabText.mid(at + 3);
}

}  // namespace kv::app
