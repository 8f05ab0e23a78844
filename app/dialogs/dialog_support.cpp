#include "app/dialogs/dialog_support.h"

#include <QDialog>
#include <QPushButton>

#include "app/help/help.h"
#include "app/platform/qt_text.h"

QDialogButtonBox* OkCancelButtons(QDialog* dialog, const QString& topic) {
  auto buttons = QDialogButtonBox::Ok | QDialogButtonBox::Cancel;
  if (!topic.isEmpty()) buttons |= QDialogButtonBox::Help;
  auto* box = new QDialogButtonBox(buttons, dialog);
  box->button(QDialogButtonBox::Ok)->setText(Tr("OK"));
  box->button(QDialogButtonBox::Cancel)->setText(Tr("Cancel"));
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  if (!topic.isEmpty()) {
    box->button(QDialogButtonBox::Help)->setText(Tr("&Help"));
    CHelp::SetTopic(dialog, topic);
    QObject::connect(box, &QDialogButtonBox::helpRequested, dialog,
                     [dialog, topic] { CHelp::Instance().ShowTopic(topic, dialog); });
  }
  return box;
}
