#include "app/platform/qt_plan_sink.h"

#include "app/platform/long_work.h"

namespace kv::app {

CQtPlanSink::CQtPlanSink(kv::CPlanGroup& plan, Handler handler, QObject* parent)
    : QObject(parent), m_plan(plan), m_handler(std::move(handler)) {
  m_plan.SetSink(this);
}

CQtPlanSink::~CQtPlanSink() { m_plan.SetSink(nullptr); }

void CQtPlanSink::NotificationQueued() {
  QMetaObject::invokeMethod(this, &CQtPlanSink::DeliverPending, Qt::QueuedConnection);
}

void CQtPlanSink::Deliver(const kv::SPlanNotification& notification) {
  if (m_handler) m_handler(notification);
}

void CQtPlanSink::DeliverPending() {
  // The worker is still adding to the queue: leave it to the work's end.
  if (CLongWork::IsBusy()) return;
  m_plan.DeliverNotifications();
}

}  // namespace kv::app
