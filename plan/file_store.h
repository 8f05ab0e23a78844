#pragma once
// Whole-file reads and atomic writes for plan, dive and gas mix list files.
// A seam, so that tests can make reading or writing fail.

#include <cstddef>
#include <string>

namespace kv {

class IFileStore {
public:
  // Files larger than this are refused: no file of the planner comes near it,
  // and reading an endless device or a huge file must not exhaust memory.
  static constexpr std::size_t kMaxFileSize = 64u * 1024u * 1024u;

  virtual ~IFileStore() = default;
  // The whole content; false when the path cannot be opened for reading, is
  // not a regular file or is larger than kMaxFileSize.
  virtual bool Read(const std::string& path, std::string& content) = 0;
  // Replaces the file with content, or leaves it exactly as it was and
  // returns false.
  virtual bool Write(const std::string& path, const std::string& content) = 0;
};

// The real store: reads with POSIX calls; writes a temporary file in the same
// folder, flushes it to disk and renames it over the target.
class CDiskFileStore final : public IFileStore {
public:
  bool Read(const std::string& path, std::string& content) override;
  bool Write(const std::string& path, const std::string& content) override;
};

// Why a path cannot be read as a file, for messages: "no such file", "it is
// a folder", "it is not a regular file", "permission denied"...
std::string WhyUnreadable(const std::string& path);
// Why a file cannot be written at path, after a write failed: "no such
// folder", "it is a folder", "permission denied", "the disk may be full"...
std::string WhyUnwritable(const std::string& path);

// A file message as the user sees it: the message, a blank line, the file and
// (when known) why. "Invalid Dive Plan file\n\n/dives/a.ccp\nline 37: ..."
std::string FileMessage(const std::string& message, const std::string& path, const std::string& why);

IFileStore& FileStore();
// Installs the process-wide store (not owned); nullptr restores the disk store.
void SetFileStore(IFileStore* store);

}  // namespace kv
