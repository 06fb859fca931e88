#pragma once
// One open HID node: its connection, its parsed descriptor and one I/O thread that reads every input
// report of the node, routes it by report id to the collection that owns it, and runs the writes (a hidraw
// write cannot be given a time limit, so callers wait for the thread instead). Shared by every handle opened
// on any collection of the node; the last handle to let go closes the connection.

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "hid/handle_link.h"
#include "hid/hid_backend.h"
#include "hid/report_descriptor.h"

namespace norvane::hid {

class HidNode {
 public:
  HidNode(std::unique_ptr<HidNodeConnection> connection, HidNodeInfo info, ReportDescriptor descriptor);
  ~HidNode();
  HidNode(const HidNode&) = delete;
  HidNode& operator=(const HidNode&) = delete;

  const HidNodeInfo& Info() const { return info_; }
  const ReportDescriptor& Descriptor() const { return descriptor_; }
  bool IsGone() const { return gone_.load(); }

  // Registers an opening of collection `collection` with its access; false when the sharing of an existing
  // opening forbids it (an exclusive opening refuses writers and the other way round).
  bool Attach(size_t collection, const std::shared_ptr<HandleLink>& link, bool write_access, bool exclusive);
  void Detach(size_t collection, const HandleLink* link, bool write_access, bool exclusive);

  // Queues a write for the I/O thread; the caller then waits on the link. False when the node is gone.
  bool QueueWrite(const std::shared_ptr<HandleLink>& link, const std::shared_ptr<WriteJob>& job);

 private:
  struct Attachment {
    size_t collection = 0;
    std::weak_ptr<HandleLink> link;
    const HandleLink* key = nullptr;
    bool write_access = false;
    bool exclusive = false;
  };
  struct QueuedWrite {
    std::shared_ptr<HandleLink> link;
    std::shared_ptr<WriteJob> job;
  };

  void Run();
  void RunQueuedWrites();
  void Route(std::vector<uint8_t>& report);
  void FailEverything();

  const std::unique_ptr<HidNodeConnection> connection_;
  const HidNodeInfo info_;
  const ReportDescriptor descriptor_;
  std::array<int16_t, 256> input_owner_{};  // collection index per input report id, -1 for none

  std::mutex mutex_;  // guards attachments_ and writes_
  std::vector<Attachment> attachments_;
  std::deque<QueuedWrite> writes_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> gone_{false};
  std::thread thread_;  // last: starts after everything it uses exists
};

}  // namespace norvane::hid
