#pragma once
// The preferences store of the desktop program and kvplan: QSettings under
// organisation "Kestrun", application "KestrunVarnadel", group "Settings".
// On Windows that is the registry key "Software\Kestrun\KestrunVarnadel\Settings";
// elsewhere Qt's per-user settings file. An INI file can stand in for it.

#include <memory>
#include <optional>
#include <string>

#include "base/preferences.h"

class QSettings;

namespace kv {

class CQtSettingsStorage final : public IPreferenceStorage {
public:
  // The user's own preferences.
  CQtSettingsStorage();
  // The preferences of an INI file (created on the first write).
  explicit CQtSettingsStorage(const std::string& iniPath);
  ~CQtSettingsStorage() override;
  CQtSettingsStorage(const CQtSettingsStorage&) = delete;
  CQtSettingsStorage& operator=(const CQtSettingsStorage&) = delete;

  // False when the store could not be read (an INI file with a format error).
  bool IsReadable() const;

  // Numbers are 32-bit unsigned values as the registry holds them; a store
  // that holds anything else at a number's path reads as "no value".
  std::optional<std::uint32_t> ReadNumber(const std::string& path) override;
  std::optional<std::string> ReadText(const std::string& path) override;
  bool WriteNumber(const std::string& path, std::uint32_t value) override;
  bool WriteText(const std::string& path, const std::string& value) override;

  // "Dive\GF Low" -> "Settings/Dive/GF Low".
  static std::string KeyOf(const std::string& path);

private:
  std::unique_ptr<QSettings> m_settings;
};

}  // namespace kv
