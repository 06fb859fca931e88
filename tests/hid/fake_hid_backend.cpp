#include "tests/hid/fake_hid_backend.h"

namespace norvane::hid::testing {

namespace {

class FakeConnection final : public HidNodeConnection {
 public:
  explicit FakeConnection(std::shared_ptr<FakeNode> node) : node_(std::move(node)) {
    node_->ConnectionOpened();
  }
  ~FakeConnection() override { node_->ConnectionClosed(); }

  bool WriteOutput(std::span<const uint8_t> report) override { return node_->Write(report, false); }
  bool WriteOutputControl(std::span<const uint8_t> report) override { return node_->Write(report, true); }
  bool SetFeature(std::span<const uint8_t>) override { return false; }
  std::optional<size_t> GetFeature(std::span<uint8_t>) override { return std::nullopt; }
  ReadStatus ReadInput(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) override {
    return node_->Read(report, timeout);
  }
  void Wake() override { node_->Wake(); }

 private:
  std::shared_ptr<FakeNode> node_;
};

class NoHotplug final : public HotplugSubscription {};

}  // namespace

void FakeNode::Inject(std::vector<uint8_t> report) {
  {
    std::lock_guard lock(mutex_);
    inputs_.push_back(std::move(report));
  }
  changed_.notify_all();
}

void FakeNode::Unplug() {
  {
    std::lock_guard lock(mutex_);
    unplugged_ = true;
  }
  changed_.notify_all();
}

bool FakeNode::Unplugged() const {
  std::lock_guard lock(mutex_);
  return unplugged_;
}

void FakeNode::HoldWrites(bool hold) {
  {
    std::lock_guard lock(mutex_);
    hold_writes_ = hold;
  }
  changed_.notify_all();
}

void FakeNode::FailWrites(bool fail) {
  std::lock_guard lock(mutex_);
  fail_writes_ = fail;
}

std::vector<std::vector<uint8_t>> FakeNode::Writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

size_t FakeNode::WritesStarted() const {
  std::lock_guard lock(mutex_);
  return writes_started_;
}

int FakeNode::LiveConnections() const {
  std::lock_guard lock(mutex_);
  return live_connections_;
}

int FakeNode::OpensSoFar() const {
  std::lock_guard lock(mutex_);
  return opens_;
}

void FakeNode::ConnectionOpened() {
  std::lock_guard lock(mutex_);
  ++live_connections_;
  ++opens_;
}

void FakeNode::ConnectionClosed() {
  std::lock_guard lock(mutex_);
  --live_connections_;
}

size_t FakeNode::ControlPipeWrites() const {
  std::lock_guard lock(mutex_);
  return control_pipe_writes_;
}

bool FakeNode::Write(std::span<const uint8_t> report, bool control_pipe) {
  std::unique_lock lock(mutex_);
  ++writes_started_;
  changed_.wait(lock, [&] { return !hold_writes_ || unplugged_; });
  if (unplugged_ || fail_writes_) return false;
  writes_.emplace_back(report.begin(), report.end());
  if (control_pipe) ++control_pipe_writes_;
  return true;
}

ReadStatus FakeNode::Read(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return !inputs_.empty() || unplugged_ || woken_; });
  if (woken_) {
    woken_ = false;
    return ReadStatus::kWoken;
  }
  if (!inputs_.empty()) {
    report = std::move(inputs_.front());
    inputs_.pop_front();
    return ReadStatus::kReport;
  }
  return unplugged_ ? ReadStatus::kGone : ReadStatus::kTimeout;
}

void FakeNode::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
}

std::shared_ptr<FakeNode> FakeHidBackend::Plug(HidNodeInfo info) {
  auto node = std::make_shared<FakeNode>(std::move(info));
  std::lock_guard lock(mutex_);
  nodes_[node->Info().node_id] = node;
  return node;
}

void FakeHidBackend::Unplug(const std::string& node_id) {
  std::shared_ptr<FakeNode> node;
  {
    std::lock_guard lock(mutex_);
    const auto it = nodes_.find(node_id);
    if (it == nodes_.end()) return;
    node = it->second;
    nodes_.erase(it);
  }
  node->Unplug();
}

std::optional<std::vector<HidNodeInfo>> FakeHidBackend::Enumerate() {
  std::lock_guard lock(mutex_);
  ++enumerations_;
  if (fail_enumeration_) return std::nullopt;
  std::vector<HidNodeInfo> infos;
  for (const auto& [id, node] : nodes_) infos.push_back(node->Info());
  return infos;
}

std::unique_ptr<HidNodeConnection> FakeHidBackend::Open(const std::string& node_id,
                                                        const HidNodeInfo* expected, OpenError& error) {
  std::lock_guard lock(mutex_);
  error = OpenError::kNone;
  const auto it = nodes_.find(node_id);
  if (it == nodes_.end()) {
    error = OpenError::kNotFound;
    return nullptr;
  }
  if (deny_permission_) {
    error = OpenError::kPermissionDenied;
    return nullptr;
  }
  const HidNodeInfo& info = it->second->Info();
  if (expected != nullptr &&
      (expected->vendor_id != info.vendor_id || expected->product_id != info.product_id ||
       expected->usb_location != info.usb_location)) {
    error = OpenError::kIdentityMismatch;
    return nullptr;
  }
  return std::make_unique<FakeConnection>(it->second);
}

std::unique_ptr<HotplugSubscription> FakeHidBackend::WatchHotplug(std::function<void()>) {
  return std::make_unique<NoHotplug>();
}

ScopedFakeBackend::ScopedFakeBackend() : backend_(std::make_shared<FakeHidBackend>()) {
  previous_ = SetActiveHidBackend(backend_);
}

ScopedFakeBackend::~ScopedFakeBackend() {
  SetActiveHidBackend(previous_);
}

HidNodeInfo MakeNodeInfo(std::string node_id, std::vector<uint8_t> descriptor, uint16_t product_id,
                         std::string usb_location) {
  HidNodeInfo info;
  info.node_id = std::move(node_id);
  info.vendor_id = 0x320F;
  info.product_id = product_id;
  info.version = 0x0102;
  info.interface_number = 1;
  info.composite = true;
  info.usb_location = std::move(usb_location);
  info.report_descriptor = std::move(descriptor);
  return info;
}

}  // namespace norvane::hid::testing
