// dpi, rate and status on the emulated mouse: the settings record in the mouse's memory and the selected
// profile checked afterwards, and the bad inputs that must leave both as they were.
#include <gmock/gmock.h>

#include "tests/cli/cli_fixture.h"
#include "platform/atomic_file.h"
#include "tests/cli/x_screen.h"

namespace norvane::cli::testing {
namespace {

using emulator::DeviceModel;
using emulator::MemoryArea;
using ::testing::HasSubstr;

constexpr uint8_t kWriteSettings = 0x06;
// The settings record of profile 0 sits at address 0; the offsets of its bytes.
constexpr size_t kRecordSize = 71;
constexpr size_t kReportRateByte = 11;
constexpr size_t kActiveStageByte = 12;
constexpr size_t kStagesByte = 14;  // five stages of 9 bytes: on, xy, DPI x (16-bit), DPI y, red, green, blue
constexpr size_t kScreenByte = 60;  // width and height, 16-bit little-endian each

class MouseCommandsTest : public CliTest {
 protected:
  MouseCommandsTest() : CliTest({DeviceModel::kMouse, DeviceModel::kMouseReceiver}) {}

  std::vector<uint8_t> Record() const { return Memory(DeviceModel::kMouse, MemoryArea::kSettings, 0, kRecordSize); }
  int SettingsWrites() const {
    int writes = 0;
    for (const auto& frame : emulator_.Backend().FrameLog()) {
      writes += frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == kWriteSettings;
    }
    return writes;
  }
  const Json::Value& Stage(const Json::Value& profile, int n) {
    return profile["Device"][0]["DPIStages"]["StageDPIs"][n];
  }
};

TEST_F(MouseCommandsTest, DpiSetStoresTheSensorPositionAndColourInProfileAndMouse) {
  const std::vector<uint8_t> before = Record();
  // The emulated mouse's sensor starts at 100 DPI in steps of 100: 800 DPI is position 7.
  const CommandOutput done = Run({"dpi", "set", "1", "800", "--colour", "FF8000"});
  ASSERT_EQ(done.exit, 0) << done.err;
  EXPECT_EQ(done.out, "stage 1: 800 DPI\n");

  const std::vector<uint8_t> record = Record();
  EXPECT_EQ(record[kStagesByte + 2], 0x07);
  EXPECT_EQ(record[kStagesByte + 3], 0x00);
  EXPECT_EQ(record[kStagesByte + 6], 0xFF);
  EXPECT_EQ(record[kStagesByte + 7], 0x80);
  EXPECT_EQ(record[kStagesByte + 8], 0x00);
  // Without a display the screen size the mouse holds stays.
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + kScreenByte, record.begin() + kScreenByte + 4),
            std::vector<uint8_t>(before.begin() + kScreenByte, before.begin() + kScreenByte + 4));

  const Json::Value profile = SelectedProfile("mouse");
  EXPECT_EQ(Stage(profile, 0)["StageDPIX"].asInt(), 7);
  EXPECT_EQ(Stage(profile, 0)["StageColorR"].asInt(), 255);
  EXPECT_EQ(Stage(profile, 0)["StageColorG"].asInt(), 128);
  EXPECT_EQ(Stage(profile, 0)["StageColorB"].asInt(), 0);
}

TEST_F(MouseCommandsTest, WithADisplayTheRecordCarriesTheDisplaysScreenSize) {
  if (display_.empty()) GTEST_SKIP() << "no display in this run";
  norvane::testing::ScopedEnv display("DISPLAY", display_.c_str());
  const std::optional<std::pair<int, int>> screen = XScreenSize(display_);
  ASSERT_TRUE(screen.has_value());
  const auto [width, height] = *screen;
  ASSERT_EQ(Run({"dpi", "set", "1", "800"}).exit, 0);
  const std::vector<uint8_t> record = Record();
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + kScreenByte, record.begin() + kScreenByte + 4),
            (std::vector<uint8_t>{uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8)}));
}

TEST_F(MouseCommandsTest, RecoilImportTakesARecoilFileForOneGunAndRefusesAnythingElse) {
  // Gun 2 without events; the other three keep their 30 bullets of 6 events.
  const std::filesystem::path empty = root_.path() / "empty.Shoot";
  std::ofstream(empty) << "{\"Events\": []}";
  const CommandOutput imported = Run({"recoil", "import", "2", empty.string()});
  ASSERT_EQ(imported.exit, 0) << imported.err;
  ASSERT_EQ(Run({"recoil", "write"}).exit, 0);
  // 24 + 3 x (4 + 180 x 4) + 4 = 2200 = 0x0898 bytes; gun 2's record of 4 bytes at 748, gun 3 at 752.
  const std::vector<uint8_t> head = Memory(DeviceModel::kMouse, MemoryArea::kRecoil, 0, 24);
  EXPECT_EQ(head, (std::vector<uint8_t>{0xAA, 0x55, 0x98, 0x08, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x18,
                                        0x00, 0xEC, 0x02, 0xF0, 0x02, 0xC4, 0x05}));

  // A file that is no recoil file, one that is missing, a gun that does not exist: the gun file stays.
  const std::filesystem::path text = root_.path() / "notes.txt";
  std::ofstream(text) << "not a recoil file";
  const std::filesystem::path gunFile = SelectedProfilePath("mouse").parent_path() / "ShootData_0.Shoot";
  std::string before;
  ASSERT_TRUE(ReadWholeFile(gunFile, before));
  const CommandOutput refused = Run({"recoil", "import", "1", text.string()});
  EXPECT_EQ(refused.exit, 1);
  EXPECT_THAT(refused.err, HasSubstr("no recoil file"));
  EXPECT_EQ(Run({"recoil", "import", "1", (root_.path() / "missing").string()}).exit, 1);
  EXPECT_EQ(Run({"recoil", "import", "5", empty.string()}).exit, 2);
  std::string after;
  ASSERT_TRUE(ReadWholeFile(gunFile, after));
  EXPECT_EQ(after, before);
}

TEST_F(MouseCommandsTest, DpiSetAboveTheEvenStepsTakesTheWideStepsOfThatSensor) {
  // Above position 48 the 0x3325 sensor steps 200 DPI: 9900 DPI is position 73, its last.
  ASSERT_EQ(Run({"dpi", "set", "5", "9900", "--device", "mouse"}).exit, 0);
  EXPECT_EQ(Record()[kStagesByte + 4 * 9 + 2], 73);
  EXPECT_EQ(Stage(SelectedProfile("mouse"), 4)["StageDPIX"].asInt(), 73);
}

TEST_F(MouseCommandsTest, DpiSelectAndRateSetReachTheirRecordBytes) {
  ASSERT_EQ(Run({"dpi", "select", "3"}).exit, 0);
  ASSERT_EQ(Run({"rate", "set", "4"}).exit, 0);
  const std::vector<uint8_t> record = Record();
  EXPECT_EQ(record[kActiveStageByte], 2);
  EXPECT_EQ(record[kReportRateByte], 4);
  const Json::Value profile = SelectedProfile("mouse");
  EXPECT_EQ(profile["Device"][0]["DPIStages"]["StageActive"].asInt(), 2);
  EXPECT_EQ(profile["Device"][0]["ReportStages"]["StageActive"].asInt(), 4);

  const Json::Value rates = ParseJson(Run({"rate", "list"}, true).out)["rates"];
  ASSERT_EQ(rates.size(), 5u);
  EXPECT_EQ(rates[0]["hertz"].asInt(), 125);
  EXPECT_EQ(rates[4]["hertz"].asInt(), 2000);
  EXPECT_TRUE(rates[4]["selected"].asBool());
}

TEST_F(MouseCommandsTest, DpiShowGivesEachStageInDpi) {
  ASSERT_EQ(Run({"dpi", "set", "2", "1600"}).exit, 0);
  const Json::Value shown = ParseJson(Run({"dpi", "show", "--json"}).out);
  ASSERT_EQ(shown["stages"].size(), 5u);
  EXPECT_EQ(shown["stages"][1]["stage"].asInt(), 2);
  EXPECT_EQ(shown["stages"][1]["dpi"].asInt(), 1600);
  EXPECT_EQ(shown["lowest"].asInt(), 100);
  EXPECT_EQ(shown["highest"].asInt(), 9900);
}

TEST_F(MouseCommandsTest, WrongCommandLinesExitTwoAndTouchNothing) {
  const std::vector<uint8_t> before = Record();
  const std::vector<std::vector<std::string>> wrong = {
      {"dpi", "set", "0", "800"},           {"dpi", "set", "6", "800"},
      {"dpi", "set", "1", "8OO"},           {"dpi", "set", "1", "-800"},
      {"dpi", "set", "1", "50"},            {"dpi", "set", "1", "10000"},
      {"dpi", "set", "1", "800", "--colour", "red"},
      {"dpi", "set", "1"},                  {"dpi", "spin"},
      {"dpi", "set", "1", "800", "--shade", "1"},
      {"rate", "set", "5"},                 {"rate", "set"},
      {"dpi", "show", "--device", "trackball"},
  };
  for (const auto& words : wrong) {
    const CommandOutput output = Run(words);
    std::string line;
    for (const auto& word : words) line += word + " ";
    EXPECT_EQ(output.exit, 2) << line;
    EXPECT_THAT(output.err, HasSubstr("norvanectl: ")) << line;
    EXPECT_EQ(std::count(output.err.begin(), output.err.end(), '\n'), 1) << "one line: " << output.err;
  }
  EXPECT_EQ(SettingsWrites(), 0);
  EXPECT_EQ(Record(), before);
}

TEST_F(MouseCommandsTest, AStageThatIsOffCannotBeSelected) {
  // Switch stage 4 off in the profile the mouse works on, as the page's enable check does.
  ASSERT_EQ(Run({"dpi", "show"}).exit, 0);
  Json::Value profile = SelectedProfile("mouse");
  profile["Device"][0]["DPIStages"]["StageDPIs"][3]["StageActive"] = 0;
  std::ofstream(SelectedProfilePath("mouse")) << profile.toStyledString();

  const CommandOutput refused = Run({"dpi", "select", "4"});
  EXPECT_EQ(refused.exit, 2);
  EXPECT_THAT(refused.err, HasSubstr("stage 4 is off"));
  EXPECT_EQ(SettingsWrites(), 0);
}

TEST_F(MouseCommandsTest, ARefusedWriteExitsOneAndTheProfileKeepsTheChange) {
  emulator_.Backend().AddFault(emulator_.Device(DeviceModel::kMouse),
                               {.kind = emulator::FaultKind::kRefuse, .command = kWriteSettings, .times = 0});
  const std::vector<uint8_t> before = Record();
  const CommandOutput refused = Run({"dpi", "set", "1", "800"});
  EXPECT_EQ(refused.exit, 1);
  EXPECT_THAT(refused.err, HasSubstr("did not take it"));
  EXPECT_THAT(refused.err, HasSubstr("refused"));
  EXPECT_EQ(Record(), before);
  EXPECT_EQ(Stage(SelectedProfile("mouse"), 0)["StageDPIX"].asInt(), 7);
}

TEST_F(MouseCommandsTest, TheReceiverServesWhenTheCableIsGoneAndItsLinkIsUp) {
  emulator_.Backend().Unplug(emulator_.Device(DeviceModel::kMouse));
  const CommandOutput status = Run({"status", "--json"});
  ASSERT_EQ(status.exit, 0) << status.err;
  EXPECT_EQ(ParseJson(status.out)["link"].asString(), "receiver");

  emulator_.Backend().SetLinkUp(emulator_.Device(DeviceModel::kMouseReceiver), false);
  const CommandOutput down = Run({"dpi", "set", "1", "800"});
  EXPECT_EQ(down.exit, 1);
  EXPECT_THAT(down.err, HasSubstr("does not answer"));
  EXPECT_EQ(SettingsWrites(), 0);
}

class KeyboardOnlyTest : public CliTest {
 protected:
  KeyboardOnlyTest() : CliTest({DeviceModel::kKeyboard}) {}
};

TEST_F(KeyboardOnlyTest, MouseSettingsAreRefusedOnAKeyboardAndMissedWithoutAMouse) {
  const CommandOutput onKeyboard = Run({"dpi", "set", "1", "800", "--device", "keyboard"});
  EXPECT_EQ(onKeyboard.exit, 2);
  EXPECT_THAT(onKeyboard.err, HasSubstr("keyboard has no DPI stages"));
  const CommandOutput none = Run({"rate", "list"});
  EXPECT_EQ(none.exit, 1);
  EXPECT_THAT(none.err, HasSubstr("no connected device has a report rate"));
  EXPECT_EQ(Run({"dpi", "show", "--device", "mouse"}).exit, 1);
}

}  // namespace
}  // namespace norvane::cli::testing
