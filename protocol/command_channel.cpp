#include "protocol/command_channel.h"

#include <algorithm>

#include "protocol/command_codes.h"
#include "protocol/frame_trace.h"

namespace norvane::protocol {
namespace {

// Marks the channel busy for the lifetime of one Exchange. A count rather than a flag, so that the channel
// still reads busy while any exchange runs even if a caller ever bypasses the command lock.
class BusyScope {
 public:
  explicit BusyScope(std::atomic<int>& count) : count_(count) { ++count_; }
  ~BusyScope() { --count_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  std::atomic<int>& count_;
};

// A timed-out or failed read must not leave an earlier reply's bytes behind for the caller to take, so the
// buffer is cleared before every read.
bool ReadOneReply(hid::HidDevice& device, std::span<uint8_t, CommandFrame::kSize> reply, uint32_t timeout_ms,
                  uint32_t& bytes_read) {
  std::fill(reply.begin(), reply.end(), uint8_t{0});
  bytes_read = 0;
  if (device.ReadReport(reply, &bytes_read, timeout_ms) != 1) {
    std::fill(reply.begin(), reply.end(), uint8_t{0});
    bytes_read = 0;
    return false;
  }
  TraceFrame(FrameDirection::kFromDevice, reply);
  return true;
}

}  // namespace

CommandChannel::CommandChannel() = default;

// Closing releases a read that another thread may still be waiting in.
CommandChannel::~CommandChannel() {
  open_ = false;
  wired_.Close();
  receiver_.Close();
}

void CommandChannel::SetLinkType(int link_type) {
  const bool through_receiver = link_type == static_cast<int>(LinkType::kReceiver);
  wireless_ = through_receiver;
  payload_size_ = through_receiver ? kReceiverPayloadSize : kWiredPayloadSize;
}

int CommandChannel::SetBlockSize(uint16_t size) {
  if (size > kMaxBlockSize) return 0;
  block_size_ = size;
  return 1;
}

void CommandChannel::SetTimeLimits(std::chrono::milliseconds wired, std::chrono::milliseconds receiver) {
  wired_time_limit_ms_ = static_cast<uint32_t>(std::max<std::chrono::milliseconds::rep>(wired.count(), 0));
  receiver_time_limit_ms_ =
      static_cast<uint32_t>(std::max<std::chrono::milliseconds::rep>(receiver.count(), 0));
}

std::chrono::milliseconds CommandChannel::WiredTimeLimit() const {
  return std::chrono::milliseconds(wired_time_limit_ms_.load());
}

std::chrono::milliseconds CommandChannel::ReceiverTimeLimit() const {
  return std::chrono::milliseconds(receiver_time_limit_ms_.load());
}

void CommandChannel::SetPauseBeforeEnd(std::chrono::milliseconds pause) {
  pause_before_end_ms_ = static_cast<uint32_t>(std::max<std::chrono::milliseconds::rep>(pause.count(), 0));
}

std::chrono::milliseconds CommandChannel::PauseBeforeEnd() const {
  return std::chrono::milliseconds(pause_before_end_ms_.load());
}

uint32_t CommandChannel::ActiveTimeLimitMs() const {
  return IsWireless() ? receiver_time_limit_ms_.load() : wired_time_limit_ms_.load();
}

int CommandChannel::Exchange(std::span<const uint8_t> request,
                             std::span<uint8_t, CommandFrame::kSize> reply) {
  uint32_t bytes_read = 0;
  return Exchange(request, reply, bytes_read);
}

int CommandChannel::Exchange(std::span<const uint8_t> request, std::span<uint8_t, CommandFrame::kSize> reply,
                             uint32_t& bytes_read) {
  BusyScope busy(busy_count_);
  bytes_read = 0;
  if (!IsOpen()) return kResultNoReply;

  const CommandFrame frame = CommandFrame::FromBytes(request);

  // The write and the reading of its reply stay together under the transfer lock, so that a lighting-stream
  // frame cannot slip in between and take this command's reply for its own.
  std::lock_guard transfer(transfer_lock_);
  TraceFrame(FrameDirection::kToDevice, frame.Bytes());
  const bool through_receiver = IsWireless();
  hid::HidDevice& device = ActiveInterface();
  const uint32_t timeout_ms = ActiveTimeLimitMs();
  if (device.WriteReport(frame.Bytes(), nullptr, timeout_ms) != 1) return kResultNotWritten;

  // A reply to an earlier command that arrived after its own exchange gave up, or a stream reply, may sit
  // in front of ours: skip one such reply. When the second reply also belongs to another command, that is
  // "no reply", never a success carrying someone else's payload.
  for (int read = 0; read < 2; ++read) {
    if (!ReadOneReply(device, reply, timeout_ms, bytes_read)) continue;
    const uint8_t code = reply[CommandFrame::kCommandByte];
    if (code == frame.Command()) return kResultOk;
    if (through_receiver && code == kReceiverLinkDownCode) return kResultLinkDown;
  }
  std::fill(reply.begin(), reply.end(), uint8_t{0});
  bytes_read = 0;
  return kResultNoReply;
}

int CommandChannel::ExchangeQuick(std::span<const uint8_t> request,
                                  std::span<uint8_t, CommandFrame::kSize> reply) {
  uint32_t bytes_read = 0;
  return ExchangeQuick(request, reply, bytes_read);
}

int CommandChannel::ExchangeQuick(std::span<const uint8_t> request,
                                  std::span<uint8_t, CommandFrame::kSize> reply, uint32_t& bytes_read) {
  bytes_read = 0;
  if (!IsOpen()) return kResultNoReply;

  const CommandFrame frame = CommandFrame::FromBytes(request);

  std::lock_guard transfer(transfer_lock_);
  TraceFrame(FrameDirection::kToDevice, frame.Bytes());
  const uint32_t timeout_ms = wired_time_limit_ms_.load();
  if (wired_.WriteReport(frame.Bytes(), nullptr, timeout_ms) != 1) return kResultNotWritten;
  return ReadOneReply(wired_, reply, timeout_ms, bytes_read) ? kResultOk : kResultNoReply;
}

}  // namespace norvane::protocol
