#include "app/dialogs/select_language.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/platform/qt_text.h"

namespace kv::app {

CSelectLanguage::CSelectLanguage(const QList<SLanguage>& languages, unsigned short current, QWidget* parent)
    : QDialog(parent), m_languages(languages), m_list(new QListWidget(this)) {
  setWindowTitle(Tr("Select Language"));
  auto* layout = new QVBoxLayout(this);
  for (const SLanguage& l : languages) {
    m_list->addItem(l.name);
    if (l.id == current) m_list->setCurrentRow(m_list->count() - 1);
  }
  connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  layout->addWidget(m_list);
  layout->addWidget(OkCancelButtons(this, QStringLiteral("language")));
  resize(300, 240);
}

unsigned short CSelectLanguage::Selected() const {
  const int row = m_list->currentRow();
  return row < 0 ? 0 : m_languages[row].id;
}

}  // namespace kv::app
