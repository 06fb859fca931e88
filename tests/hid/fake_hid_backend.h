#pragma once
// A small in-test HID backend: nodes are plugged and unplugged at will, input reports are injected, writes
// are recorded and can be held back to play a device that does not answer.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "hid/hid_backend.h"

namespace norvane::hid::testing {

// The device side of one plugged node, shared by the backend and every connection opened on it.
class FakeNode {
 public:
  explicit FakeNode(HidNodeInfo info) : info_(std::move(info)) {}

  const HidNodeInfo& Info() const { return info_; }

  void Inject(std::vector<uint8_t> report);
  void Unplug();
  bool Unplugged() const;

  // While held, writes block until released.
  void HoldWrites(bool hold);
  void FailWrites(bool fail);
  std::vector<std::vector<uint8_t>> Writes() const;
  size_t WritesStarted() const;
  size_t ControlPipeWrites() const;

  int LiveConnections() const;
  int OpensSoFar() const;

  // Connection side.
  void ConnectionOpened();
  void ConnectionClosed();
  bool Write(std::span<const uint8_t> report, bool control_pipe);
  ReadStatus Read(std::vector<uint8_t>& report, std::chrono::milliseconds timeout);
  void Wake();

 private:
  const HidNodeInfo info_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<uint8_t>> inputs_;
  std::vector<std::vector<uint8_t>> writes_;
  size_t writes_started_ = 0;
  size_t control_pipe_writes_ = 0;
  bool unplugged_ = false;
  bool hold_writes_ = false;
  bool fail_writes_ = false;
  bool woken_ = false;  // one connection per node at a time in these tests
  int live_connections_ = 0;
  int opens_ = 0;
};

class FakeHidBackend final : public HidBackend {
 public:
  std::shared_ptr<FakeNode> Plug(HidNodeInfo info);
  void Unplug(const std::string& node_id);
  void DenyPermission(bool deny) { deny_permission_ = deny; }
  void FailEnumeration(bool fail) { fail_enumeration_ = fail; }
  int Enumerations() const { return enumerations_; }

  std::optional<std::vector<HidNodeInfo>> Enumerate() override;
  std::unique_ptr<HidNodeConnection> Open(const std::string& node_id, const HidNodeInfo* expected,
                                          OpenError& error) override;
  std::unique_ptr<HotplugSubscription> WatchHotplug(std::function<void()> on_change) override;

 private:
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<FakeNode>> nodes_;
  bool deny_permission_ = false;
  bool fail_enumeration_ = false;
  std::atomic<int> enumerations_{0};
};

// Installs a fresh fake backend for the life of a test and puts the previous one back afterwards.
class ScopedFakeBackend {
 public:
  ScopedFakeBackend();
  ~ScopedFakeBackend();
  FakeHidBackend& operator*() { return *backend_; }
  FakeHidBackend* operator->() { return backend_.get(); }

 private:
  std::shared_ptr<FakeHidBackend> backend_;
  std::shared_ptr<HidBackend> previous_;
};

// A node of a composite USB device, as our keyboards show interface 1.
HidNodeInfo MakeNodeInfo(std::string node_id, std::vector<uint8_t> descriptor, uint16_t product_id = 0x5055,
                         std::string usb_location = "1-2.3:1.1");

}  // namespace norvane::hid::testing
