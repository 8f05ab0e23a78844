#include "plan/gas_mix_list_file.h"

#include <vector>

#include "base/prompt.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "plan/file_store.h"
#include "plan/key_line.h"

namespace kv {
namespace {
constexpr const char* kGasMixListHeader = "Gas Mix List";
constexpr int kKeyGasList = 60;
}  // namespace

bool SaveGasMixList(const std::string& path, const std::string& gasList) {
  const std::string out = std::string(kGasMixListHeader) + kLineEnd + KeyLineText(kKeyGasList, gasList);
  if (!FileStore().Write(path, out)) {
    UserPrompt().ShowMessage(LoadString(kMsgUnableToWriteDataFile), EIcon::Exclamation);
    return false;
  }
  return true;
}

bool LoadGasMixList(const std::string& path, std::string& gasList) {
  std::string content;
  if (!FileStore().Read(path, content)) {
    UserPrompt().ShowMessage(LoadString(kMsgUnableToOpenDataFile), EIcon::Exclamation);
    StatusLog().LogMessage("Unable to open gas mix list file %s", path.c_str());
    return false;
  }
  const std::vector<std::string> lines = SplitLines(content);
  if (lines.empty() || lines.front() != kGasMixListHeader) {
    UserPrompt().ShowMessage(LoadString(1623), EIcon::Exclamation);
    StatusLog().LogMessage("Invalid gas mix list file %s", path.c_str());
    return false;
  }
  std::string list;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    CKeyLine line(lines[i]);
    if (line.Count() >= 2 && line.Key() == kKeyGasList) list = std::string(line.Field(2));
  }
  gasList = std::move(list);
  return true;
}

}  // namespace kv
