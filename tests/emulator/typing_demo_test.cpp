// Typing on the emulated keyboard for the demo mode: each key is pressed and released as the keyboard's
// event reports, only at positions that hold a key in its own table, and a seed gives the same typing.
#include "emulator/typing_demo.h"

#include <gtest/gtest.h>

#include "tests/emulator/emulator_test_support.h"

namespace norvane::emulator::testing {
namespace {

using std::chrono::milliseconds;

TypingDemoOptions Quick(std::uint32_t seed) {
  return TypingDemoOptions{.seed = seed, .minPause = milliseconds(1), .maxPause = milliseconds(3),
                           .keyHold = milliseconds(1), .maxKeysPerBurst = 3};
}

class TypingDemoTest : public EmulatorTest {
 protected:
  // The key positions of the next `count` presses the keyboard reported, each checked to be released.
  std::vector<int> TypedPositions(std::uint32_t seed, int count) {
    auto events = OpenCommandNode(Find(DeviceModel::kKeyboard));
    TypingDemo typing(backend, Quick(seed));
    std::vector<int> pressed;
    Bytes report;
    while (int(pressed.size()) < count &&
           events->ReadInput(report, milliseconds(2000)) == hid::ReadStatus::kReport) {
      if (report.size() != 3 || report[0] != 0x03) continue;  // the consumer collection: id 3, code LE
      const int code = report[1] | report[2] << 8;
      if ((code & 0xFF00) == 0x0500) {
        pressed.push_back(code & 0xFF);
      } else {
        EXPECT_EQ(code & 0xFF00, 0x0600);
        EXPECT_FALSE(pressed.empty());
        if (!pressed.empty()) {
          EXPECT_EQ(code & 0xFF, pressed.back()) << "released before the next press";
        }
      }
    }
    return pressed;
  }
};

TEST_F(TypingDemoTest, KeysOfTheKeyboardsTableArePressedAndReleasedTheSameWayForASeed) {
  Create("keyboard,mouse");
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  const std::vector<int> first = TypedPositions(7, 12);
  ASSERT_EQ(first.size(), 12u);
  const Bytes table = backend->ReadMemory(keyboard, MemoryArea::kKeyTable, 0, 3 * 256);
  for (const int position : first) {
    const bool holdsKey = table[3 * position] != 0 || table[3 * position + 1] != 0 || table[3 * position + 2] != 0;
    EXPECT_TRUE(holdsKey) << "position " << position;
  }
  EXPECT_EQ(TypedPositions(7, 12), first) << "the same seed types the same";
}

TEST_F(TypingDemoTest, NothingIsTypedWithoutAKeyboard) {
  Create("mouse,mousepad");
  TypingDemo typing(backend, Quick(1));
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_EQ(typing.Presses(), 0);
}

}  // namespace
}  // namespace norvane::emulator::testing
