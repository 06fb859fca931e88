#include "hid/hotplug_listeners.h"

#include <vector>

namespace norvane::hid {

class HotplugListeners::Subscription final : public HotplugSubscription {
 public:
  Subscription(std::weak_ptr<HotplugListeners> owner, uint64_t id) : owner_(std::move(owner)), id_(id) {}
  ~Subscription() override {
    if (auto owner = owner_.lock()) owner->Remove(id_);
  }

 private:
  std::weak_ptr<HotplugListeners> owner_;
  uint64_t id_;
};

std::unique_ptr<HotplugSubscription> HotplugListeners::Add(std::function<void()> listener) {
  std::lock_guard lock(mutex_);
  const uint64_t id = next_id_++;
  listeners_.emplace(id, std::move(listener));
  return std::make_unique<Subscription>(weak_from_this(), id);
}

void HotplugListeners::Remove(uint64_t id) {
  std::unique_lock lock(mutex_);
  listeners_.erase(id);
  if (calling_thread_ == std::this_thread::get_id()) return;  // removed from inside its own call
  call_ended_.wait(lock, [&] { return calling_id_ != id; });
}

void HotplugListeners::NotifyAll() {
  std::lock_guard turn(notify_mutex_);
  std::unique_lock lock(mutex_);
  std::vector<uint64_t> ids;
  for (const auto& entry : listeners_) ids.push_back(entry.first);
  for (const uint64_t id : ids) {
    const auto it = listeners_.find(id);
    if (it == listeners_.end()) continue;  // removed by an earlier call
    std::function<void()> listener = it->second;
    calling_id_ = id;
    calling_thread_ = std::this_thread::get_id();
    lock.unlock();
    listener();
    lock.lock();
    calling_id_ = 0;
    calling_thread_ = {};
    call_ended_.notify_all();
  }
}

bool HotplugListeners::Empty() const {
  std::lock_guard lock(mutex_);
  return listeners_.empty();
}

}  // namespace norvane::hid
