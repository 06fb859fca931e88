#pragma once
// The listeners of one hotplug source. A subscription removes its listener when destroyed and, unless it is
// destroyed by a listener call itself, waits for a call in progress to end, so a listener never runs after
// its owner let go of it.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "hid/hid_backend.h"

namespace norvane::hid {

class HotplugListeners : public std::enable_shared_from_this<HotplugListeners> {
 public:
  std::unique_ptr<HotplugSubscription> Add(std::function<void()> listener);
  // Calls every listener once. Calls from several threads take turns.
  void NotifyAll();
  bool Empty() const;

 private:
  class Subscription;
  void Remove(uint64_t id);

  std::mutex notify_mutex_;  // one NotifyAll at a time
  mutable std::mutex mutex_;
  std::condition_variable call_ended_;
  std::map<uint64_t, std::function<void()>> listeners_;
  uint64_t next_id_ = 1;
  uint64_t calling_id_ = 0;  // the listener being called now, 0 for none
  std::thread::id calling_thread_;
};

}  // namespace norvane::hid
