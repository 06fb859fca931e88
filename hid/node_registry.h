#pragma once
// Finds or opens the node behind a collection path. One HidNode per node and backend, shared by every
// handle on any of its collections; an entry lives as long as some handle holds the node.

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "hid/hid_backend.h"
#include "hid/hid_node.h"

namespace norvane::hid {

struct CollectionOpening {
  std::shared_ptr<HidNode> node;
  size_t collection = 0;  // index into the node's collections
  OpenError error = OpenError::kNone;
};

// The path must still name the same physical device: vendor, product, interface, collection and USB
// location are checked against the node, since node numbers are reused after a replug.
CollectionOpening OpenCollection(HidBackend& backend, std::string_view path);

// Lets OpenCollection use the node list an enumeration just produced instead of enumerating again; it is
// only trusted for a short while and never when opening with it fails.
void RememberEnumeration(const HidBackend& backend, std::vector<HidNodeInfo> nodes);
// Drops that list (a backend is being replaced).
void ForgetEnumeration();

// True while a handle still holds the node `path` names and that node has gone away. The path itself may
// open again (a device unplugged and plugged back between two looks at it gets the same node number), but
// every handle on the old node is dead.
[[nodiscard]] bool IsHeldNodeGone(const HidBackend& backend, std::string_view path);

// A node whose device goes away tells every watcher, on the node's I/O thread, so that whoever tracks the
// devices looks again even when no hotplug notification tells it (none arrives for what happened while it
// was not listening). NotifyNodeLost is the node's own call.
std::unique_ptr<HotplugSubscription> WatchNodeLoss(std::function<void()> on_loss);
void NotifyNodeLost();

}  // namespace norvane::hid
