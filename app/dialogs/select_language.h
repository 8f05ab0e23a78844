#pragma once
// "Select Language": the languages on offer, the current one selected.

#include <QDialog>
#include <QList>

#include "app/i18n/languages.h"

class QListWidget;

namespace kv::app {

class CSelectLanguage final : public QDialog {
  Q_OBJECT
public:
  CSelectLanguage(const QList<SLanguage>& languages, unsigned short current, QWidget* parent = nullptr);
  // The chosen language's identifier.
  unsigned short Selected() const;
  QListWidget* List() const { return m_list; }

private:
  QList<SLanguage> m_languages;
  QListWidget* m_list;
};

}  // namespace kv::app
