#include "cli/kvplan_session.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "base/prompt.h"
#include "base/status_log.h"
#include "base/text.h"
#include "cli/cli_prompt.h"
#include "cli/preference_overlay.h"
#include "frontend/preference_snapshots.h"
#include "qtsettings/qt_settings_storage.h"
#include "plan/file_store.h"
#include "plan/key_line.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

bool EndsWith(const std::string& text, const char* suffix) {
  const std::string s = ToLower(text);
  const std::string x = suffix;
  return s.size() >= x.size() && s.compare(s.size() - x.size(), x.size(), x) == 0;
}

// The lines of a file, or none when it cannot be read.
std::vector<std::string> FileLines(const std::string& path) {
  std::string content;
  if (!FileStore().Read(path, content)) return {};
  return SplitLines(SkipByteOrderMark(content));
}

// A ".ccd" file is a dive file; any other name is looked at: a dive file
// starts with the line "Dive".
bool IsDiveFile(const std::string& path) {
  if (EndsWith(path, ".ccd")) return true;
  if (EndsWith(path, ".ccp")) return false;
  const std::vector<std::string> lines = FileLines(path);
  return !lines.empty() && lines.front() == "Dive";
}

// Whether two paths name one file: the same file under another name or
// through a link, or, for files still to be written, the same place.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  const bool aExists = ::stat(a.c_str(), &sa) == 0, bExists = ::stat(b.c_str(), &sb) == 0;
  if (aExists && bExists) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (aExists != bExists) return false;
  std::error_code ea, eb;
  const auto ca = std::filesystem::weakly_canonical(a, ea), cb = std::filesystem::weakly_canonical(b, eb);
  return !ea && !eb && ca == cb;
}

// The plan or dive file key that sets what a preference gives a new dive or
// plan, or 0.
int FileKeyOf(EPref item) {
  switch (item) {
    case EPref::SurfaceIntervalAlgorithm: return 1;
    case EPref::Algorithm: return 2;
    case EPref::DefaultCylinderWorkingPressure: return 3;
    case EPref::DefaultGasReserve: return 4;
    case EPref::BailoutIgnoreIcd: return 51;
    case EPref::BailoutIgnoreCns: return 52;
    case EPref::BailoutGasList: return 60;
    default: break;
  }
  const int i = static_cast<int>(item);
  if (i >= static_cast<int>(EPref::DiveSurfacePressure) && i <= static_cast<int>(EPref::DiveLastDecoStop))
    return 21 + i - static_cast<int>(EPref::DiveSurfacePressure);
  if (i >= static_cast<int>(EPref::BailoutNoOfGasSwitches) && i <= static_cast<int>(EPref::BailoutUseBailoutGasList))
    return 40 + i - static_cast<int>(EPref::BailoutNoOfGasSwitches);
  return 0;
}

}  // namespace

CKvplanSession::CKvplanSession(const SKvplanOptions& options, const SKvplanEnvironment& environment,
                               std::ostream& out, std::ostream& err)
    : m_options(options), m_environment(environment), m_out(out), m_err(err) {}

CKvplanSession::~CKvplanSession() {
  SetUserPrompt(nullptr);
  StatusLog().Close();
  Prefs().SetStorage(nullptr);
}

int CKvplanSession::Start() {
  const SKvplanOptions& o = m_options;
  if ((!o.tables.empty() || !o.gasTables.empty()) && !m_environment.writeTables) {
    m_err << "kvplan: " << (o.tables.empty() ? "--gas-tables" : "--tables") << " is not available in this build\n";
    return kExitUsage;
  }
  if (int rc = CheckOutputs(); rc != kExitOk) return rc;
  if (int rc = SetUpPreferences(); rc != kExitOk) return rc;
  m_preferences = TakePreferenceSnapshot();
  if (int rc = OpenLog(); rc != kExitOk) return rc;
  m_prompt = std::make_unique<CCliPrompt>(m_err, o.extend);
  SetUserPrompt(m_prompt.get());
  return kExitOk;
}

int CKvplanSession::CheckOutputs() {
  const SKvplanOptions& o = m_options;
  std::vector<std::pair<const char*, std::string>> outputs;
  if (!o.json.empty() && o.json != "-") outputs.push_back({"--json", o.json});
  if (!o.tables.empty()) outputs.push_back({"--tables", o.tables});
  if (!o.gasTables.empty()) outputs.push_back({"--gas-tables", o.gasTables});
  if (!o.out.empty()) outputs.push_back({"--out", o.out});
  if (!o.save.empty()) outputs.push_back({"--save", o.save});
  if (!o.log.empty()) outputs.push_back({"--log", o.log});
  // Writing over an input would destroy it before, or while, it is read.
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const auto& [option, path] = outputs[i];
    if (SameFile(path, o.plan)) {
      m_err << "kvplan: " << option << " " << path << " names the plan file itself\n";
      return kExitUsage;
    }
    if (!o.prefs.empty() && SameFile(path, o.prefs)) {
      m_err << "kvplan: " << option << " " << path << " names the preferences file\n";
      return kExitUsage;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(path, outputs[j].second)) {
        m_err << "kvplan: " << outputs[j].first << " and " << option << " name the same file " << path << "\n";
        return kExitUsage;
      }
    }
  }
  // A folder, FIFO or device is never replaced by a file (and a FIFO nobody
  // reads would block the run).
  for (const auto& [option, path] : outputs) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
      m_err << "kvplan: " << option << " " << path << ": "
            << (S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file") << "\n";
      return kExitFile;
    }
  }
  return kExitOk;
}

int CKvplanSession::SetUpPreferences() {
  const SKvplanOptions& o = m_options;
  std::unique_ptr<IPreferenceStorage> base;
  std::string source = "the user's preferences";
  if (!o.prefs.empty()) {
    struct stat st;
    if (::stat(o.prefs.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      m_err << "kvplan: --prefs " << o.prefs << ": it is a folder, not a settings file\n";
      return kExitUsage;
    }
    std::string content;
    if (!FileStore().Read(o.prefs, content)) {
      m_err << "kvplan: cannot read preferences file " << o.prefs << ": " << WhyUnreadable(o.prefs) << "\n";
      return kExitFile;
    }
    std::string why = CheckSettingsFileShape(SkipByteOrderMark(content));
    auto ini = std::make_unique<CQtSettingsStorage>(o.prefs);
    if (why.empty() && !ini->IsReadable()) why = "it is not a settings file";
    if (!why.empty()) {
      m_err << "kvplan: --prefs " << o.prefs << ": " << why << "\n";
      return kExitUsage;
    }
    base = std::move(ini);
    source = "--prefs " + o.prefs;
  } else if (m_environment.userPreferences) {
    base = m_environment.userPreferences();
  } else {
    base = std::make_unique<CQtSettingsStorage>();
  }
  auto overlay = std::make_unique<CPreferenceOverlay>(std::move(base));
  for (const std::string& s : o.sets) {
    const std::string why = ApplyPreferenceOverride(*overlay, s);
    if (!why.empty()) {
      m_err << "kvplan: --set " << s << ": " << why << "\n";
      return kExitUsage;
    }
  }
  // A value no page allows would give dives settings that no file can hold.
  if (const std::string why = CheckPreferenceRanges(*overlay); !why.empty()) {
    m_err << "kvplan: " << source << ": " << why << " (override it with --set)\n";
    return kExitUsage;
  }
  Prefs().SetStorage(std::move(overlay));
  Prefs().LoadSettings();
  return kExitOk;
}

int CKvplanSession::OpenLog() {
  const std::string& path = m_options.log;
  if (path.empty()) return kExitOk;
  // The log is appended to: whatever the path holds stays, and a path that
  // cannot take it is refused before anything is calculated.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    m_err << "kvplan: cannot write the status log " << path << ": " << std::strerror(errno) << "\n";
    return kExitFile;
  }
  ::close(fd);
  StatusLog().OpenLogAt(path, true);
  return kExitOk;
}

int CKvplanSession::LoadPlan(CPlanGroup& group) {
  const std::string& plan = m_options.plan;
  // The plan is calculated once, after it is loaded, not key by key.
  group.SetAutoRecalc(false);
  // The defaults of the dives a plan file adds and of a dive file's plan.
  ApplyPreferences(group, m_preferences);
  const int shownBefore = m_prompt->Shown();
  const bool diveFile = IsDiveFile(plan);
  bool ok;
  if (diveFile) {
    // A dive file is a plan of one dive with the user's plan defaults.
    group.ClearPlanGroup();
    ok = group.ImportDive(plan);
  } else {
    ok = group.LoadPlanGroup(plan);
  }
  if (!ok) {
    if (!group.GetFileError().empty())
      m_err << "kvplan: " << plan << ": " << group.GetFileError() << "\n";
    else if (m_prompt->Shown() == shownBefore)
      m_err << "kvplan: " << plan << ": the plan cannot be loaded\n";
    return kExitFile;
  }
  ReportOverriddenSettings(diveFile);
  return kExitOk;
}

void CKvplanSession::ReportOverriddenSettings(bool diveFile) {
  if (m_options.sets.empty()) return;
  std::set<int> keys;
  for (const std::string& text : FileLines(m_options.plan)) {
    CKeyLine line(text);
    int key = 0;
    if (line.Count() >= 2 && ReadWholeInt(line.Field(1), key)) keys.insert(key);
  }
  for (const std::string& s : m_options.sets) {
    const std::string path = s.substr(0, s.find('='));
    const std::optional<EPref> item = CPreferences::FindPath(path);
    const int key = item ? FileKeyOf(*item) : 0;
    // A dive file takes the plan-wide settings from the preferences.
    if (key == 0 || (diveFile && key <= 4) || keys.count(key) == 0) continue;
    m_err << "kvplan: --set " << path << ": the " << (diveFile ? "dive" : "plan") << " file holds its own value"
          << Format(" (key %03d), which is used", key) << "\n";
  }
}

int CKvplanSession::CheckDiveNumber(const CPlanGroup& group, int dive) {
  if (dive <= group.GetDiveCount()) return kExitOk;
  m_err << "kvplan: --dive " << dive << ": the plan has " << group.GetDiveCount()
        << (group.GetDiveCount() == 1 ? " dive\n" : " dives\n");
  return kExitUsage;
}

int CKvplanSession::WriteJson(const std::string& text) {
  if (m_options.json.empty()) return kExitOk;
  if (m_options.json == "-") {
    m_out << text;
    return kExitOk;
  }
  if (!FileStore().Write(m_options.json, text)) {
    m_err << "kvplan: cannot write " << m_options.json << "\n";
    return kExitFile;
  }
  return kExitOk;
}

int CKvplanSession::WriteTables(const CPlanGroup& group, const std::vector<int>& dives,
                                const CLostGasVariants* lostGas) {
  int rc = kExitOk;
  for (auto [path, gas] : {std::pair{m_options.tables, false}, std::pair{m_options.gasTables, true}}) {
    if (path.empty()) continue;
    if (!m_environment.writeTables(group, dives, path, gas, m_preferences.report, lostGas)) {
      m_err << "kvplan: cannot write " << path << "\n";
      rc = kExitFile;
    }
  }
  return rc;
}

int CKvplanSession::SavePlan(CPlanGroup& group, int index) {
  const std::string& path = m_options.save;
  if (path.empty()) return kExitOk;
  const bool diveFile = EndsWith(path, ".ccd") || (!EndsWith(path, ".ccp") && IsDiveFile(m_options.plan));
  if (!(diveFile ? group.ExportDive(path, index) : group.SavePlanGroup(path))) {
    m_err << "kvplan: cannot write " << path << "\n";
    return kExitFile;
  }
  return kExitOk;
}

int CKvplanSession::Finish(int code) {
  m_out.flush();
  if (!m_out) {
    m_err << "kvplan: cannot write to standard output\n";
    return kExitFile;
  }
  return code;
}

}  // namespace kv
