#include "app/i18n/languages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "app/i18n/language_library.h"
#include "app/i18n/ui_texts.h"
#include "app/platform/qt_text.h"
#include "base/preferences.h"
#include "base/status_log.h"
#include "base/strings.h"

namespace kv::app {

QString ProgramFolder() {
  const std::string exe = kv::ExecutablePath();
  if (!exe.empty()) return QFileInfo(ToQt(exe)).absolutePath();
  return QCoreApplication::applicationDirPath();
}

CLanguages::CLanguages(const QString& folder) : m_folder(folder.isEmpty() ? ProgramFolder() : folder) {}

CLanguages::~CLanguages() { UnloadLanguageDll(); }

bool CLanguages::GetLanguageFromDll(const QString& path, SLanguage& language) {
  QLibrary library(path);
  if (!library.load()) return false;
  auto getLanguage = reinterpret_cast<KvGetLanguageFn>(library.resolve("GetLanguage"));
  auto getName = reinterpret_cast<KvGetLanguageStrFn>(library.resolve("GetLanguageStr"));
  bool ok = false;
  if (getLanguage && getName) {
    language.id = getLanguage();
    language.name = ToQt(getName());
    language.path = QFileInfo(path).absoluteFilePath();
    ok = true;
  }
  // Another holder (the loaded language) keeps it mapped; unload only drops this reference.
  library.unload();
  return ok;
}

QList<SLanguage> CLanguages::ListLanguages() const {
  QList<SLanguage> list;
  const QDir dir(m_folder);
  const QStringList files = dir.entryList(QDir::Files, QDir::Name);
  for (const QString& f : files) {
    const QString path = dir.absoluteFilePath(f);
    if (!QLibrary::isLibrary(path)) continue;
    SLanguage language;
    if (GetLanguageFromDll(path, language)) list << language;
  }
  return list;
}

QString CLanguages::FindLanguageDll(unsigned short id) const {
  for (const SLanguage& l : ListLanguages())
    if (l.id == id) return l.path;
  return {};
}

QList<SLanguage> CLanguages::SelectableLanguages() const {
  QList<SLanguage> list{{kEnglish, QStringLiteral("English"), QString()}};
  list << ListLanguages();
  return list;
}

bool CLanguages::LoadLanguageDll(const QString& path) {
  if (path.isEmpty()) return false;
  auto library = std::make_unique<QLibrary>(path);
  if (!library->load()) return false;
  auto getTexts = reinterpret_cast<KvGetLanguageTextsFn>(library->resolve("GetLanguageTexts"));
  UnloadLanguageDll();
  if (getTexts) {
    int count = 0;
    const SKvLanguageText* texts = getTexts(&count);
    for (int i = 0; texts && i < count; ++i) {
      const SKvLanguageText& t = texts[i];
      if (!t.text) continue;
      if (t.id > 0) {
        // A text whose conversions differ from the program's is refused by
        // the string table and stays English.
        if (kv::OverrideString(t.id, t.text))
          m_overridden << t.id;
        else
          m_refused << t.id;
      } else if (t.english) {
        CUiTexts::Instance().Set(ToQt(t.english), ToQt(t.text));
      }
    }
  }
  m_library = std::move(library);
  return true;
}

void CLanguages::UnloadLanguageDll() {
  for (int id : m_overridden) kv::OverrideString(id, std::string());
  m_overridden.clear();
  m_refused.clear();
  CUiTexts::Instance().Clear();
  if (m_library) m_library->unload();
  m_library.reset();
}

bool CLanguages::SetLanguage(unsigned short id) {
  if (id == kEnglish) {
    UnloadLanguageDll();
  } else {
    if (id == m_current) return false;
    const QString path = FindLanguageDll(id);
    if (path.isEmpty() || !LoadLanguageDll(path)) return false;
  }
  m_current = id;
  kv::Prefs().SetNumber(kv::EPref::LanguageId, id);
  return true;
}

}  // namespace kv::app
