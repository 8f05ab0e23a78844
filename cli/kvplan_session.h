#pragma once
// One run of a kvplan command: the checks of the files named on the command
// line, the preferences, status log and prompt the run installs (and puts
// back), loading the plan, writing the outputs and the exit code. Every
// command goes through it, so all of them refuse and report the same way.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/kvplan_app.h"
#include "cli/kvplan_options.h"
#include "frontend/preference_snapshots.h"

namespace kv {

class CCliPrompt;
class CLostGasVariants;
class CPlanGroup;

class CKvplanSession {
public:
  CKvplanSession(const SKvplanOptions& options, const SKvplanEnvironment& environment, std::ostream& out,
                 std::ostream& err);
  ~CKvplanSession();
  CKvplanSession(const CKvplanSession&) = delete;
  CKvplanSession& operator=(const CKvplanSession&) = delete;

  const SKvplanOptions& Options() const { return m_options; }
  // Standard error is a terminal, where progress may rewrite its line.
  bool ErrIsTerminal() const { return m_environment.errIsTerminal; }
  std::ostream& Out() { return m_out; }
  std::ostream& Err() { return m_err; }

  // Refuses outputs that name an input or each other (kExitUsage) or that are
  // not regular files (kExitFile); sets up the preferences (--prefs, --set,
  // refused outside their ranges with kExitUsage), opens the status log for
  // appending (kExitFile when it cannot be written) and installs the prompt.
  // Takes the snapshots of the preferences the run uses: one set of units for
  // its calculations, texts and tables alike.
  // Returns kExitOk, or the exit code after writing why to standard error.
  int Start();
  const SPreferenceSnapshot& Preferences() const { return m_preferences; }
  const SReportOptions& ReportOptions() const { return m_preferences.report; }
  // Loads PLAN into group, a dive file as a plan of one dive with the user's
  // plan defaults; the group does not calculate on its own and calculates
  // with the run's settings. On failure the
  // file's message and a line naming the file and the first reason; kExitFile.
  // Says which --set values the file overrides with its own.
  int LoadPlan(CPlanGroup& group);
  // A --dive N (from 1; 0 for none) that the loaded plan does not have:
  // kExitUsage after saying how many dives it has.
  int CheckDiveNumber(const CPlanGroup& group, int dive);

  // --json: the text to the file or to standard output. kExitFile when the
  // file cannot be written.
  int WriteJson(const std::string& text);
  // --tables and --gas-tables of the given dives, with their lost-gas
  // variants' tables when given.
  int WriteTables(const CPlanGroup& group, const std::vector<int>& dives, const CLostGasVariants* lostGas = nullptr);
  // --save: the plan, or dive index alone as a dive file when the name ends
  // in ".ccd" (or, for other names than ".ccp", when PLAN is a dive file).
  // kExitFile when it cannot be written.
  int SavePlan(CPlanGroup& group, int index);
  // Flushes standard output: a run whose output was lost (a full disk behind
  // a redirection) ends with kExitFile, never 0.
  int Finish(int code);

private:
  int CheckOutputs();
  int SetUpPreferences();
  int OpenLog();
  void ReportOverriddenSettings(bool diveFile);

  const SKvplanOptions& m_options;
  const SKvplanEnvironment& m_environment;
  std::ostream& m_out;
  std::ostream& m_err;
  std::unique_ptr<CCliPrompt> m_prompt;
  SPreferenceSnapshot m_preferences;
};

}  // namespace kv
