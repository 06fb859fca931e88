// Device answers are outside input: a device (or something posing as one) may answer anything, late, twice
// or not at all. This target runs one command over a command channel whose HID node answers each request
// with replies taken from the fuzz input.
//
// Input: byte 0 picks the command, byte 1 the link (bit 0: receiver), byte 2 a byte count, byte 3 a block
// size; then, for every request written, one control byte (low 2 bits: number of replies 0 to 2, 3 = the
// write fails; bit 2: force report id 4) followed by the replies' bytes, 64 each (the last may be short).
// Once the input is used up, every further write fails.
//
// The node, its I/O thread and the channel are made once; between inputs the script is replaced and every
// reply still queued is drained, so that no input sees another's replies. The script tells the HID layer
// when nothing more can arrive, so a silent device costs no time.
// libFuzzer: -max_len=1024
#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "hid/handle_link.h"
#include "hid/hid_backend.h"
#include "hid/hid_device.h"
#include "protocol/channel_opener.h"
#include "protocol/command_channel.h"
#include "protocol/commands.h"

namespace {

using namespace norvane;

// A vendor collection (page 0xFF1C, usage 0x92) with 63-byte input and output reports of id 4.
constexpr std::array<uint8_t, 27> kCommandDescriptor = {
    0x06, 0x1C, 0xFF,  // usage page 0xFF1C
    0x09, 0x92,        // usage 0x92
    0xA1, 0x01,        // collection (application)
    0x85, 0x04,        //   report id 4
    0x15, 0x00,        //   logical minimum 0
    0x26, 0xFF, 0x00,  //   logical maximum 255
    0x75, 0x08,        //   report size 8
    0x95, 0x3F,        //   report count 63
    0x09, 0x01,        //   usage 1
    0x81, 0x02,        //   input (data, variable, absolute)
    0x09, 0x01,        //   usage 1
    0x91, 0x02,        //   output (data, variable, absolute)
    0xC0,              // end collection
};

// The replies still to come, shared by the backend and its connection.
class ReplyScript {
 public:
  // Starts a new input once every reply of the last one has been handed to the node.
  void Reset(std::span<const uint8_t> bytes) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return pending_.empty() && reading_; });
    bytes_.assign(bytes.begin(), bytes.end());
    cursor_ = 0;
  }

  // A request was written: queue its replies. False when the script says the write fails.
  bool OnWrite() {
    std::lock_guard lock(mutex_);
    if (cursor_ >= bytes_.size()) return false;
    const uint8_t control = bytes_[cursor_++];
    if ((control & 3) == 3) return false;
    for (int i = 0; i < (control & 3) && cursor_ < bytes_.size(); ++i) {
      const size_t length = std::min<size_t>(64, bytes_.size() - cursor_);
      std::vector<uint8_t> reply(bytes_.begin() + static_cast<std::ptrdiff_t>(cursor_),
                                 bytes_.begin() + static_cast<std::ptrdiff_t>(cursor_ + length));
      cursor_ += length;
      if ((control & 4) != 0) reply[0] = 0x04;
      pending_.push_back(std::move(reply));
    }
    ready_.notify_all();
    return true;
  }

  hid::ReadStatus Read(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    // The node's thread is back for more: whatever it was handed before has been routed.
    reading_ = true;
    ready_.notify_all();
    ready_.wait_for(lock, timeout, [&] { return !pending_.empty() || woken_; });
    reading_ = false;
    if (!pending_.empty()) {
      report = std::move(pending_.front());
      pending_.pop_front();
      return hid::ReadStatus::kReport;
    }
    if (woken_) {
      woken_ = false;
      return hid::ReadStatus::kWoken;
    }
    return hid::ReadStatus::kTimeout;
  }

  // The node's thread waits for input with no reply left to hand over and no write to run.
  bool Idle() {
    std::lock_guard lock(mutex_);
    return pending_.empty() && reading_ && !woken_;
  }

  void Wake() {
    std::lock_guard lock(mutex_);
    woken_ = true;
    ready_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<uint8_t> bytes_;
  size_t cursor_ = 0;
  std::deque<std::vector<uint8_t>> pending_;
  bool woken_ = false;
  bool reading_ = false;
};

class ScriptedConnection : public hid::HidNodeConnection {
 public:
  explicit ScriptedConnection(std::shared_ptr<ReplyScript> script) : script_(std::move(script)) {}
  bool WriteOutput(std::span<const uint8_t>) override { return script_->OnWrite(); }
  bool WriteOutputControl(std::span<const uint8_t>) override { return script_->OnWrite(); }
  bool SetFeature(std::span<const uint8_t>) override { return false; }
  std::optional<size_t> GetFeature(std::span<uint8_t>) override { return std::nullopt; }
  hid::ReadStatus ReadInput(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) override {
    return script_->Read(report, timeout);
  }
  void Wake() override { script_->Wake(); }

 private:
  std::shared_ptr<ReplyScript> script_;
};

class NoHotplug : public hid::HotplugSubscription {};

class ScriptedBackend : public hid::HidBackend {
 public:
  explicit ScriptedBackend(std::shared_ptr<ReplyScript> script) : script_(std::move(script)) {}

  std::optional<std::vector<hid::HidNodeInfo>> Enumerate() override {
    hid::HidNodeInfo node;
    node.node_id = "fuzz/hidraw0";
    node.vendor_id = 0x320F;
    node.product_id = 0x5055;
    node.version = 0x0100;
    node.interface_number = 1;
    node.usb_location = "1-1:1.1";
    node.report_descriptor.assign(kCommandDescriptor.begin(), kCommandDescriptor.end());
    return std::vector{node};
  }
  std::unique_ptr<hid::HidNodeConnection> Open(const std::string&, const hid::HidNodeInfo*,
                                               hid::OpenError& error) override {
    error = hid::OpenError::kNone;
    return std::make_unique<ScriptedConnection>(script_);
  }
  std::unique_ptr<hid::HotplugSubscription> WatchHotplug(std::function<void()>) override {
    return std::make_unique<NoHotplug>();
  }

 private:
  std::shared_ptr<ReplyScript> script_;
};

std::string FirstPath() {
  hid::HidDevice walker;
  if (walker.EnumerateInterfaces() != 1) return {};
  const std::string* path = walker.NextInterfacePath();
  return path != nullptr ? *path : std::string{};
}

void RunCommand(protocol::CommandChannel& channel, uint8_t which, size_t count) {
  std::vector<uint8_t> buffer(count, 0x5A);
  std::array<uint8_t, protocol::kDeviceInfoSize> info{};
  switch (which % 16) {
    case 0:
      protocol::CmdBegin(channel);
      break;
    case 1:
      protocol::CmdEnd(channel);
      break;
    case 2:
      protocol::CmdReadDeviceInfo(channel, info);
      break;
    case 3:
      protocol::CmdReadSettings(channel, buffer, static_cast<uint16_t>(count * 3));
      break;
    case 4:
      protocol::CmdWriteSettings(channel, buffer, 0);
      break;
    case 5:
      protocol::CmdReadKeyTable(channel, buffer);
      break;
    case 6:
      protocol::CmdWriteKeyTable(channel, buffer, 0);
      break;
    case 7:
      protocol::CmdWriteKeyLight(channel, buffer, static_cast<int>(count));
      break;
    case 8:
      protocol::CmdStreamLight(channel, buffer);
      break;
    case 9:
      protocol::CmdWriteMacros(channel, buffer);
      break;
    case 10:
      protocol::CmdWriteShootData(channel, buffer);
      break;
    case 11:
      protocol::CmdReadStatus(channel, buffer, 0);
      break;
    case 12:
      protocol::CmdReadKeyTableExtra(channel, buffer);
      break;
    case 13:
      protocol::CmdTakeLightControl(channel);
      break;
    case 14:
      protocol::CmdWriteKeyTableExtra(channel, buffer, 0);
      break;
    default:
      protocol::CmdQueryWirelessLink(channel);
      break;
  }
}

// The script the idle probe asks; set once, before any wait.
ReplyScript* idle_script = nullptr;

// The scripted node and a channel with both its interfaces open on it, made once.
struct Bench {
  std::shared_ptr<ReplyScript> script = std::make_shared<ReplyScript>();
  protocol::CommandChannel channel;
  bool open = false;

  Bench() {
    hid::SetActiveHidBackend(std::make_shared<ScriptedBackend>(script));
    idle_script = script.get();
    hid::SetIdleProbe([] { return idle_script->Idle(); });
    const std::string path = FirstPath();
    open = protocol::OpenCommandInterface(channel, path, protocol::LinkType::kReceiver) == hid::OpenError::kNone &&
           protocol::OpenCommandInterface(channel, path, protocol::LinkType::kWired) == hid::OpenError::kNone;
    // Waits end when the script is idle; the limits only bound a wait the probe would miss.
    channel.SetTimeLimits(std::chrono::milliseconds(100), std::chrono::milliseconds(100));
    // The script takes a series' end at once; the device's pause would be most of the target's time.
    channel.SetPauseBeforeEnd(std::chrono::milliseconds(0));
  }

  static Bench& Instance() {
    static Bench* const bench = new Bench();
    return *bench;
  }

  // Replies an earlier input left queued on either interface.
  void Drain() {
    std::array<uint8_t, protocol::CommandFrame::kSize> report{};
    uint32_t read = 0;
    for (hid::HidDevice* device : {&channel.Wired(), &channel.Receiver()}) {
      while (device->ReadReport(report, &read, 0) == 1) {
      }
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bench* const bench = &Bench::Instance();
  if (size < 4 || !bench->open) return 0;
  const std::span<const uint8_t> input(data, size);
  bench->script->Reset(input.subspan(4));
  bench->Drain();
  protocol::CommandChannel& channel = bench->channel;
  channel.SetLinkType((input[1] & 1) != 0 ? protocol::LinkType::kReceiver : protocol::LinkType::kWired);
  channel.SetBlockSize(static_cast<uint16_t>(input[3] * 2));
  RunCommand(channel, input[0], input[2]);
  return 0;
}
