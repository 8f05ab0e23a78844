#pragma once
// The plan group's notifications on the Qt event loop: each queued
// notification schedules one delivery pass on the window's thread, so the
// window handles them after the operation that sent them has returned, in
// order. While long work runs on a worker thread the pass is put off; the
// work's owner delivers once the worker has ended.

#include <QObject>

#include <functional>

#include "plan/plan_group.h"

namespace kv::app {

class CQtPlanSink final : public QObject, public kv::IPlanGroupSink {
  Q_OBJECT
public:
  using Handler = std::function<void(const kv::SPlanNotification&)>;

  CQtPlanSink(kv::CPlanGroup& plan, Handler handler, QObject* parent = nullptr);
  ~CQtPlanSink() override;

  // May be called on any thread.
  void NotificationQueued() override;
  void Deliver(const kv::SPlanNotification& notification) override;

  // Delivers what is pending now (window's thread, no work running).
  void DeliverPending();

private:
  kv::CPlanGroup& m_plan;
  Handler m_handler;
};

}  // namespace kv::app
