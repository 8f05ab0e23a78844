#include "support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace kv::test {

void CScriptedPrompt::ShowMessage(const std::string& text, EIcon icon) {
  shown.push_back({text, icon, false});
}

bool CScriptedPrompt::AskYesNo(const std::string& text, bool defaultYes, EIcon icon) {
  shown.push_back({text, icon, true});
  if (answers.empty()) return defaultYes;
  bool a = answers.front();
  answers.erase(answers.begin());
  return a;
}

EAnswer CScriptedPrompt::AskYesNoCancel(const std::string& text, EIcon icon) {
  if (choices.empty()) return AskYesNo(text, true, icon) ? EAnswer::Yes : EAnswer::No;
  shown.push_back({text, icon, true});
  const EAnswer a = choices.front();
  choices.erase(choices.begin());
  return a;
}

CTestEnvironment::CTestEnvironment() {
  SetUserPrompt(&prompt);
  SetClock(&clock);
  auto storage = std::make_unique<CMemoryPreferenceStorage>();
  store = storage.get();
  Prefs().SetStorage(std::move(storage));
}

CTestEnvironment::~CTestEnvironment() {
  SetUserPrompt(nullptr);
  SetClock(nullptr);
  Prefs().SetStorage(nullptr);
}

CCommaLocale::CCommaLocale() {
  const char* current = std::setlocale(LC_ALL, nullptr);
  m_previous = current ? current : "C";
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_ALL, name)) {
      m_active = true;
      break;
    }
  }
}

CCommaLocale::~CCommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string TempDir() {
  std::string pattern = "/tmp/kvtestXXXXXX";
  char* dir = mkdtemp(pattern.data());
  return dir ? std::string(dir) : std::string("/tmp");
}

}  // namespace kv::test
