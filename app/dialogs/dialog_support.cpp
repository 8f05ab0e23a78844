#include "app/dialogs/dialog_support.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QPushButton>

#include "app/help/help.h"
#include "app/platform/qt_text.h"

namespace kv::app {

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

QGroupBox* RadioPair(QWidget* parent, const char* title, QRadioButton*& first, const char* firstText,
                     QRadioButton*& second, const char* secondText) {
  auto* box = new QGroupBox(Tr(title), parent);
  auto* layout = new QVBoxLayout(box);
  first = new QRadioButton(Tr(firstText), box);
  second = new QRadioButton(Tr(secondText), box);
  layout->addWidget(first);
  layout->addWidget(second);
  auto* group = new QButtonGroup(box);
  group->addButton(first);
  group->addButton(second);
  return box;
}

QGroupBox* AlgorithmBox(QWidget* parent) {
  auto* box = new QGroupBox(Tr("Algorithm"), parent);
  auto* layout = new QVBoxLayout(box);
  auto* zhl16c = new QRadioButton(QStringLiteral("ZH-L16&C"), box);
  zhl16c->setChecked(true);
  layout->addWidget(zhl16c);
  return box;
}

}  // namespace kv::app
