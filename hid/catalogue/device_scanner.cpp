#include "hid/catalogue/device_scanner.h"

#include <algorithm>

#include "hid/hid_device.h"
#include "hid/node_registry.h"
#include "platform/trace.h"

namespace norvane::hid::catalogue {

namespace {

bool IsFree(const InterfaceEntry& entry) {
  return !entry.claimed && entry.path.empty();
}

bool SameNumbers(const InterfaceEntry& entry, const InterfaceProbe& probe) {
  return entry.vendor_id == probe.vendor_id && entry.product_id == probe.product_id &&
         entry.interface_number == probe.interface_number &&
         entry.collection_number == probe.collection_number && entry.usage_page == probe.usage_page &&
         entry.usage == probe.usage;
}

// The interface is really gone (as opposed to a passing failure to look at it).
bool MeansGone(OpenError error) {
  return error == OpenError::kNotFound || error == OpenError::kIdentityMismatch;
}

}  // namespace

DeviceScanner::DeviceScanner(ScanListener& listener) : DeviceScanner(listener, Options{}) {}

DeviceScanner::DeviceScanner(ScanListener& listener, Options options)
    : listener_(listener), options_(options), entries_(MakeInterfaceList()) {}

DeviceScanner::~DeviceScanner() {
  Stop();
}

void DeviceScanner::Start() {
  if (thread_.joinable()) return;
  hotplug_ = ActiveHidBackend().WatchHotplug([this] { Wake(); });
  node_loss_ = WatchNodeLoss([this] { Wake(); });
  thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void DeviceScanner::Stop() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  {
    std::lock_guard lock(wake_mutex_);
    wake_.notify_all();
  }
  // Every wait of the thread ends on the stop request, and listeners give up on it, so the join is
  // bounded by the listener's own slice.
  const auto started = std::chrono::steady_clock::now();
  thread_.join();
  if (std::chrono::steady_clock::now() - started > options_.stop_wait) {
    Trace("device scan: the scan thread overran its stop time");
  }
  hotplug_.reset();
  node_loss_.reset();
  Trace("device scan: thread ended");
}

void DeviceScanner::Wake() {
  std::lock_guard lock(wake_mutex_);
  changed_ = true;
  wake_.notify_all();
}

std::vector<InterfaceEntry> DeviceScanner::Entries() const {
  std::lock_guard lock(list_mutex_);
  return entries_;
}

std::optional<InterfaceEntry> DeviceScanner::Entry(std::size_t index) const {
  std::lock_guard lock(list_mutex_);
  if (index >= entries_.size()) return std::nullopt;
  return entries_[index];
}

void DeviceScanner::Run(std::stop_token stop) {
  const bool polling = hotplug_ == nullptr;
  bool first_pass = true;
  int passes_due = 1;
  bool settling = false;
  while (!stop.stop_requested()) {
    if (passes_due > 0 || polling) {
      if (passes_due > 0) --passes_due;
      const PassOutcome outcome = RunPass(stop);
      if (first_pass) {
        first_pass = false;
        listener_.FirstPassDone();
      }
      if (outcome == PassOutcome::kStopped) break;
      if (outcome == PassOutcome::kRetry) passes_due = std::max(passes_due, 1);
    }
    std::unique_lock lock(wake_mutex_);
    const auto wait = settling ? options_.settle_interval : options_.pass_interval;
    // With hotplug notifications and nothing due, the thread sleeps until a change or the stop.
    const bool timed = polling || settling || passes_due > 0;
    settling = false;
    const bool woken = timed ? wake_.wait_for(lock, stop, wait, [this] { return changed_; })
                             : wake_.wait(lock, stop, [this] { return changed_; });
    if (woken) {
      changed_ = false;
      // Now, and once more shortly after for what was still settling (a node whose end its reader had
      // not seen yet): a removal is then seen well within a pass interval.
      passes_due = 2;
      settling = true;
    }
  }
}

DeviceScanner::PassOutcome DeviceScanner::RunPass(std::stop_token stop) {
  PassOutcome outcome = PassOutcome::kDone;
  if (HasFreeEntry()) outcome = Enumerate(stop);
  if (outcome == PassOutcome::kStopped) return outcome;
  const PassOutcome removal = ProbeRemovals(stop);
  if (removal != PassOutcome::kDone) return removal;
  return outcome;
}

bool DeviceScanner::HasFreeEntry() const {
  std::lock_guard lock(list_mutex_);
  return std::any_of(entries_.begin(), entries_.end(), IsFree);
}

bool DeviceScanner::IsCandidate(const std::string& path) const {
  const uint16_t vendor = ParseVendorId(path);
  const uint16_t product = ParseProductId(path);
  const uint16_t interface_number = ParseInterfaceNumber(path);
  const uint16_t collection = ParseCollectionNumber(path);
  if (!FindCandidateRow(vendor, product, interface_number, collection)) return false;
  std::lock_guard lock(list_mutex_);
  return std::any_of(entries_.begin(), entries_.end(), [&](const InterfaceEntry& entry) {
    return IsFree(entry) && entry.vendor_id == vendor && entry.product_id == product &&
           entry.interface_number == interface_number && entry.collection_number == collection;
  });
}

std::optional<std::size_t> DeviceScanner::Claim(const InterfaceProbe& probe, const std::string& path) {
  std::lock_guard lock(list_mutex_);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    InterfaceEntry& entry = entries_[i];
    if (IsFree(entry) && SameNumbers(entry, probe)) {
      entry.claimed = true;
      entry.path = path;
      return i;
    }
  }
  return std::nullopt;
}

DeviceScanner::PassOutcome DeviceScanner::Enumerate(std::stop_token stop) {
  HidDevice probe;
  ++enumerations_;
  if (probe.EnumerateInterfaces() == 0) {
    Trace("device scan: enumeration failed; trying again on the next pass");
    return PassOutcome::kRetry;
  }
  PassOutcome outcome = PassOutcome::kDone;
  while (const std::string* next = probe.NextInterfacePath()) {
    if (stop.stop_requested()) return PassOutcome::kStopped;
    const std::string path = *next;
    if (!IsCandidate(path)) continue;
    HidDevice opened;
    if (opened.Open(path, true, false, true, false) == 0) {
      if (opened.LastOpenError() == OpenError::kPermissionDenied) Trace(PermissionHint());
      outcome = PassOutcome::kRetry;
      continue;
    }
    InterfaceProbe found;
    found.vendor_id = opened.Attributes().vendor_id;
    found.product_id = opened.Attributes().product_id;
    found.interface_number = ParseInterfaceNumber(path);
    found.collection_number = ParseCollectionNumber(path);
    found.usage_page = opened.Caps().usage_page;
    found.usage = opened.Caps().usage;
    opened.Close();
    if (!MatchInterfaceRow(found)) continue;
    const auto index = Claim(found, path);
    if (!index) continue;
    Trace("device scan: found " + path);
    if (!listener_.InterfaceFound(*index, stop)) return PassOutcome::kStopped;
  }
  probe.ClearInterfacePaths();
  return outcome;
}

DeviceScanner::PassOutcome DeviceScanner::ProbeRemovals(std::stop_token stop) {
  PassOutcome outcome = PassOutcome::kDone;
  const std::vector<InterfaceEntry> entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].claimed) continue;
    if (stop.stop_requested()) return PassOutcome::kStopped;
    // A device unplugged and plugged back before this look (while the scanner was stopped for the
    // system's sleep, or between two passes) opens again under its old path, but the node its users hold
    // is dead: it is lost all the same, and the next pass finds it as the new device it is.
    const bool replugged = IsHeldNodeGone(ActiveHidBackend(), entries[i].path);
    if (replugged) {
      outcome = PassOutcome::kRetry;
    } else {
      HidDevice presence;
      if (presence.Open(entries[i].path, false, false, false, false) != 0) continue;
      if (!MeansGone(presence.LastOpenError())) {
        outcome = PassOutcome::kRetry;
        continue;
      }
    }
    {
      std::lock_guard lock(list_mutex_);
      entries_[i].claimed = false;
      entries_[i].path.clear();
    }
    Trace("device scan: lost " + entries[i].path);
    if (!listener_.InterfaceLost(i, stop)) return PassOutcome::kStopped;
  }
  return outcome;
}

}  // namespace norvane::hid::catalogue
