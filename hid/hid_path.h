#pragma once
// One path per top-level collection of a node:
//   <node id>#vid_320f&pid_5055[&mi_01][&col04]#<usb location>
// "&mi_" only when the USB device is composite, "&col" only when the node has two or more collections
// (numbered from 01 in descriptor order). Lower-case hex. The markers occur nowhere else in a path, so the
// path parse functions read the numbers straight from the text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "hid/hid_backend.h"

namespace norvane::hid {

struct InterfacePathParts {
  std::string node_id;
  std::string identity;  // the middle part: vid, pid, interface and collection markers
  std::string usb_location;
};

// nullopt when the node id or the location would break the shape (a '#' or a marker inside them).
std::optional<std::string> BuildInterfacePath(const HidNodeInfo& node, size_t collection_index,
                                              size_t collection_count);

// nullopt when the text does not have the three parts.
std::optional<InterfacePathParts> SplitInterfacePath(std::string_view path);

}  // namespace norvane::hid
