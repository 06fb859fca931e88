#include "hid/hid_node.h"

#include <algorithm>
#include <chrono>

#include "hid/node_registry.h"
#include "platform/trace.h"

namespace norvane::hid {

namespace {
// The I/O thread wakes by itself this often even without Wake(); Wake() makes it prompt.
constexpr std::chrono::milliseconds kReadSlice{500};
}  // namespace

HidNode::HidNode(std::unique_ptr<HidNodeConnection> connection, HidNodeInfo info, ReportDescriptor descriptor)
    : connection_(std::move(connection)), info_(std::move(info)), descriptor_(std::move(descriptor)) {
  input_owner_.fill(-1);
  for (size_t c = 0; c < descriptor_.collections.size(); ++c) {
    for (const uint8_t id : descriptor_.collections[c].Layout(DescriptorReportType::kInput).report_ids) {
      if (input_owner_[id] < 0) input_owner_[id] = static_cast<int16_t>(c);
    }
  }
  thread_ = std::thread([this] { Run(); });
}

HidNode::~HidNode() {
  stopping_ = true;
  connection_->Wake();
  thread_.join();
  FailEverything();
}

bool HidNode::Attach(size_t collection, const std::shared_ptr<HandleLink>& link, bool write_access,
                     bool exclusive) {
  std::lock_guard lock(mutex_);
  for (const Attachment& other : attachments_) {
    if (other.collection != collection || other.link.expired()) continue;
    if ((exclusive && other.write_access) || (write_access && other.exclusive)) return false;
  }
  attachments_.push_back({collection, link, link.get(), write_access, exclusive});
  if (gone_) link->MarkGone();
  return true;
}

void HidNode::Detach(size_t collection, const HandleLink* link, bool write_access, bool exclusive) {
  std::lock_guard lock(mutex_);
  std::erase_if(attachments_, [&](const Attachment& a) {
    return a.key == link && a.collection == collection && a.write_access == write_access &&
           a.exclusive == exclusive;
  });
}

bool HidNode::QueueWrite(const std::shared_ptr<HandleLink>& link, const std::shared_ptr<WriteJob>& job) {
  {
    std::lock_guard lock(mutex_);
    if (gone_ || stopping_) return false;
    writes_.push_back({link, job});
  }
  connection_->Wake();
  return true;
}

void HidNode::Run() {
  std::vector<uint8_t> report;
  while (!stopping_) {
    RunQueuedWrites();
    if (stopping_) break;
    report.clear();
    switch (connection_->ReadInput(report, kReadSlice)) {
      case ReadStatus::kReport:
        Route(report);
        break;
      case ReadStatus::kTimeout:
      case ReadStatus::kWoken:
        break;
      case ReadStatus::kGone:
        Trace("hid: node " + info_.node_id + " went away");
        gone_ = true;
        FailEverything();
        NotifyNodeLost();
        return;
    }
  }
}

void HidNode::RunQueuedWrites() {
  for (;;) {
    QueuedWrite next;
    {
      std::lock_guard lock(mutex_);
      if (writes_.empty()) return;
      next = std::move(writes_.front());
      writes_.pop_front();
    }
    if (!next.link->BeginWrite(*next.job)) continue;  // its caller gave up before it started
    const bool ok = next.job->control_pipe ? connection_->WriteOutputControl(next.job->report)
                                           : connection_->WriteOutput(next.job->report);
    next.link->FinishWrite(*next.job, ok);
  }
}

void HidNode::Route(std::vector<uint8_t>& report) {
  // Without report ids the node sends bare reports; the program always sees the id byte first.
  if (!descriptor_.uses_report_ids) report.insert(report.begin(), 0);
  if (report.empty()) return;
  const int16_t owner = input_owner_[report[0]];
  if (owner < 0) return;  // no collection declares this report: drop it
  const auto collection = static_cast<size_t>(owner);
  // Every report of a collection reaches its handles at the collection's input report length.
  report.resize(descriptor_.collections[collection].Layout(DescriptorReportType::kInput).byte_length, 0);
  std::lock_guard lock(mutex_);
  for (const Attachment& attachment : attachments_) {
    if (attachment.collection != collection) continue;
    if (const auto link = attachment.link.lock()) link->PushReport(report);
  }
}

void HidNode::FailEverything() {
  std::deque<QueuedWrite> writes;
  std::vector<std::shared_ptr<HandleLink>> links;
  {
    std::lock_guard lock(mutex_);
    writes.swap(writes_);
    for (const Attachment& attachment : attachments_) {
      if (auto link = attachment.link.lock()) links.push_back(std::move(link));
    }
  }
  for (QueuedWrite& write : writes) {
    if (write.link->BeginWrite(*write.job)) write.link->FinishWrite(*write.job, false);
  }
  for (const auto& link : links) link->MarkGone();
}

}  // namespace norvane::hid
