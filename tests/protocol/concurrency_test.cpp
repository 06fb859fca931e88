// Commands and the lighting stream from several threads on one channel.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

#include "protocol/command_codes.h"
#include "protocol/commands.h"
#include "tests/protocol/emulated_link.h"

namespace norvane::protocol {
namespace {

using emulator::DeviceModel;
using testing::EmulatedLink;

size_t CountCommand(const std::vector<std::array<uint8_t, 64>>& frames, uint8_t command) {
  return static_cast<size_t>(
      std::count_if(frames.begin(), frames.end(), [&](const auto& frame) { return frame[3] == command; }));
}

TEST(ConcurrencyTest, StreamFramesAreDroppedWhileACommandExchanges) {
  EmulatedLink link({DeviceModel::kKeyboard});
  CommandChannel channel;
  link.Open(channel, hid::DeviceKind::kKeyboard);
  channel.SetTimeLimits(std::chrono::milliseconds(300), std::chrono::milliseconds(300));
  emulator::FaultRule silent;
  silent.kind = emulator::FaultKind::kNoReply;
  silent.command = ToByte(CommandCode::kReadStatus);
  link.Backend().AddFault(link.Device(DeviceModel::kKeyboard), silent);

  std::thread command([&] {
    std::array<uint8_t, 6> status{};
    EXPECT_EQ(CmdReadStatus(channel, status, 0), kResultNoReply);
  });
  while (!channel.IsBusy()) std::this_thread::yield();
  std::vector<uint8_t> lighting(100, 0x40);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(CmdStreamLight(channel, lighting), kResultOk);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << "never waits";
  EXPECT_EQ(CountCommand(link.Requests(), 0x12), 0u);
  command.join();

  EXPECT_FALSE(channel.IsBusy());
  EXPECT_EQ(CmdStreamLight(channel, lighting), kResultOk);
  EXPECT_EQ(CountCommand(link.Requests(), 0x12), 2u);
}

TEST(ConcurrencyTest, ShootDataWaitsForTheCommandLock) {
  EmulatedLink link({DeviceModel::kMouse});
  CommandChannel channel;
  link.Open(channel, hid::DeviceKind::kMouse);
  std::vector<uint8_t> recoil(120, 3);
  std::atomic<bool> done{false};
  std::thread writer;
  {
    std::lock_guard held(channel.CommandLock());
    writer = std::thread([&] {
      EXPECT_EQ(CmdWriteShootData(channel, recoil), kResultOk);
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_FALSE(done.load());
    EXPECT_EQ(CountCommand(link.Requests(), 0x17), 0u) << "no frame while another command holds the lock";
  }
  writer.join();
  EXPECT_EQ(CountCommand(link.Requests(), 0x17), 3u);
}

// A command running alongside a busy lighting stream always gets its own reply: the stream can neither
// take it nor slip a reply of its own in front of it.
TEST(ConcurrencyTest, CommandsAndStreamNeverTakeEachOthersReplies) {
  EmulatedLink link({DeviceModel::kKeyboard});
  CommandChannel channel;
  link.Open(channel, hid::DeviceKind::kKeyboard);
  channel.SetTimeLimits(std::chrono::seconds(2), std::chrono::seconds(2));
  std::vector<uint8_t> record(31);
  std::iota(record.begin(), record.end(), uint8_t{1});
  ASSERT_TRUE(link.Backend().WriteMemory(link.Device(DeviceModel::kKeyboard), emulator::MemoryArea::kSettings,
                                         0, record));

  std::atomic<bool> stop{false};
  std::atomic<int> stream_failures{0};
  std::thread stream([&] {
    std::vector<uint8_t> lighting(170 * 3, 0x21);
    while (!stop) {
      if (CmdStreamLight(channel, lighting) != kResultOk) ++stream_failures;
    }
  });
  for (int i = 0; i < 150; ++i) {
    std::vector<uint8_t> back(31);
    ASSERT_EQ(CmdReadSettings(channel, back, 0), kResultOk) << "iteration " << i;
    ASSERT_EQ(back, record) << "iteration " << i;
  }
  stop = true;
  stream.join();
  EXPECT_EQ(stream_failures.load(), 0);
}

}  // namespace
}  // namespace norvane::protocol
