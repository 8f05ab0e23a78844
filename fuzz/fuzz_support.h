#pragma once
// What the fuzz targets share: files held in memory instead of on disk, and
// a quiet process (no prompt, no log, in-memory preferences).

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "base/preferences.h"
#include "base/prompt.h"
#include "plan/file_store.h"

namespace kv::fuzz {

class CMemoryFileStore final : public IFileStore {
public:
  bool Read(const std::string& path, std::string& content) override {
    auto it = files.find(path);
    if (it == files.end() || it->second.size() > kMaxFileSize) return false;
    content = it->second;
    return true;
  }
  bool Write(const std::string& path, const std::string& content) override {
    files[path] = content;
    return true;
  }
  std::map<std::string, std::string> files;
};

inline CMemoryFileStore& Files() {
  static CMemoryFileStore store;
  static bool installed = [] {
    SetFileStore(&store);
    SetUserPrompt(nullptr);  // the silent prompt
    Prefs().SetStorage(nullptr);
    return true;
  }();
  (void)installed;
  return store;
}

inline std::string Input(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A broken promise of the readers: stop so that the fuzzer keeps the input.
inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace kv::fuzz
