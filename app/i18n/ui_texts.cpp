#include "app/i18n/ui_texts.h"

namespace kv::app {

CUiTexts& CUiTexts::Instance() {
  static CUiTexts texts;
  return texts;
}

QString CUiTexts::Translate(const char* english) const {
  const QString key = QString::fromUtf8(english ? english : "");
  if (m_texts.isEmpty()) return key;
  auto it = m_texts.constFind(key);
  return it == m_texts.constEnd() ? key : *it;
}

}  // namespace kv::app
