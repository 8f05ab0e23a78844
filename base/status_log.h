#pragma once
// The diagnostic status log, "StatusLog.txt" beside the executable. Each line is
// "dd/mm/yyyy hh:mm:ss : message". The file is opened and closed for every
// line so that it is complete up to the last line even after a crash.

#include <cstdarg>
#include <mutex>
#include <string>

namespace kv {

// Message levels; lines of a level are written when "Debug Level" reaches it.
enum ELogLevel : int { kLogUsers = 2, kLogProgress = 3, kLogDetail = 4 };

class CStatusLog {
public:
  static constexpr std::size_t kBufferSize = 3000;

  // Opens name in the executable's folder; deletes an existing file unless keep.
  bool OpenLog(const std::string& name, bool keep);
  // Opens an explicit path (kvplan's --log, tests).
  bool OpenLogAt(const std::string& path, bool keep);
  void Close() { m_path.clear(); }
  void SetEnabled(bool enabled) { m_enabled = enabled; }
  void SetTimeStamps(bool on) { m_timeStamps = on; }
  void SetNamePrefix(bool on) { m_namePrefix = on; }
  const std::string& Path() const { return m_path; }
  const std::string& ProgramName() const { return m_programName; }

  // True when written or when the log is disabled; false without a path, for a
  // null format, or when the file cannot be opened. Messages are cut at 2999 bytes.
  bool LogMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Writes text (not used as a format) when "Debug Level" >= level.
  bool LogAtLevel(const std::string& text, int level);
  // Formats and writes only when "Debug Level" >= level, so that the
  // calculation pays nothing for lines that are not wanted.
  bool LogAtLevelF(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
  // Whether lines of this level would be written.
  bool IsOn(int level) const;

private:
  bool Write(const std::string& message);
  bool WriteFormatted(const char* format, std::va_list args);

  std::mutex m_lock;
  std::string m_path;
  std::string m_programName;
  bool m_enabled = true;
  bool m_timeStamps = true;
  bool m_namePrefix = false;
};

CStatusLog& StatusLog();

// The executable's full path, or an empty text when it cannot be found.
std::string ExecutablePath();

}  // namespace kv
