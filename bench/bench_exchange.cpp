// Command exchanges per second through the emulated devices, with an instant device and with 1 ms per
// transfer.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "emulator/emulator.h"
#include "hid/hid_device.h"
#include "hid/interface_table.h"
#include "protocol/channel_opener.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace {

using namespace norvane;

// The emulator installed as the HID backend with one wired keyboard, and a channel open on it.
class BenchLink {
 public:
  explicit BenchLink(std::chrono::milliseconds latency)
      : backend_(std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kKeyboard})),
        previous_(hid::SetActiveHidBackend(backend_)) {
    backend_->SetLatency(latency);
    ok_ = protocol::OpenCommandInterface(channel_, bench::FirstCommandPath(), protocol::LinkType::kWired) ==
          hid::OpenError::kNone;
  }
  ~BenchLink() {
    protocol::CloseCommandInterfaces(channel_);
    hid::SetActiveHidBackend(previous_);
  }
  bool ok() const { return ok_; }
  protocol::CommandChannel& channel() { return channel_; }
  void ClearLog() { backend_->ClearFrameLog(); }

 private:
  std::shared_ptr<emulator::EmulatorBackend> backend_;
  std::shared_ptr<hid::HidBackend> previous_;
  protocol::CommandChannel channel_;
  bool ok_ = false;
};

void BM_Exchange(benchmark::State& state) {
  BenchLink link{std::chrono::milliseconds(state.range(0))};
  if (!link.ok()) {
    state.SkipWithError("no emulated command interface");
    return;
  }
  const auto request =
      protocol::CommandFrame::Request(protocol::ToByte(protocol::CommandCode::kReadStatus), 6, 0);
  protocol::CommandFrame reply;
  int64_t exchanges = 0;
  for (auto _ : state) {
    if (link.channel().Exchange(request.Bytes(), reply.MutableBytes()) != protocol::kResultOk) {
      state.SkipWithError("exchange failed");
      break;
    }
    ++exchanges;
    // Keep the emulator's frame log from growing without end over a long run.
    if (exchanges % 4096 == 0) link.ClearLog();
  }
  state.SetItemsProcessed(exchanges);
  state.SetLabel(std::to_string(state.range(0)) + " ms per transfer");
}
BENCHMARK(BM_Exchange)->Arg(0)->Arg(1)->UseRealTime();

// A whole 512-byte key-table write (10 frames on the wired link).
void BM_KeyTableWrite(benchmark::State& state) {
  BenchLink link{std::chrono::milliseconds(state.range(0))};
  if (!link.ok()) {
    state.SkipWithError("no emulated command interface");
    return;
  }
  std::vector<uint8_t> table(protocol::CommandChannel::kMaxBlockSize, 0x11);
  int64_t writes = 0;
  for (auto _ : state) {
    if (protocol::CmdWriteKeyTable(link.channel(), table, 0) != protocol::kResultOk) {
      state.SkipWithError("key-table write failed");
      break;
    }
    if (++writes % 256 == 0) link.ClearLog();
  }
  state.SetItemsProcessed(writes);
}
BENCHMARK(BM_KeyTableWrite)->Arg(0)->Arg(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
