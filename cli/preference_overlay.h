#pragma once
// kvplan reads the user's preferences but never changes them: values given
// with --set and anything the program itself writes (the switch to ZH-L16C at
// start-up) live in memory for this run only, in front of the real store.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/preferences.h"

namespace kv {

class CPreferenceOverlay final : public IPreferenceStorage {
public:
  explicit CPreferenceOverlay(std::unique_ptr<IPreferenceStorage> base) : m_base(std::move(base)) {}

  std::optional<std::uint32_t> ReadNumber(const std::string& path) override;
  std::optional<std::string> ReadText(const std::string& path) override;
  bool WriteNumber(const std::string& path, std::uint32_t value) override;
  bool WriteText(const std::string& path, const std::string& value) override;

private:
  std::unique_ptr<IPreferenceStorage> m_base;
  std::map<std::string, std::uint32_t> m_numbers;
  std::map<std::string, std::string> m_texts;
};

// Applies one "PATH=VALUE" override (value paths as "General\Units"; numbers
// as the store holds them, such as "Dive\SAC Rate=25500", and within the
// range the preferences sheet allows). Empty on success, else the reason it
// was refused.
std::string ApplyPreferenceOverride(IPreferenceStorage& storage, const std::string& assignment);

// The first numeric preference that the store holds outside its range, as
// "Dive\GF Low holds 900, outside 0 to 100 %", or empty.
std::string CheckPreferenceRanges(IPreferenceStorage& storage);

// Whether a file's content has the shape of a settings (INI) file whose
// values live in a [Settings] section: empty when it has, else why not.
// An empty file is a settings file with no values.
std::string CheckSettingsFileShape(std::string_view content);

}  // namespace kv
