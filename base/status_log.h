#pragma once
// The diagnostic status log, "StatusLog.txt" beside the executable. Each line is
// "dd/mm/yyyy hh:mm:ss : message". The file is opened and closed for every
// line so that it is complete up to the last line even after a crash.
//
// Every operation is safe from several threads: one lock makes the writing of
// a line (and any change of the settings below) indivisible, so lines of
// calculations on worker threads never interleave within a line.

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
  void Close();
  void SetEnabled(bool enabled);
  void SetTimeStamps(bool on);
  void SetNamePrefix(bool on);
  std::string Path() const;
  std::string ProgramName() const;

  // True when written or when the log is disabled; false without a path, for a
  // null format, or when the file cannot be opened. Messages are cut at 2999 bytes.
  bool LogMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool LogMessageV(const char* format, std::va_list args);
  // Writes text (not used as a format) when "Debug Level" >= level.
  bool LogAtLevel(const std::string& text, int level);
  // Formats and writes only when "Debug Level" >= level, so that callers pay
  // nothing for lines that are not wanted.
  bool LogAtLevelF(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
  // Whether lines of this level would be written at the "Debug Level" preference.
  bool IsOn(int level) const;

private:
  bool Open(const std::string& path, const std::string& programName, bool keep);
  bool Write(const std::string& message);

  mutable std::mutex m_lock;
  std::string m_path;
  std::string m_programName;
  bool m_enabled = true;
  bool m_timeStamps = true;
  bool m_namePrefix = false;
};

CStatusLog& StatusLog();

// The status log at a debug level fixed in advance. A calculation writes
// through one, with the level of its settings snapshot, so that it never reads
// the preferences while it runs.
class CLeveledLog {
public:
  CLeveledLog(CStatusLog& log, int debugLevel) : m_log(&log), m_debugLevel(debugLevel) {}
  bool IsOn(int level) const { return m_debugLevel >= level; }
  // Always written, whatever the level.
  bool LogMessage(const char* format, ...) const __attribute__((format(printf, 2, 3)));
  // Writes text (not used as a format) when the level is on.
  bool LogAtLevel(const std::string& text, int level) const;
  bool LogAtLevelF(int level, const char* format, ...) const __attribute__((format(printf, 3, 4)));

private:
  CStatusLog* m_log;
  int m_debugLevel;
};

// The executable's full path, or an empty text when it cannot be found.
std::string ExecutablePath();

}  // namespace kv
