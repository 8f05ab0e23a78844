#pragma once
// What the plan group tells its front end. Notifications are queued in the
// group and handed to the sink only when the front end asks for them, so a
// receiver never runs inside the operation that sent them.

namespace kv {

enum class EPlanNotification { ModifiedChanged, DiveCalculated, PlanGroupLoaded, DiveRowReset };

struct SPlanNotification {
  EPlanNotification kind = EPlanNotification::ModifiedChanged;
  int dive = -1;  // the dive concerned, or the dive to show after a load
  int row = 0;    // DiveRowReset: the profile row to select (999, none)

  bool operator==(const SPlanNotification&) const = default;
};

class IPlanGroupSink {
public:
  virtual ~IPlanGroupSink() = default;
  // A notification was queued. A front end with an event loop schedules a call
  // of CPlanGroup::DeliverNotifications here; it must not deliver at once.
  virtual void NotificationQueued() {}
  virtual void Deliver(const SPlanNotification& notification) = 0;
};

}  // namespace kv
