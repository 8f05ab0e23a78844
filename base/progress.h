#pragma once
// Long work (table generation, bailout planning, plans of many dives) reports
// progress and polls for cancellation here, between dives, never per second.

#include <string>

namespace kv {

class IProgress {
public:
  virtual ~IProgress() = default;
  virtual void SetRange(int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual bool IsCancelled() const = 0;
};

class CNullProgress final : public IProgress {
public:
  void SetRange(int) override {}
  void SetPosition(int) override {}
  void SetText(const std::string&) override {}
  bool IsCancelled() const override { return false; }
};

}  // namespace kv
