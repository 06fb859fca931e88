#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/trace.h"

namespace norvane {
namespace {

class TraceCapture {
 public:
  TraceCapture() {
    SetTraceEnabled(true);
    old_ = SetTraceSink([this](std::string_view line) { lines.emplace_back(line); });
  }
  ~TraceCapture() {
    SetTraceSink(std::move(old_));
    SetTraceEnabled(false);
  }
  std::vector<std::string> lines;

 private:
  TraceSink old_;
};

TEST(Trace, SilentWhenOffAndLineByLineWhenOn) {
  std::vector<std::string> lines;
  auto old = SetTraceSink([&](std::string_view line) { lines.emplace_back(line); });
  SetTraceEnabled(false);
  Trace("hidden");
  SetTraceEnabled(true);
  Trace("shown");
  SetTraceEnabled(false);
  SetTraceSink(std::move(old));
  EXPECT_EQ(lines, std::vector<std::string>{"shown"});
}

TEST(Trace, HexBytesIsLowerCaseWithSingleSpaces) {
  const unsigned char bytes[] = {0x04, 0xab, 0x00, 0xff};
  EXPECT_EQ(HexBytes(bytes), "04 ab 00 ff");
  EXPECT_EQ(HexBytes({}), "");
}

TEST(Trace, ConcurrentWritersKeepLinesWhole) {
  TraceCapture capture;
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([] {
      for (int i = 0; i < 100; ++i) Trace("line");
    });
  }
  for (auto& w : writers) w.join();
  EXPECT_EQ(capture.lines.size(), 400u);
}

TEST(ManualClock, MovesOnlyWhenAdvanced) {
  ManualClock clock;
  const auto start = clock.Now();
  EXPECT_EQ(clock.Now(), start);
  clock.Advance(std::chrono::microseconds(15625));
  EXPECT_EQ(clock.Now() - start, std::chrono::microseconds(15625));
}

}  // namespace
}  // namespace norvane
