#include "base/status_log.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "base/clock.h"
#include "base/preferences.h"
#include "base/text.h"

namespace kv {

std::string ExecutablePath() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

bool CStatusLog::OpenLog(const std::string& name, bool keep) {
  std::string exe = ExecutablePath();
  std::size_t slash = exe.find_last_of('\\');
  if (slash == std::string::npos) slash = exe.find_last_of('/');
  std::string folder = slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
  std::string file = slash == std::string::npos ? exe : exe.substr(slash + 1);
  std::size_t dot = file.find_last_of('.');
  return Open(folder + "/" + name, dot == std::string::npos ? file : file.substr(0, dot), keep);
}

bool CStatusLog::OpenLogAt(const std::string& path, bool keep) {
  std::size_t slash = path.find_last_of('/');
  return Open(path, slash == std::string::npos ? path : path.substr(slash + 1), keep);
}

bool CStatusLog::Open(const std::string& path, const std::string& programName, bool keep) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_path = path;
  m_programName = programName;
  if (!keep) std::remove(m_path.c_str());
  m_enabled = true;
  return true;
}

void CStatusLog::Close() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_path.clear();
}

void CStatusLog::SetEnabled(bool enabled) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_enabled = enabled;
}

void CStatusLog::SetTimeStamps(bool on) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_timeStamps = on;
}

void CStatusLog::SetNamePrefix(bool on) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_namePrefix = on;
}

std::string CStatusLog::Path() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_path;
}

std::string CStatusLog::ProgramName() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_programName;
}

bool CStatusLog::IsOn(int level) const {
  return static_cast<int>(Prefs().GetNumber(EPref::DebugLevel)) >= level;
}

namespace {
// Cuts a message to the buffer, never in the middle of a UTF-8 sequence.
void Cut(std::string& s) {
  if (s.size() < CStatusLog::kBufferSize) return;
  std::size_t n = CStatusLog::kBufferSize - 1;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  s.resize(n);
}
}  // namespace

bool CStatusLog::Write(const std::string& message) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_path.empty()) return false;
  if (!m_enabled) return true;
  std::string line;
  if (m_namePrefix) line += m_programName + " : ";
  if (m_timeStamps) {
    std::tm t = Clock().LocalTime(Clock().Now());
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%d/%m/%Y %H:%M:%S", &t);
    line += stamp;
    line += " : ";
  }
  line += message;
  line += '\n';
  std::FILE* f = std::fopen(m_path.c_str(), "ab");
  if (!f) return false;
  bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

bool CStatusLog::LogMessageV(const char* format, std::va_list args) {
  if (format == nullptr) {
    // A missing format is an error only where a line would have been written.
    std::lock_guard<std::mutex> guard(m_lock);
    return !m_path.empty() && !m_enabled;
  }
  std::string message = FormatV(format, args);
  Cut(message);
  return Write(message);
}

bool CStatusLog::LogMessage(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const bool ok = LogMessageV(format, args);
  va_end(args);
  return ok;
}

bool CStatusLog::LogAtLevel(const std::string& text, int level) {
  return CLeveledLog(*this, static_cast<int>(Prefs().GetNumber(EPref::DebugLevel))).LogAtLevel(text, level);
}

bool CStatusLog::LogAtLevelF(int level, const char* format, ...) {
  if (!IsOn(level)) return true;
  std::va_list args;
  va_start(args, format);
  const bool ok = LogMessageV(format, args);
  va_end(args);
  return ok;
}

CStatusLog& StatusLog() {
  static CStatusLog log;
  return log;
}

bool CLeveledLog::LogMessage(const char* format, ...) const {
  std::va_list args;
  va_start(args, format);
  const bool ok = m_log->LogMessageV(format, args);
  va_end(args);
  return ok;
}

bool CLeveledLog::LogAtLevel(const std::string& text, int level) const {
  if (!IsOn(level)) return true;
  return m_log->LogMessage("%s", text.c_str());
}

bool CLeveledLog::LogAtLevelF(int level, const char* format, ...) const {
  if (!IsOn(level)) return true;
  std::va_list args;
  va_start(args, format);
  const bool ok = m_log->LogMessageV(format, args);
  va_end(args);
  return ok;
}

}  // namespace kv
