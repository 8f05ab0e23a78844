#pragma once
// Helpers for the plan tests: a sink that records notifications, a file store
// that fails on demand, and short ways to give a dive its points.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/status_log.h"
#include "base/text.h"
#include "plan/file_store.h"
#include "plan/plan_group.h"
#include "support/test_support.h"

namespace kv::test {

class CRecordingSink final : public IPlanGroupSink {
public:
  void NotificationQueued() override { ++queued; }
  void Deliver(const SPlanNotification& n) override {
    received.push_back(n);
    if (onDeliver) onDeliver(n);
  }
  int queued = 0;
  std::vector<SPlanNotification> received;
  std::function<void(const SPlanNotification&)> onDeliver;
};

// A plan group whose notifications a test collects with Drain().
class CPlanGroupFixture : public ::testing::Test {
protected:
  void SetUp() override { group.SetSink(&sink); }
  // Delivers what the group queued and returns it.
  std::vector<SPlanNotification> Drain() {
    sink.received.clear();
    group.DeliverNotifications();
    return sink.received;
  }

  CTestEnvironment env;
  CRecordingSink sink;
  CPlanGroup group;
};

inline SPlanNotification Modified() { return {EPlanNotification::ModifiedChanged, -1, 0}; }
inline SPlanNotification Calculated(int dive) { return {EPlanNotification::DiveCalculated, dive, 0}; }
inline SPlanNotification Loaded(int dive) { return {EPlanNotification::PlanGroupLoaded, dive, 0}; }

// The disk store, except that writes (or reads) fail while told to.
class CFailingFileStore final : public IFileStore {
public:
  bool Read(const std::string& path, std::string& content) override {
    return !failReads && disk.Read(path, content);
  }
  bool Write(const std::string& path, const std::string& content) override {
    return !failWrites && disk.Write(path, content);
  }
  CDiskFileStore disk;
  bool failReads = false;
  bool failWrites = false;
};

inline CPlanPoint Point(double depth, int seconds, double oxygen = 21.0, double helium = 0.0, bool cc = false,
                        double setpoint = 0.7) {
  CPlanPoint p;
  p.SetDepth(depth);
  p.m_duration = seconds;
  p.m_oxygen = oxygen;
  p.m_helium = helium;
  p.m_closedCircuit = cc;
  p.m_setpoint = setpoint;
  return p;
}

// A surface point and one level of depth for minutes on air.
inline void GiveSquareDive(CDivePlan& dive, double depth, int minutes) {
  dive.AppendUserPoint(Point(0, 0));
  dive.AppendUserPoint(Point(depth, minutes * 60));
}

inline void WriteFile(const std::string& path, const std::string& content) {
  CDiskFileStore().Write(path, content);
}

// The status log of a test, with every level switched on.
class CTestLog {
public:
  explicit CTestLog(CTestEnvironment& env) : path(TempDir() + "/StatusLog.txt") {
    env.store->numbers["Debug Level"] = 4;
    StatusLog().OpenLogAt(path, false);
  }
  ~CTestLog() { StatusLog().Close(); }
  std::string Text() const { return ReadFile(path); }
  bool Has(const std::string& text) const { return Text().find(text) != std::string::npos; }
  std::string path;
};

}  // namespace kv::test
