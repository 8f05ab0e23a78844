// The German language library (1031).
#include "app/i18n/language_library.h"

#include <iterator>

namespace {

const SKvLanguageText kTexts[] = {
    {0, "&File", "&Datei"},
};

}  // namespace

extern "C" {
__attribute__((visibility("default"))) unsigned short GetLanguage() { return 1031; }
__attribute__((visibility("default"))) const char* GetLanguageStr() { return "Deutsch"; }
__attribute__((visibility("default"))) const SKvLanguageText* GetLanguageTexts(int* count) {
  if (count) *count = static_cast<int>(std::size(kTexts));
  return kTexts;
}
}
