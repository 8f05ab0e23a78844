#pragma once
// Language libraries (see language_library.h): finding them in the program's
// folder, loading one as the source of every user-visible text, and going
// back to the program's own English texts.

#include <QList>
#include <QString>

#include <memory>

class QLibrary;

namespace kv::app {

struct SLanguage {
  unsigned short id = 0;
  QString name;
  QString path;  // empty for the program's own English
};

class CLanguages {
public:
  static constexpr unsigned short kEnglish = 1033;

  // Libraries are looked for in folder (the program's folder when empty).
  explicit CLanguages(const QString& folder = QString());
  ~CLanguages();
  CLanguages(const CLanguages&) = delete;
  CLanguages& operator=(const CLanguages&) = delete;

  const QString& Folder() const { return m_folder; }
  unsigned short Current() const { return m_current; }

  // False when the library cannot be loaded or lacks GetLanguage or GetLanguageStr.
  static bool GetLanguageFromDll(const QString& path, SLanguage& language);
  // The first library of the folder that provides id, or an empty text.
  QString FindLanguageDll(unsigned short id) const;
  // Every language library of the folder.
  QList<SLanguage> ListLanguages() const;
  // English first, then ListLanguages: what the language dialog offers.
  QList<SLanguage> SelectableLanguages() const;
  // Frees the current library and makes path's texts the program's texts.
  bool LoadLanguageDll(const QString& path);
  // Back to the program's own texts; frees the library.
  void UnloadLanguageDll();
  // True when the language is now in use; stores it as "Language ID".
  bool SetLanguage(unsigned short id);
  // Numbered texts of the loaded library that the string table refused
  // (their printf conversions differ from the program's); they stay English.
  const QList<int>& RefusedTexts() const { return m_refused; }

private:
  QString m_folder;
  std::unique_ptr<QLibrary> m_library;
  QList<int> m_overridden;
  QList<int> m_refused;
  unsigned short m_current = kEnglish;
};

// The folder of the running program.
QString ProgramFolder();

}  // namespace kv::app
