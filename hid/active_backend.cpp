#include <mutex>
#include <utility>

#include "hid/hid_backend.h"
#include "hid/hidraw_backend.h"
#include "hid/node_registry.h"

namespace norvane::hid {

namespace {

struct ActiveBackend {
  std::mutex mutex;
  std::shared_ptr<HidBackend> backend;
};

// Process-wide: every HidDevice reaches the same set of nodes.
ActiveBackend& TheActiveBackend() {
  static ActiveBackend active;
  return active;
}

}  // namespace

HidBackend& ActiveHidBackend() {
  ActiveBackend& active = TheActiveBackend();
  std::lock_guard lock(active.mutex);
  if (!active.backend) active.backend = MakeHidrawBackend();
  return *active.backend;
}

std::shared_ptr<HidBackend> SetActiveHidBackend(std::shared_ptr<HidBackend> backend) {
  ForgetEnumeration();  // a new backend may reuse the old one's address
  ActiveBackend& active = TheActiveBackend();
  std::lock_guard lock(active.mutex);
  return std::exchange(active.backend, std::move(backend));
}

}  // namespace norvane::hid
