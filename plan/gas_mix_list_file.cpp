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

bool SaveGasMixList(const std::string& path, const CGasMixList& gasList) {
  const std::string out = std::string(kGasMixListHeader) + kLineEnd + KeyLineText(kKeyGasList, gasList.Text());
  if (!FileStore().Write(path, out)) {
    UserPrompt().ShowMessage(FileMessage(LoadString(kMsgUnableToWriteDataFile), path, WhyUnwritable(path)),
                             EIcon::Exclamation);
    return false;
  }
  return true;
}

bool LoadGasMixList(const std::string& path, CGasMixList& gasList, std::string* error) {
  std::string content;
  if (!FileStore().Read(path, content)) {
    const std::string why = WhyUnreadable(path);
    if (error) *error = why;
    UserPrompt().ShowMessage(FileMessage(LoadString(kMsgUnableToOpenDataFile), path, why), EIcon::Exclamation);
    StatusLog().LogMessage("Unable to open gas mix list file %s", path.c_str());
    return false;
  }
  const std::string_view text = SkipByteOrderMark(content);
  const std::vector<std::string> lines = SplitLines(text);
  std::string why;
  if (lines.empty() || lines.front() != kGasMixListHeader) {
    why = "line 1: the first line is not \"Gas Mix List\"";
  } else if (text.back() != '\n') {
    // The list would silently lose the gases after the cut.
    why = Format("line %d: the last line has no line end: the file seems cut short", static_cast<int>(lines.size()));
  }
  std::string list;
  for (std::size_t i = 1; i < lines.size() && why.empty(); ++i) {
    if (lines[i].empty()) continue;
    CKeyLine line(lines[i]);
    int key = 0;
    // Lines without a key are skipped, but a key line whose key is mistyped
    // ("O60~...") would silently give an empty list.
    if (line.Count() < 2) continue;
    if (!ReadWholeInt(line.Field(1), key))
      why = Format("line %d: %s does not start with a key number", static_cast<int>(i) + 1,
                   QuotedText(lines[i]).c_str());
    else if (key == kKeyGasList)
      list = std::string(line.Field(2));
  }
  if (!why.empty()) {
    if (error) *error = why;
    UserPrompt().ShowMessage(FileMessage(LoadString(1623), path, why), EIcon::Exclamation);
    StatusLog().LogMessage("Invalid gas mix list file %s", path.c_str());
    StatusLog().LogMessage("%s", why.c_str());
    return false;
  }
  if (error) error->clear();
  gasList = CGasMixList::Read(list);
  return true;
}

}  // namespace kv
