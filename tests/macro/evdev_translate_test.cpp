// Kernel input events, as recorded from a keyboard and a mouse (evemu's text form), through the evdev
// backend's translation and on to the macro steps they record: a held key is one press and one release,
// the wheel and motion are no steps, and the side, extra, forward and back buttons are back and forward.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "macro/evdev_recorder.h"
#include "macro/recording.h"

namespace norvane::macro {
namespace {

// The "E:" lines of an evemu recording: "E: <seconds>.<microseconds> <type hex> <code hex> <value>".
std::vector<input_event> ReadRecording(const std::string& name) {
  std::ifstream file(std::string(NORVANE_SOURCE_DIR "/tests/macro/fixtures/") + name);
  EXPECT_TRUE(file.good()) << name;
  std::vector<input_event> events;
  std::string line;
  while (std::getline(file, line)) {
    if (line.rfind("E: ", 0) != 0) continue;
    std::istringstream fields(line.substr(3));
    std::string time;
    unsigned type = 0;
    unsigned code = 0;
    int value = 0;
    fields >> time >> std::hex >> type >> code >> std::dec >> value;
    input_event event{};
    const std::size_t dot = time.find('.');
    event.time.tv_sec = std::stol(time.substr(0, dot));
    event.time.tv_usec = std::stol(time.substr(dot + 1));
    event.type = static_cast<std::uint16_t>(type);
    event.code = static_cast<std::uint16_t>(code);
    event.value = value;
    events.push_back(event);
  }
  return events;
}

struct Step {
  MacroEvent event;
  std::uint32_t time;
  friend bool operator==(const Step&, const Step&) = default;
};

std::ostream& operator<<(std::ostream& out, const Step& step) {
  return out << step.event.action << " " << step.event.type << "/" << step.event.button << " @" << step.time;
}

// What a recording takes from the events: each translated input that names a key or button a step can play.
std::vector<Step> StepsOf(const std::vector<input_event>& events) {
  std::vector<Step> steps;
  for (const input_event& event : events) {
    const std::optional<CapturedInput> input = TranslateEvdevEvent(event);
    if (!input) continue;
    if (const std::optional<HookKeyEvent> key = HookKeyOf(*input)) {
      if (const std::optional<MacroEvent> step = EventOfKey(*key)) steps.push_back({*step, key->time});
    } else if (const std::optional<HookMouseEvent> mouse = HookMouseOf(*input)) {
      if (const std::optional<MacroEvent> step = EventOfMouse(*mouse)) steps.push_back({*step, mouse->time});
    }
  }
  return steps;
}

TEST(EvdevRecording, AKeyboardsHeldKeyAndItsSpecialKeys) {
  const std::vector<Step> steps = StepsOf(ReadRecording("keyboard_held_and_special_keys.events"));
  // Milliseconds of the monotonic clock, kept to 32 bits.
  EXPECT_EQ(steps, (std::vector<Step>{{{"down", 0x04, 0, 10}, 1000000},
                                      {{"up", 0x04, 0, 10}, 1000800},
                                      {{"down", 0x20, 0, 9}, 1001100},
                                      {{"up", 0x20, 0, 9}, 1001150},
                                      {{"down", 0x53, 0, 10}, 1001200},
                                      {{"up", 0x53, 0, 10}, 1001250},
                                      {{"down", 0x48, 0, 10}, 1001300},
                                      {{"up", 0x48, 0, 10}, 1001300},
                                      {{"down", 0x58, 0, 10}, 1001400},
                                      {{"up", 0x58, 0, 10}, 1001450}}))
      << "the repeats (value 2), the scan and LED reports and a key no step plays are left out";
}

TEST(EvdevRecording, AMousesButtonsWithoutTheWheelOrMotion) {
  const std::vector<Step> steps = StepsOf(ReadRecording("mouse_buttons_wheel_and_motion.events"));
  EXPECT_EQ(steps, (std::vector<Step>{{{"down", 0x01, 0, 1}, 2000010},
                                      {{"up", 0x01, 0, 1}, 2000090},
                                      {{"down", 0x08, 0, 1}, 2000300},
                                      {{"up", 0x08, 0, 1}, 2000350},
                                      {{"down", 0x10, 0, 1}, 2000400},
                                      {{"up", 0x10, 0, 1}, 2000450},
                                      {{"down", 0x10, 0, 1}, 2000500},
                                      {{"down", 0x08, 0, 1}, 2000550}}));
}

TEST(EvdevRecording, EventsThatAreNoKeyOrButtonAreNothing) {
  input_event event{};
  event.type = EV_KEY;
  event.code = BTN_TRIGGER;  // a joystick's
  event.value = 1;
  EXPECT_FALSE(TranslateEvdevEvent(event));
  event.code = BTN_TOUCH;
  EXPECT_FALSE(TranslateEvdevEvent(event));
  event.code = KEY_RESERVED;
  EXPECT_FALSE(TranslateEvdevEvent(event));
  event.type = EV_SW;
  event.code = 0;
  EXPECT_FALSE(TranslateEvdevEvent(event));
}

}  // namespace
}  // namespace norvane::macro
