#include "hid/hid_device.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "hid/handle_link.h"
#include "hid/hid_node.h"
#include "hid/hid_path.h"
#include "hid/node_registry.h"
#include "hid/usage_table.h"
#include "platform/trace.h"

namespace norvane::hid {

namespace {

size_t TypeIndex(ReportType type) {
  const auto index = static_cast<size_t>(type);
  return index < kReportTypeCount ? index : 0;
}

}  // namespace

struct HidDevice::State {
  // Path list.
  std::vector<std::string> paths;
  size_t cursor = 0;

  // Open flags of the last Open.
  bool read_access = false;
  bool write_access = false;
  bool overlapped = false;
  bool exclusive = false;

  std::string path;
  OpenError last_open_error = OpenError::kNone;

  // The opening. Replaced only while no transfer runs (see BeginTransfer / Close).
  std::shared_ptr<HidNode> node;
  std::shared_ptr<HandleLink> link;
  size_t collection = 0;
  HidAttributes attributes;
  HidCaps caps;
  std::array<std::vector<uint8_t>, kReportTypeCount> buffers;
  std::array<UsageTable, kReportTypeCount> usage;
  uint32_t interface_number = 0;
  uint32_t collection_number = 0;

  std::atomic<bool> open{false};
  std::mutex mutex;  // guards the opening against Close from another thread and counts transfers
  std::condition_variable transfers_ended;
  int transfers = 0;
  bool closing = false;
};

namespace {

// Holds the opening of a HidDevice for the length of one transfer, so that Close waits for it.
class TransferScope {
 public:
  TransferScope(std::mutex& mutex, std::condition_variable& ended, int& transfers)
      : mutex_(mutex), ended_(ended), transfers_(transfers) {}
  ~TransferScope() {
    if (!active_) return;
    // Notify under the lock: once Close sees no transfer it may destroy the record, condition included.
    std::lock_guard lock(mutex_);
    --transfers_;
    ended_.notify_all();
  }
  TransferScope(const TransferScope&) = delete;
  TransferScope& operator=(const TransferScope&) = delete;
  void Activate() {
    ++transfers_;  // under the caller's lock
    active_ = true;
  }

 private:
  std::mutex& mutex_;
  std::condition_variable& ended_;
  int& transfers_;
  bool active_ = false;
};

}  // namespace

HidDevice::HidDevice() : state_(std::make_unique<State>()) {}

HidDevice::~HidDevice() {
  Close();
}

int HidDevice::EnumerateInterfaces() {
  state_->cursor = 0;
  state_->paths.clear();
  HidBackend& backend = ActiveHidBackend();
  const auto nodes = backend.Enumerate();
  if (!nodes) return 0;
  RememberEnumeration(backend, *nodes);
  for (const HidNodeInfo& node : *nodes) {
    // An interface we cannot make sense of is skipped; the others are still listed.
    const auto parsed = ParseReportDescriptor(node.report_descriptor);
    if (!parsed.descriptor) {
      Trace("hid: skipping " + node.node_id + ": " + parsed.error);
      continue;
    }
    const size_t count = parsed.descriptor->collections.size();
    for (size_t c = 0; c < count; ++c) {
      if (auto path = BuildInterfacePath(node, c, count)) {
        state_->paths.push_back(std::move(*path));
      } else {
        Trace("hid: skipping " + node.node_id + ": its name does not fit a path");
        break;
      }
    }
  }
  return 1;
}

const std::string* HidDevice::NextInterfacePath() {
  if (state_->cursor >= state_->paths.size()) return nullptr;
  return &state_->paths[state_->cursor++];
}

void HidDevice::ClearInterfacePaths() {
  state_->paths.clear();
  state_->cursor = 0;
}

size_t HidDevice::InterfacePathCount() const {
  return state_->paths.size();
}

int HidDevice::Open(std::string_view path, bool read_access, bool write_access, bool overlapped,
                    bool exclusive) {
  const std::string requested(path);  // `path` may view this record's own Path()
  Close();
  State& s = *state_;
  s.attributes = HidAttributes{};
  s.caps = HidCaps{};
  s.interface_number = 0;
  s.collection_number = 0;
  for (size_t type = 0; type < kReportTypeCount; ++type) {
    s.buffers[type].clear();
    s.usage[type] = UsageTable();
  }
  s.read_access = read_access;
  s.write_access = write_access;
  s.overlapped = overlapped;
  s.exclusive = exclusive;
  s.path = requested;

  // Every transfer here has a time limit and a cancel, overlapped or not; the flag is only kept.
  CollectionOpening opening = OpenCollection(ActiveHidBackend(), requested);
  if (!opening.node) {
    s.last_open_error = opening.error;
    return 0;
  }
  // A fresh link per opening: a cancel raised by an earlier Close cannot reach this opening's transfers.
  auto link = std::make_shared<HandleLink>();
  if (!opening.node->Attach(opening.collection, link, write_access, exclusive)) {
    s.last_open_error = OpenError::kIoError;  // shared access refused by an exclusive opening
    return 0;
  }

  const HidNodeInfo& info = opening.node->Info();
  const TopLevelCollection& tlc = opening.node->Descriptor().collections[opening.collection];
  s.attributes = {info.vendor_id, info.product_id, info.version};
  HidCaps caps;
  caps.usage = tlc.usage;
  caps.usage_page = tlc.usage_page;
  const ReportLayout& input = tlc.Layout(DescriptorReportType::kInput);
  const ReportLayout& output = tlc.Layout(DescriptorReportType::kOutput);
  const ReportLayout& feature = tlc.Layout(DescriptorReportType::kFeature);
  caps.input_report_byte_length = input.byte_length;
  caps.output_report_byte_length = output.byte_length;
  caps.feature_report_byte_length = feature.byte_length;
  const auto count = [](size_t n) { return static_cast<uint16_t>(std::min<size_t>(n, 0xFFFF)); };
  caps.number_input_button_caps = count(input.buttons.size());
  caps.number_input_value_caps = count(input.values.size());
  caps.number_output_button_caps = count(output.buttons.size());
  caps.number_output_value_caps = count(output.values.size());
  caps.number_feature_button_caps = count(feature.buttons.size());
  caps.number_feature_value_caps = count(feature.values.size());
  s.caps = caps;
  for (size_t type = 0; type < kReportTypeCount; ++type) {
    s.buffers[type].assign(tlc.reports[type].byte_length, 0);
    s.usage[type] = UsageTable(tlc.reports[type]);
  }
  s.interface_number = ParseInterfaceNumber(requested);
  s.collection_number = ParseCollectionNumber(requested);

  std::lock_guard lock(s.mutex);
  s.node = std::move(opening.node);
  s.link = std::move(link);
  s.collection = opening.collection;
  s.closing = false;
  s.last_open_error = OpenError::kNone;
  s.open = true;
  return 1;
}

void HidDevice::Close() {
  State& s = *state_;
  std::shared_ptr<HidNode> node;
  std::shared_ptr<HandleLink> link;
  {
    std::unique_lock lock(s.mutex);
    if (!s.node) return;
    s.closing = true;
    s.open = false;
    // Release a waiting transfer, then let it finish before anything it may touch goes away.
    s.link->Cancel();
    s.transfers_ended.wait(lock, [&] { return s.transfers == 0; });
    node = std::move(s.node);
    link = std::move(s.link);
  }
  node->Detach(s.collection, link.get(), s.write_access, s.exclusive);
  // The report buffers and usage arrays stay allocated (though no longer handed out) until the next Open
  // or destruction: another thread may still hold a span it borrowed while the interface was open.
  // `node` may be the last reference: the node's thread ends and its connection closes here.
}

bool HidDevice::IsOpen() const {
  return state_->open.load();
}

OpenError HidDevice::LastOpenError() const {
  return state_->last_open_error;
}

int HidDevice::ReadReport(std::span<uint8_t> buffer, uint32_t* bytes_read, uint32_t timeout_ms) {
  if (bytes_read != nullptr) *bytes_read = 0;
  State& s = *state_;
  TransferScope scope(s.mutex, s.transfers_ended, s.transfers);
  std::shared_ptr<HandleLink> link;
  size_t report_length = 0;
  {
    std::lock_guard lock(s.mutex);
    if (!s.node || s.closing || !s.read_access) return 0;
    report_length = s.caps.input_report_byte_length;
    if (report_length == 0 || buffer.size() < report_length) return 0;  // the report would not fit
    link = s.link;
    scope.Activate();
  }
  std::vector<uint8_t> report;
  if (link->PopReport(report, HandleLink::DeadlineAfter(timeout_ms)) != WaitOutcome::kDone) return 0;
  const size_t length = std::min(report.size(), buffer.size());
  std::copy_n(report.begin(), length, buffer.begin());
  if (bytes_read != nullptr) *bytes_read = static_cast<uint32_t>(length);
  return 1;
}

int HidDevice::WriteReport(std::span<const uint8_t> buffer, uint32_t* bytes_written, uint32_t timeout_ms) {
  return SendOutput(buffer, bytes_written, timeout_ms, false);
}

int HidDevice::SetOutputReport(std::span<const uint8_t> report, uint32_t timeout_ms) {
  return SendOutput(report, nullptr, timeout_ms, true);
}

int HidDevice::SendOutput(std::span<const uint8_t> buffer, uint32_t* bytes_written, uint32_t timeout_ms,
                          bool control_pipe) {
  if (bytes_written != nullptr) *bytes_written = 0;
  State& s = *state_;
  TransferScope scope(s.mutex, s.transfers_ended, s.transfers);
  std::shared_ptr<HandleLink> link;
  std::shared_ptr<HidNode> node;
  {
    std::lock_guard lock(s.mutex);
    if (!s.node || s.closing || !s.write_access) return 0;
    const ReportLayout& output =
        s.node->Descriptor().collections[s.collection].Layout(DescriptorReportType::kOutput);
    // Only this collection's own output reports go out through its handle.
    if (buffer.empty() || buffer.size() > output.byte_length) return 0;
    if (std::find(output.report_ids.begin(), output.report_ids.end(), buffer[0]) == output.report_ids.end()) {
      return 0;
    }
    link = s.link;
    node = s.node;
    scope.Activate();
  }
  auto job = std::make_shared<WriteJob>();
  job->report.assign(buffer.begin(), buffer.end());
  job->control_pipe = control_pipe;
  if (!node->QueueWrite(link, job)) return 0;
  if (link->AwaitWrite(*job, HandleLink::DeadlineAfter(timeout_ms)) != WaitOutcome::kDone) return 0;
  if (bytes_written != nullptr) *bytes_written = static_cast<uint32_t>(buffer.size());
  return 1;
}

const std::string& HidDevice::Path() const {
  return state_->path;
}
const HidAttributes& HidDevice::Attributes() const {
  return state_->attributes;
}
const HidCaps& HidDevice::Caps() const {
  return state_->caps;
}

// Handed out only while open; see Close for why the storage outlives it.
std::span<uint8_t> HidDevice::ReportBuffer(ReportType type) {
  if (!IsOpen()) return {};
  return state_->buffers[TypeIndex(type)];
}

std::span<HidUsageData> HidDevice::UsageData(ReportType type) {
  if (!IsOpen()) return {};
  return state_->usage[TypeIndex(type)].Items();
}

uint32_t HidDevice::InterfaceNumber() const {
  return state_->interface_number;
}
uint32_t HidDevice::CollectionNumber() const {
  return state_->collection_number;
}

int HidDevice::DecodeInputReport(std::span<const uint8_t> report, ReportType type) {
  // Counts as a transfer: a Close from another thread waits until the usage array is no longer written.
  State& s = *state_;
  TransferScope scope(s.mutex, s.transfers_ended, s.transfers);
  {
    std::lock_guard lock(s.mutex);
    if (!s.node || s.closing) return 0;
    scope.Activate();
  }
  return s.usage[TypeIndex(type)].Decode(report);
}

}  // namespace norvane::hid
