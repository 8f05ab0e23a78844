#pragma once
// The translations of the program's own menu and dialog texts, keyed by their
// English wording; filled from a language library, empty for English.

#include <QHash>
#include <QString>

namespace kv::app {

class CUiTexts {
public:
  static CUiTexts& Instance();

  QString Translate(const char* english) const;
  void Set(const QString& english, const QString& translated) { m_texts.insert(english, translated); }
  void Clear() { m_texts.clear(); }
  int Count() const { return static_cast<int>(m_texts.size()); }

private:
  QHash<QString, QString> m_texts;
};

}  // namespace kv::app
