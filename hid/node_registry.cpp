#include "hid/node_registry.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "hid/hid_device.h"
#include "hid/hid_path.h"
#include "hid/hotplug_listeners.h"
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

// How long the node list of an enumeration stands in for a new one when a path is opened.
constexpr std::chrono::milliseconds kRecentEnumerationLife{1000};

struct RecentEnumeration {
  const HidBackend* backend = nullptr;
  std::chrono::steady_clock::time_point taken;
  std::vector<HidNodeInfo> nodes;
};

struct Registry {
  std::mutex mutex;
  std::map<std::pair<const HidBackend*, std::string>, std::weak_ptr<HidNode>> nodes;
  std::optional<RecentEnumeration> recent;
};

// Opens the node `info` describes for the collection `path` names; the backend checks on the open node that
// it still belongs to that device.
CollectionOpening OpenNode(HidBackend& backend, const HidNodeInfo& info, std::string_view path,
                           size_t collection) {
  CollectionOpening result;
  auto parsed = ParseReportDescriptor(info.report_descriptor);
  if (!parsed.descriptor) {
    Trace("hid: " + info.node_id + ": report descriptor rejected: " + parsed.error);
    result.error = OpenError::kIoError;
    return result;
  }
  if (!PathMatchesNode(path, info, *parsed.descriptor, collection)) {
    result.error = OpenError::kIdentityMismatch;
    return result;
  }
  OpenError error = OpenError::kNone;
  auto connection = backend.Open(info.node_id, &info, error);
  if (!connection) {
    result.error = error == OpenError::kNone ? OpenError::kIoError : error;
    return result;
  }
  result.node = std::make_shared<HidNode>(std::move(connection), info, std::move(*parsed.descriptor));
  result.collection = collection;
  return result;
}

// Process-wide by nature: a node has one reader however many handles are open on it.
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

HotplugListeners& NodeLossListeners() {
  static const std::shared_ptr<HotplugListeners> listeners = std::make_shared<HotplugListeners>();
  return *listeners;
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

  // The scan enumerates and then opens each candidate at once: use that fresh list rather than enumerating
  // again for every path. A miss or a failure with the remembered details falls back to a new enumeration.
  if (registry.recent && registry.recent->backend == &backend &&
      std::chrono::steady_clock::now() - registry.recent->taken < kRecentEnumerationLife) {
    const auto& nodes = registry.recent->nodes;
    const auto found = std::find_if(nodes.begin(), nodes.end(),
                                    [&](const HidNodeInfo& info) { return info.node_id == parts->node_id; });
    if (found != nodes.end()) {
      CollectionOpening opened = OpenNode(backend, *found, path, collection);
      if (opened.node) {
        registry.nodes[key] = opened.node;
        return opened;
      }
    }
  }
  registry.recent.reset();

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
  result = OpenNode(backend, *found, path, collection);
  if (result.node) registry.nodes[key] = result.node;
  return result;
}

void RememberEnumeration(const HidBackend& backend, std::vector<HidNodeInfo> nodes) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.recent = RecentEnumeration{&backend, std::chrono::steady_clock::now(), std::move(nodes)};
}

void ForgetEnumeration() {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.recent.reset();
}

bool IsHeldNodeGone(const HidBackend& backend, std::string_view path) {
  const auto parts = SplitInterfacePath(path);
  if (!parts) return false;
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  const auto it = registry.nodes.find(std::make_pair(&backend, parts->node_id));
  if (it == registry.nodes.end()) return false;
  const std::shared_ptr<HidNode> node = it->second.lock();
  return node && node->IsGone();
}

std::unique_ptr<HotplugSubscription> WatchNodeLoss(std::function<void()> on_loss) {
  return NodeLossListeners().Add(std::move(on_loss));
}

void NotifyNodeLost() {
  NodeLossListeners().NotifyAll();
}

}  // namespace norvane::hid
