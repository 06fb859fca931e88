#pragma once
// Finds or opens the node behind a collection path. One HidNode per node and backend, shared by every
// handle on any of its collections; an entry lives as long as some handle holds the node.

#include <cstddef>
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

}  // namespace norvane::hid
