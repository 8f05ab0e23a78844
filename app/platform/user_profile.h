#pragma once
// The program's own entries beside the preferences, in the same per-user
// store (organisation "Kestrun", application "KestrunVarnadel"): the window
// placements, the recent-file list and the About box addresses.

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace kv::app {

// The store of the profile entries. The program uses the user's own; tests
// point it at an INI file.
QSettings& ProfileSettings();
void SetProfileSettingsFile(const QString& iniPath);

// Saves and restores a window's size and position under its name
// ("KestrunVarnadel", "KestrunVarnadelViewer", "KestrunVarnadelLiability").
void SaveWindowPlacement(const QString& name, const QWidget& window);
bool RestoreWindowPlacement(const QString& name, QWidget& window);

// The recent-file list: section "Recent File List", entries "File1" to "File4",
// most recent first.
class CRecentFileList {
public:
  static constexpr int kSize = 4;

  void Load();
  void Add(const QString& path);
  void Remove(const QString& path);
  const QStringList& Files() const { return m_files; }

private:
  void Save() const;
  QStringList m_files;
};

// An address of the "Addresses" section ("Kestrun Website", "Kestrun email"),
// empty when absent.
QString ProfileAddress(const QString& entry);

}  // namespace kv::app
