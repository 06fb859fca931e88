// key list, set and reset on the emulated keyboard and mouse: the fixed spellings reach the device's key
// table at the key's own device position, and the profile's key list.
#include <gmock/gmock.h>

#include <algorithm>

#include "tests/cli/cli_fixture.h"
#include "tools/norvanectl/english_texts.h"

namespace norvane::cli::testing {
namespace {

using emulator::DeviceModel;
using emulator::MemoryArea;
using ::testing::HasSubstr;
using Code = std::vector<uint8_t>;

// Reference codes as the key table rules give them: type, data1, data2.
const Code kCodeA{0x20, 0x00, 0x04};
const Code kCodeS{0x20, 0x00, 0x16};
const Code kCodeF5{0x20, 0x00, 0x3E};
const Code kBackButton{0x10, 0x08, 0x00};
const Code kLeftButton{0x10, 0x01, 0x00};

class KeyCommandsTest : public CliTest {
 protected:
  KeyCommandsTest() : CliTest({DeviceModel::kKeyboard, DeviceModel::kMouse}) {
    SetSkinFolderOverride(std::filesystem::path(NORVANE_SOURCE_DIR) / "skin");
  }
  ~KeyCommandsTest() override { SetSkinFolderOverride({}); }

  Code CodeAt(DeviceModel model, int position) const {
    return Memory(model, MemoryArea::kKeyTable, size_t(position) * 3, 3);
  }
  // The first device position that holds `code`; -1 when none.
  int PositionOf(DeviceModel model, const Code& code) const {
    const std::vector<uint8_t> table = Memory(model, MemoryArea::kKeyTable, 0, 510);
    for (size_t at = 0; at + 3 <= table.size(); at += 3) {
      if (std::equal(code.begin(), code.end(), table.begin() + std::ptrdiff_t(at))) return int(at / 3);
    }
    return -1;
  }
  // The profile's "Assignment" of the key whose default is `code`, packed type << 16 | data1 << 8 | data2.
  int AssignmentOf(const std::string& folder, const Code& code) {
    const int packed = code[0] << 16 | code[1] << 8 | code[2];
    const Json::Value profile = SelectedProfile(folder);
    for (const Json::Value& key : profile["Device"][0]["KeyList"]) {
      if (key["DefaultAssignment"].asInt() == packed) return key["Assignment"].asInt();
    }
    ADD_FAILURE() << "no key with default " << packed;
    return -1;
  }
};

TEST_F(KeyCommandsTest, KeyboardSpellingsReachTheKeyAtItsDevicePosition) {
  const int a = PositionOf(DeviceModel::kKeyboard, kCodeA);
  const int s = PositionOf(DeviceModel::kKeyboard, kCodeS);
  const int f5 = PositionOf(DeviceModel::kKeyboard, kCodeF5);
  ASSERT_GE(a, 0);
  ASSERT_GE(s, 0);
  ASSERT_GE(f5, 0);

  // Ctrl+C: type 0x20, the left Ctrl bit 0x01, the usage of C 0x06.
  const CommandOutput set = Run({"key", "set", "a", "keyboard:ctrl+c", "--device", "keyboard"});
  ASSERT_EQ(set.exit, 0) << set.err;
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, a), (Code{0x20, 0x01, 0x06}));
  EXPECT_EQ(AssignmentOf("keyboard", kCodeA), 0x200106);

  // Volume up: consumer usage 0x00E9, low byte first.
  ASSERT_EQ(Run({"key", "set", "S", "media:volume-up", "--device", "keyboard"}).exit, 0);
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, s), (Code{0x30, 0xE9, 0x00}));
  // Shift with F5: the left Shift bit 0x02.
  ASSERT_EQ(Run({"key", "set", "F5", "keyboard:shift+f5", "--device", "keyboard"}).exit, 0);
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, f5), (Code{0x20, 0x02, 0x3E}));

  // A later run, whose keyboard no longer holds A's own code, still finds A where it sits: the reset
  // reaches the profile and the device, and so does setting it again.
  ASSERT_EQ(Run({"key", "reset", "A", "--device", "keyboard"}).exit, 0);
  EXPECT_EQ(AssignmentOf("keyboard", kCodeA), 0x200004);
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, a), kCodeA);
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, s), (Code{0x30, 0xE9, 0x00})) << "the others stay";
  ASSERT_EQ(Run({"key", "set", "A", "keyboard:ctrl+c", "--device", "keyboard"}).exit, 0);
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, a), (Code{0x20, 0x01, 0x06}));

  const Json::Value listed = ParseJson(Run({"key", "list", "--device", "keyboard", "--json"}).out);
  bool shown = false;
  for (const Json::Value& key : listed["keys"]) {
    if (key["key"].asString() == "S") shown = key["function"].asString() == "media:volume-up";
  }
  EXPECT_TRUE(shown) << "key list spells the function as key set takes it";
  // Two reassigned keys in one later run: each is found at its own place.
  ASSERT_EQ(Run({"key", "reset", "S", "--device", "keyboard"}).exit, 0);
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, s), kCodeS);
  EXPECT_EQ(CodeAt(DeviceModel::kKeyboard, a), (Code{0x20, 0x01, 0x06}));
}

TEST_F(KeyCommandsTest, MouseButtonsTakeMouseFunctionsAndKeepOneLeftButton) {
  const int back = PositionOf(DeviceModel::kMouse, kBackButton);
  ASSERT_GE(back, 0);
  const CommandOutput set = Run({"key", "set", "back button", "dpi:cycle", "--device", "mouse"});
  ASSERT_EQ(set.exit, 0) << set.err;
  EXPECT_EQ(CodeAt(DeviceModel::kMouse, back), (Code{0x13, 0x03, 0x00}));

  // Wheel down 3 steps, delay 1, speed 0: data1 0x10, data2 (128 - 3) with bit 7 set. Pointer right 20
  // steps, speed 5: data1 0x05, data2 20 with bit 7 set.
  // Each in a run of its own, after the back button was given another function in an earlier one.
  const int forward = PositionOf(DeviceModel::kMouse, {0x10, 0x10, 0x00});
  const int middle = PositionOf(DeviceModel::kMouse, {0x10, 0x04, 0x00});
  ASSERT_GE(forward, 0);
  ASSERT_GE(middle, 0);
  ASSERT_EQ(Run({"key", "set", "forward button", "wheel:down,3,1,0", "--device", "mouse"}).exit, 0);
  EXPECT_EQ(CodeAt(DeviceModel::kMouse, forward), (Code{0x12, 0x10, 0xFD}));
  ASSERT_EQ(Run({"key", "set", "middle button", "pointer:right,20,0,5", "--device", "mouse"}).exit, 0);
  EXPECT_EQ(CodeAt(DeviceModel::kMouse, middle), (Code{0x11, 0x05, 0x94}));
  // A button reassigned in an earlier run is still found where it sits.
  ASSERT_EQ(Run({"key", "set", "forward button", "wheel:up,3,1,0", "--device", "mouse"}).exit, 0);
  EXPECT_EQ(CodeAt(DeviceModel::kMouse, forward), (Code{0x12, 0x10, 0x03}));
  const std::string listed = Run({"key", "list", "--device", "mouse"}).out;
  EXPECT_THAT(listed, HasSubstr("wheel:up,3,1,0"));
  EXPECT_THAT(listed, HasSubstr("pointer:right,20,0,5"));
  for (const char* wrong : {"wheel:left,3,1,0", "pointer:right,128,0,0", "wheel:up,3,16,0", "pointer:left,1,2"}) {
    EXPECT_EQ(Run({"key", "set", "forward button", wrong, "--device", "mouse"}).exit, 2) << wrong;
  }
  EXPECT_EQ(CodeAt(DeviceModel::kMouse, forward), (Code{0x12, 0x10, 0x03}));

  const int left = PositionOf(DeviceModel::kMouse, kLeftButton);
  const CommandOutput refused = Run({"key", "set", "left button", "mouse:right", "--device", "mouse"});
  EXPECT_EQ(refused.exit, 2);
  EXPECT_THAT(refused.err, HasSubstr("left button"));
  EXPECT_EQ(CodeAt(DeviceModel::kMouse, left), kLeftButton);
}

TEST_F(KeyCommandsTest, WrongKeysAndFunctionsAreRefusedAndNothingIsWritten) {
  const std::vector<uint8_t> before = Memory(DeviceModel::kKeyboard, MemoryArea::kKeyTable, 0, 510);
  const std::vector<std::vector<std::string>> wrong = {
      {"key", "set", "nokey", "keyboard:a"},     {"key", "set", "A", "keyboard:ctrl+shift+c"},
      {"key", "set", "A", "keyboard:hyper+c"},   {"key", "set", "A", "media:louder"},
      {"key", "set", "A", "dpi:up"},             {"key", "set", "A", "volume-up"},
      {"key", "set", "A", "fire:300,1"},         {"key", "set", "A", "macro:nothing"},
      {"key", "set", "A"},                       {"key", "set", "9999", "keyboard:a"},
  };
  for (auto words : wrong) {
    words.insert(words.end(), {"--device", "keyboard"});
    const CommandOutput output = Run(words);
    EXPECT_EQ(output.exit, 2) << words[2] << " " << (words.size() > 3 ? words[3] : "");
    EXPECT_EQ(std::count(output.err.begin(), output.err.end(), '\n'), 1) << output.err;
  }
  EXPECT_EQ(Memory(DeviceModel::kKeyboard, MemoryArea::kKeyTable, 0, 510), before);
}

TEST(LanguageTextsTest, TextsAreReadWithTheirEntitiesAndAnythingElseIsPassedOver) {
  const TextTable texts = ParseLanguageTexts(
      "<Text id=\"a\" value=\"Page Up\"/>\n<Text id=\"q\" value=\"&quot;&amp;&lt;\"/>"
      "<Text id=\"broken value=\"x\"/><Text value=\"no id\"/><Text id=\"end\" value=\"unterminated");
  EXPECT_EQ(texts.at("a"), "Page Up");
  EXPECT_EQ(texts.at("q"), "\"&<");
  EXPECT_FALSE(texts.contains("end"));
  EXPECT_EQ(texts.size(), 3u);
}

}  // namespace
}  // namespace norvane::cli::testing
