#pragma once
// CommandChannel: one link to one device's command interface, either the device's own (wired) or the
// 2.4 GHz receiver through which the device is reached. It owns both HidDevice records and moves single
// request/reply frame pairs over whichever of them the link type selects.
//
// Locks, outermost first: the command lock (held by each command around each frame it exchanges) or the
// stream lock (held by the lighting stream around each frame), then the transfer lock (held by Exchange and
// ExchangeQuick around a request's write together with the reading of its reply, and by openers while they
// close and reopen an interface). The receiver-side lock belongs to the device threads, which hold it while
// they open or close the receiver interface of a device's second channel. All are recursive: a caller that
// already holds one may call code that takes it again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>

#include "hid/hid_device.h"
#include "protocol/command_frame.h"

namespace norvane::protocol {

enum class LinkType : int {
  kWired = 1,
  kReceiver = 2,
};

class CommandChannel {
 public:
  static constexpr uint16_t kMaxBlockSize = 512;
  static constexpr uint8_t kWiredPayloadSize = 56;
  static constexpr uint8_t kReceiverPayloadSize = 24;
  static constexpr std::chrono::milliseconds kWiredTimeLimit{1000};
  static constexpr std::chrono::milliseconds kReceiverTimeLimit{5000};
  // The moment a device needs after the last write of a series before it takes the series' end.
  static constexpr std::chrono::milliseconds kPauseBeforeEnd{10};

  CommandChannel();
  ~CommandChannel();  // closes both interfaces
  CommandChannel(const CommandChannel&) = delete;
  CommandChannel& operator=(const CommandChannel&) = delete;

  // Link type 2 selects the receiver (wireless flag set, 24-byte payloads, 5000 ms per transfer); any other
  // value the wired interface (56-byte payloads, 1000 ms).
  void SetLinkType(int link_type);
  void SetLinkType(LinkType link_type) { SetLinkType(static_cast<int>(link_type)); }

  // 1 and the size taken, or 0 and nothing changed when it exceeds 512.
  int SetBlockSize(uint16_t size);
  uint16_t BlockSize() const { return block_size_.load(); }
  uint8_t PayloadSize() const { return payload_size_.load(); }

  // Sends `request` (cut to 64 bytes or zero-filled to 64) and reads its reply into `reply`. Replies that
  // carry another command's code (a late reply to an earlier command, or a lighting-stream reply) are
  // skipped; two reads at most are made.
  //   1     a reply with this request's command code is in `reply`
  //   0     channel not open, nothing read, or both replies belonged to other commands (`reply` zeroed)
  //   -1    the request was not written
  //   -101  over the receiver, the reply carried 0xAA (link down) instead of the command code
  // The status byte is not looked at. Callers hold the command lock.
  int Exchange(std::span<const uint8_t> request, std::span<uint8_t, CommandFrame::kSize> reply);
  int Exchange(std::span<const uint8_t> request, std::span<uint8_t, CommandFrame::kSize> reply,
               uint32_t& bytes_read);

  // One write and exactly one read on the wired interface, without looking at the reply's command code and
  // without marking the channel busy: 1 read, 0 not open or nothing read, -1 not written. For the lighting
  // stream; callers hold the stream lock.
  int ExchangeQuick(std::span<const uint8_t> request, std::span<uint8_t, CommandFrame::kSize> reply);
  int ExchangeQuick(std::span<const uint8_t> request, std::span<uint8_t, CommandFrame::kSize> reply,
                    uint32_t& bytes_read);

  // True while an Exchange runs; the lighting stream drops its frames meanwhile rather than wait.
  bool IsBusy() const { return busy_count_.load() > 0; }

  // Set by the opener once an interface is open, cleared when it is closed. (In a device's second channel:
  // its wired event interface is open.)
  bool IsOpen() const { return open_.load(); }
  void SetOpen(bool open) { open_.store(open); }

  // Traffic goes through the receiver interface. (In a device's second channel: its receiver event
  // interface is open.)
  bool IsWireless() const { return wireless_.load(); }
  void SetWireless(bool wireless) { wireless_.store(wireless); }

  // Not used by the channel itself; the device object keeps its animation pause here.
  bool IsPaused() const { return paused_.load(); }
  void SetPaused(bool paused) { paused_.store(paused); }

  hid::HidDevice& Wired() { return wired_; }
  hid::HidDevice& Receiver() { return receiver_; }

  std::recursive_mutex& TransferLock() { return transfer_lock_; }
  std::recursive_mutex& ReceiverLock() { return receiver_lock_; }
  std::recursive_mutex& CommandLock() { return command_lock_; }
  std::recursive_mutex& StreamLock() { return stream_lock_; }

  // Time limit per write and per read of each link. Tests and tools shorten them; the defaults are the
  // devices' own.
  void SetTimeLimits(std::chrono::milliseconds wired, std::chrono::milliseconds receiver);
  std::chrono::milliseconds WiredTimeLimit() const;
  std::chrono::milliseconds ReceiverTimeLimit() const;
  // The pause before a series' end. Only a harness that plays the device itself (a fuzz target, whose
  // device needs no moment) shortens it; every real and emulated device keeps the default.
  void SetPauseBeforeEnd(std::chrono::milliseconds pause);
  std::chrono::milliseconds PauseBeforeEnd() const;

 private:
  hid::HidDevice& ActiveInterface() { return IsWireless() ? receiver_ : wired_; }
  uint32_t ActiveTimeLimitMs() const;

  std::atomic<uint16_t> block_size_{kMaxBlockSize};
  std::atomic<int> busy_count_{0};
  std::atomic<bool> open_{false};
  std::atomic<bool> paused_{false};
  hid::HidDevice wired_;
  hid::HidDevice receiver_;
  std::recursive_mutex transfer_lock_;
  std::recursive_mutex receiver_lock_;
  std::recursive_mutex command_lock_;
  std::recursive_mutex stream_lock_;
  std::atomic<bool> wireless_{false};
  std::atomic<uint8_t> payload_size_{kReceiverPayloadSize};
  std::atomic<uint32_t> wired_time_limit_ms_{static_cast<uint32_t>(kWiredTimeLimit.count())};
  std::atomic<uint32_t> receiver_time_limit_ms_{static_cast<uint32_t>(kReceiverTimeLimit.count())};
  std::atomic<uint32_t> pause_before_end_ms_{static_cast<uint32_t>(kPauseBeforeEnd.count())};
};

}  // namespace norvane::protocol
