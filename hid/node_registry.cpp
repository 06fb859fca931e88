#include "hid/node_registry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "hid/hid_device.h"
#include "hid/hid_path.h"
#include "platform/trace.h"

namespace norvane::hid {

namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

size_t CollectionIndexOf(std::string_view path) {
  const uint16_t number = ParseCollectionNumber(path);
  return number == 0 ? 0 : number - 1u;
}

// True when `path` is exactly what this node gives the collection now.
bool PathMatchesNode(std::string_view path, const HidNodeInfo& info, const ReportDescriptor& descriptor,
                     size_t collection) {
  const size_t count = descriptor.collections.size();
  if (collection >= count) return false;
  const auto expected = BuildInterfacePath(info, collection, count);
  return expected && SameTextIgnoringCase(*expected, path);
}

struct Registry {
  std::mutex mutex;
  std::map<std::pair<const HidBackend*, std::string>, std::weak_ptr<HidNode>> nodes;
};

// Process-wide by nature: a node has one reader however many handles are open on it.
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

CollectionOpening OpenCollection(HidBackend& backend, std::string_view path) {
  CollectionOpening result;
  const auto parts = SplitInterfacePath(path);
  if (!parts) {
    result.error = OpenError::kNotFound;
    return result;
  }
  const size_t collection = CollectionIndexOf(path);

  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  std::erase_if(registry.nodes, [](const auto& entry) { return entry.second.expired(); });
  const auto key = std::make_pair(static_cast<const HidBackend*>(&backend), parts->node_id);

  if (const auto it = registry.nodes.find(key); it != registry.nodes.end()) {
    if (auto node = it->second.lock(); node && !node->IsGone()) {
      if (!PathMatchesNode(path, node->Info(), node->Descriptor(), collection)) {
        result.error = OpenError::kIdentityMismatch;
        return result;
      }
      result.node = std::move(node);
      result.collection = collection;
      return result;
    }
  }

  const auto nodes = backend.Enumerate();
  if (!nodes) {
    result.error = OpenError::kIoError;
    return result;
  }
  const auto found = std::find_if(nodes->begin(), nodes->end(),
                                  [&](const HidNodeInfo& info) { return info.node_id == parts->node_id; });
  if (found == nodes->end()) {
    result.error = OpenError::kNotFound;
    return result;
  }
  auto parsed = ParseReportDescriptor(found->report_descriptor);
  if (!parsed.descriptor) {
    Trace("hid: " + found->node_id + ": report descriptor rejected: " + parsed.error);
    result.error = OpenError::kIoError;
    return result;
  }
  if (!PathMatchesNode(path, *found, *parsed.descriptor, collection)) {
    result.error = OpenError::kIdentityMismatch;
    return result;
  }
  OpenError error = OpenError::kNone;
  auto connection = backend.Open(found->node_id, &*found, error);
  if (!connection) {
    result.error = error == OpenError::kNone ? OpenError::kIoError : error;
    return result;
  }
  auto node = std::make_shared<HidNode>(std::move(connection), *found, std::move(*parsed.descriptor));
  registry.nodes[key] = node;
  result.node = std::move(node);
  result.collection = collection;
  return result;
}

}  // namespace norvane::hid
