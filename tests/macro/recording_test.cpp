// What a captured key or button is recorded as, which inputs a recording leaves out, and the pauses it
// records between them.
#include "macro/recording.h"

#include <gtest/gtest.h>

namespace norvane::macro {
namespace {

namespace message = hook_message;

HookKeyEvent Key(std::uint16_t msg, std::uint8_t code, bool extended, std::uint32_t time = 0) {
  return {msg, {code, extended}, time};
}

HookMouseEvent Mouse(std::uint16_t msg, int extra = 0) {
  HookMouseEvent mouse;
  mouse.message = msg;
  mouse.extraButton = extra;
  return mouse;
}

TEST(RecordedEvents, KeysByTheirScanCodeAndFlag) {
  struct Case {
    HookKeyEvent key;
    MacroEvent event;
  };
  for (const Case& c : {
           Case{Key(message::kKeyDown, 0x1E, false), {"down", 0x04, 0, 10}},      // A
           Case{Key(message::kSysKeyUp, 0x1E, false), {"up", 0x04, 0, 10}},       // A, released with Alt held
           Case{Key(message::kSysKeyDown, 0x38, false), {"down", 0x04, 0, 9}},    // left Alt: a modifier bit
           Case{Key(message::kKeyDown, 0x36, true), {"down", 0x20, 0, 9}},        // right Shift
           Case{Key(message::kKeyDown, 0x45, true), {"down", 0x53, 0, 10}},       // Num Lock
           Case{Key(message::kKeyDown, 0x45, false), {"down", 0x48, 0, 10}},      // Pause
           Case{Key(message::kKeyUp, 0x1C, true), {"up", 0x58, 0, 10}},           // keypad Enter
           Case{Key(message::kKeyDown, 0x1C, false), {"down", 0x28, 0, 10}},      // Enter
           Case{Key(message::kKeyDown, 0x5C, true), {"down", 0x80, 0, 9}},        // right logo key
       }) {
    EXPECT_EQ(EventOfKey(c.key), c.event) << int{c.key.scan.code} << " " << c.key.scan.extended;
  }
  EXPECT_FALSE(EventOfKey(Key(message::kKeyDown, 0x1E, true))) << "no key is A with the extended flag";
  EXPECT_FALSE(EventOfKey(Key(message::kKeyDown, 0x00, false)));
}

TEST(RecordedEvents, ButtonsByTheirMessageAndTheExtraButtonsByTheirNumber) {
  EXPECT_EQ(EventOfMouse(Mouse(message::kLeftDown)), (MacroEvent{"down", 0x01, 0, 1}));
  EXPECT_EQ(EventOfMouse(Mouse(message::kRightUp)), (MacroEvent{"up", 0x02, 0, 1}));
  EXPECT_EQ(EventOfMouse(Mouse(message::kMiddleDown)), (MacroEvent{"down", 0x04, 0, 1}));
  EXPECT_EQ(EventOfMouse(Mouse(message::kExtraDown, kForwardButtonNumber)), (MacroEvent{"down", 0x10, 0, 1}));
  EXPECT_EQ(EventOfMouse(Mouse(message::kExtraUp, kBackButtonNumber)), (MacroEvent{"up", 0x08, 0, 1}));
  EXPECT_FALSE(EventOfMouse(Mouse(message::kExtraDown, 3)));
  EXPECT_FALSE(EventOfMouse(Mouse(0x20A))) << "the wheel is no step";
  EXPECT_FALSE(EventOfMouse(Mouse(0x200))) << "nor is a move";
}

TEST(RecordingFilters, AHeldKeyIsOnePressAndOneRelease) {
  KeyRepeatFilter filter;
  const HookKeyEvent press = Key(message::kKeyDown, 0x1E, false);
  const HookKeyEvent release = Key(message::kKeyUp, 0x1E, false);
  EXPECT_TRUE(filter.Accept(press));
  EXPECT_FALSE(filter.Accept(press));
  EXPECT_FALSE(filter.Accept(press));
  EXPECT_TRUE(filter.Accept(release));
  EXPECT_TRUE(filter.Accept(press)) << "pressed again after its release";
  EXPECT_TRUE(filter.Accept(Key(message::kKeyDown, 0x30, false))) << "another key";
  EXPECT_TRUE(filter.Accept(press)) << "A again after B";

  MouseRepeatFilter buttons;
  EXPECT_TRUE(buttons.Accept(message::kLeftDown));
  EXPECT_FALSE(buttons.Accept(message::kLeftDown)) << "a second press without its release";
  EXPECT_TRUE(buttons.Accept(message::kLeftUp));
  EXPECT_TRUE(buttons.Accept(message::kLeftDown));
}

TEST(RecordingDelays, MeasuredFromTheEventsOwnTimesAndHeldTo65535) {
  DelayClock clock;
  clock.Begin(DelayMode::kMeasured, 1000, 50);
  EXPECT_EQ(clock.Next(1000), 0u);
  EXPECT_EQ(clock.Next(1300), 300u);
  EXPECT_EQ(clock.Next(1300), 0u) << "two events in one millisecond";
  EXPECT_EQ(clock.Next(1300 + 70000), 65535u) << "a pause of 70 s";
  EXPECT_EQ(clock.Next(1300 + 70000 + 65534), 65534u);

  clock.Begin(DelayMode::kMeasured, 0xFFFFFF00u, 50);
  EXPECT_EQ(clock.Next(0x100), 0x200u) << "a clock that wrapped since the event before";

  clock.Begin(DelayMode::kFixed, 1000, 75);
  EXPECT_EQ(clock.Next(5000), 75u);
  clock.Begin(DelayMode::kZero, 1000, 75);
  EXPECT_EQ(clock.Next(5000), 0u);
}

}  // namespace
}  // namespace norvane::macro
