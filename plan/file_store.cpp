#include "plan/file_store.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {
namespace {

class CFileDescriptor {
public:
  explicit CFileDescriptor(int fd) : m_fd(fd) {}
  ~CFileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  CFileDescriptor(const CFileDescriptor&) = delete;
  CFileDescriptor& operator=(const CFileDescriptor&) = delete;
  int Get() const { return m_fd; }
  // Closes now and reports whether the close (the last chance for a delayed
  // write error) succeeded.
  bool Close() {
    int fd = m_fd;
    m_fd = -1;
    return fd < 0 || ::close(fd) == 0;
  }

private:
  int m_fd;
};

bool WriteAll(int fd, const std::string& content) {
  const char* p = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// The file that a save really replaces: a symbolic link is followed, so that
// the link survives and its target gets the new content.
std::string ResolveTarget(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), resolved))
    return resolved;
  return path;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

CDiskFileStore g_diskStore;
IFileStore* g_store = &g_diskStore;

}  // namespace

bool CDiskFileStore::Read(const std::string& path, std::string& content) {
  // Without O_NONBLOCK opening a FIFO waits for a writer that may never come;
  // it is refused below like any file that is not a regular one.
  CFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) return false;
  struct stat st;
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::string data;
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    if (data.size() + static_cast<std::size_t>(n) > kMaxFileSize) return false;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  content = std::move(data);
  return true;
}

bool CDiskFileStore::Write(const std::string& path, const std::string& content) {
  if (path.empty()) return false;
  const std::string target = ResolveTarget(path);
  struct stat existing;
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // Renaming a file over a folder would fail anyway; refusing first keeps the
  // folder from collecting temporary files.
  if (exists && !S_ISREG(existing.st_mode)) return false;

  // The temporary file is created next to the target and named relative to
  // its folder, with a short name of its own: a target whose name is close to
  // the longest the system allows must still be writable.
  const std::string folder = FolderOf(target);
  const std::string name = NameOf(target);
  CFileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() < 0) return false;
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int raw = -1;
  for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
    temp = ".kv-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    raw = ::openat(dir.Get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw < 0 && errno != EEXIST) return false;
  }
  if (raw < 0) return false;
  CFileDescriptor fd(raw);
  // The new file keeps the permissions the user gave the old one.
  if (exists) (void)::fchmod(fd.Get(), existing.st_mode & 07777);
  bool ok = WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0;
  ok = fd.Close() && ok;
  if (ok && ::renameat(dir.Get(), temp.c_str(), dir.Get(), name.c_str()) == 0) {
    // Make the rename itself durable; a failure here no longer loses data.
    (void)::fsync(dir.Get());
    return true;
  }
  ::unlinkat(dir.Get(), temp.c_str(), 0);
  return false;
}

std::string WhyUnreadable(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0)
    return errno == ENOENT ? "no such file" : errno == EACCES ? "permission denied" : std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return "it is a folder";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  if (static_cast<unsigned long long>(st.st_size) > IFileStore::kMaxFileSize)
    return "it is larger than any plan (64 MB)";
  if (::access(path.c_str(), R_OK) != 0) return "permission denied";
  return "it cannot be read";
}

std::string WhyUnwritable(const std::string& path) {
  if (path.empty()) return "no file name";
  const std::string target = ResolveTarget(path);
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return "it is a folder";
    if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  }
  const std::string folder = FolderOf(target);
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return "no such folder";
  if (::access(folder.c_str(), W_OK) != 0) return "permission denied";
  return "it cannot be written (the disk may be full)";
}

std::string FileMessage(const std::string& message, const std::string& path, const std::string& why) {
  std::string text = message + "\n\n" + path;
  if (!why.empty()) text += "\n" + why;
  return text;
}

IFileStore& FileStore() { return *g_store; }

void SetFileStore(IFileStore* store) { g_store = store ? store : &g_diskStore; }

}  // namespace kv
