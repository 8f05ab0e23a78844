// LoadGasMixList on arbitrary bytes; a list that loads saves and loads back unchanged
// (once line breaks, which a list line cannot hold, are gone).

#include "fuzz_support.h"
#include "plan/gas_mix_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kv;
  fuzz::CMemoryFileStore& files = fuzz::Files();
  files.files["in.ccg"] = fuzz::Input(data, size);
  CGasMixList list = CGasMixList::Read("unchanged");
  if (!LoadGasMixList("in.ccg", list)) {
    fuzz::Require(list.Text() == "unchanged");
    return 0;
  }
  fuzz::Require(SaveGasMixList("out.ccg", list));
  CGasMixList back;
  fuzz::Require(LoadGasMixList("out.ccg", back));
  std::string expected = list.Text();
  for (char& c : expected)
    if (c == '\r' || c == '\n') c = ' ';
  fuzz::Require(back.Text() == expected);
  return 0;
}
