#include "app/platform/user_profile.h"

namespace kv::app {

namespace {

std::unique_ptr<QSettings>& Store() {
  static std::unique_ptr<QSettings> store;
  return store;
}

const char* kRecentSection = "Recent File List";

}  // namespace

QSettings& ProfileSettings() {
  auto& s = Store();
  if (!s) s = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Kestrun", "KestrunVarnadel");
  return *s;
}

void SetProfileSettingsFile(const QString& iniPath) {
  Store() = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

void SaveWindowPlacement(const QString& name, const QWidget& window) {
  QSettings& s = ProfileSettings();
  s.setValue(name + "/Geometry", window.saveGeometry());
  s.sync();
}

bool RestoreWindowPlacement(const QString& name, QWidget& window) {
  const QByteArray geometry = ProfileSettings().value(name + "/Geometry").toByteArray();
  return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void CRecentFileList::Load() {
  m_files.clear();
  QSettings& s = ProfileSettings();
  for (int i = 1; i <= kSize; ++i) {
    const QString f = s.value(QStringLiteral("%1/File%2").arg(kRecentSection).arg(i)).toString();
    if (!f.isEmpty() && !m_files.contains(f)) m_files << f;
  }
}

void CRecentFileList::Add(const QString& path) {
  if (path.isEmpty()) return;
  m_files.removeAll(path);
  m_files.prepend(path);
  while (m_files.size() > kSize) m_files.removeLast();
  Save();
}

void CRecentFileList::Remove(const QString& path) {
  if (m_files.removeAll(path) > 0) Save();
}

void CRecentFileList::Save() const {
  QSettings& s = ProfileSettings();
  for (int i = 1; i <= kSize; ++i) {
    const QString key = QStringLiteral("%1/File%2").arg(kRecentSection).arg(i);
    if (i <= m_files.size())
      s.setValue(key, m_files[i - 1]);
    else
      s.remove(key);
  }
  s.sync();
}

QString ProfileAddress(const QString& entry) { return ProfileSettings().value("Addresses/" + entry).toString(); }

}  // namespace kv::app
