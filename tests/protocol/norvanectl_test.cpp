// End to end: the built norvanectl binary against emulated devices.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

class NorvanectlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    binary_ = fs::path(NORVANE_BINARY_DIR) / "bin" / "norvanectl";
    if (!fs::exists(binary_)) {
      GTEST_SKIP() << "bin/norvanectl is not built: build the norvanectl target";
    }
    scratch_ = fs::temp_directory_path() / ("norvanectl_test_" + std::to_string(::getpid()));
    fs::create_directories(scratch_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }

  // Runs the tool with `arguments` (already shell-quoted where needed) and an optional environment prefix.
  RunResult Run(const std::string& arguments, const std::string& environment = "env -u NORVANE_EMULATE") {
    const fs::path out = scratch_ / "out";
    const fs::path err = scratch_ / "err";
    // The user's own folders stay out of reach: the emulated devices keep their memory there.
    const std::string command = "XDG_DATA_HOME='" + (scratch_ / "data").string() + "' " + environment + " '" +
                                binary_.string() + "' " + arguments + " >'" + out.string() + "' 2>'" +
                                err.string() + "'";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    return result;
  }

  fs::path binary_;
  fs::path scratch_;
};

TEST_F(NorvanectlTest, ListShowsBothInterfacesOfEachDeviceWithTheirTableRows) {
  const RunResult text = Run("--emulate keyboard,mouse list");
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_NE(
      text.out.find("vendor 320f  product 5055  interface 1  collection 4  usage page ff1c  usage 0092"),
      std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("table row: 0 (keyboard, kind 1, command interface)"), std::string::npos);
  EXPECT_NE(text.out.find("table row: 1 (keyboard, kind 1, event interface)"), std::string::npos);
  EXPECT_NE(text.out.find("table row: 4 (mouse, kind 2, command interface)"), std::string::npos);
  EXPECT_NE(text.out.find("table row: 5 (mouse, kind 2, event interface)"), std::string::npos);

  const RunResult json = Run("--json --emulate keyboard,mouse list");
  ASSERT_EQ(json.exit_code, 0) << json.err;
  Json::Value root;
  std::string errors;
  std::istringstream stream(json.out);
  ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), stream, &root, &errors)) << errors;
  std::vector<int> rows;
  for (const Json::Value& item : root["interfaces"]) {
    if (!item["table_row"].isInt()) continue;
    rows.push_back(item["table_row"].asInt());
    const int row = item["table_row"].asInt();
    EXPECT_EQ(item["vendor_id"].asInt(), 0x320F);
    EXPECT_EQ(item["interface_number"].asInt(), 1);
    EXPECT_EQ(item["collection_number"].asInt(), row % 2 == 0 ? 4 : 3);
    EXPECT_EQ(item["usage_page"].asInt(), row % 2 == 0 ? 0xFF1C : 0x000C);
    EXPECT_NE(item["path"].asString().find("&col0"), std::string::npos);
  }
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 4, 5}));
}

TEST_F(NorvanectlTest, TracedInfoReadsEachInformationBlockInOneFrame) {
  const RunResult result = Run("--emulate keyboard,mouse --trace info");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  int info_requests = 0;
  int info_replies = 0;
  for (const std::string& line : Lines(result.err)) {
    // report id, checksum, command 0x03, 34 bytes at offset 0
    if (line.starts_with("> 04 ") && line.substr(11, 12) == "03 22 00 00 ") ++info_requests;
    if (line.starts_with("< 04 ") && line.substr(11, 3) == "03 ") ++info_replies;
    if (line.starts_with("> ") || line.starts_with("< ")) {
      EXPECT_EQ(line.size(), 2u + 64 * 3 - 1) << line;
    }
  }
  EXPECT_EQ(info_requests, 2);
  EXPECT_EQ(info_replies, 2);
  EXPECT_NE(result.out.find("keyboard (table row 0), wired link"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("mouse (table row 4), wired link"), std::string::npos);
  EXPECT_NE(result.out.find("key positions: "), std::string::npos);
  EXPECT_NE(result.out.find("lowest DPI: "), std::string::npos);
}

TEST_F(NorvanectlTest, InfoThroughAReceiverTakesTwoFrames) {
  const RunResult result = Run("--trace info", "NORVANE_EMULATE=keyboard-receiver");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  std::vector<std::string> pieces;
  for (const std::string& line : Lines(result.err)) {
    if (line.starts_with("> 04 ") && line.substr(11, 3) == "03 ") pieces.push_back(line.substr(14, 9));
  }
  EXPECT_EQ(pieces, (std::vector<std::string>{"18 00 00 ", "0a 18 00 "}));
  EXPECT_NE(result.out.find("receiver link"), std::string::npos);
}

TEST_F(NorvanectlTest, NothingConnectedIsAClearFailure) {
  const RunResult result = Run("--emulate headset info");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("no supported device connected"), std::string::npos) << result.err;
  EXPECT_TRUE(result.out.empty());

  // The real HID backend on a machine without any HID node.
  if (!fs::exists("/dev/hidraw0")) {
    const RunResult real = Run("info");
    EXPECT_EQ(real.exit_code, 1);
    EXPECT_NE(real.err.find("no supported device connected"), std::string::npos) << real.err;
  }
}

TEST_F(NorvanectlTest, EmulatedDevicesShareTheDemoModesMemoryFile) {
  const fs::path folder = scratch_ / "data" / "R27 有线";
  fs::create_directories(folder);
  std::ofstream(folder / "emulated_devices.txt") << "not a memory file\n";

  const RunResult result = Run("--emulate keyboard list");
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.err.find("emulated_devices.txt is damaged"), std::string::npos) << result.err;
  EXPECT_EQ(ReadFile(folder / "emulated_devices.txt.malformed"), "not a memory file\n");

  // Reading the devices changes nothing they keep: no new file.
  EXPECT_FALSE(fs::exists(folder / "emulated_devices.txt"));
}

TEST_F(NorvanectlTest, BadCommandLinesAreUsageErrors) {
  RunResult result = Run("--emulate toaster list");
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("toaster"), std::string::npos) << result.err;

  result = Run("frobnicate");
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("unknown command frobnicate"), std::string::npos) << result.err;

  result = Run("--help");
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find("--emulate LIST"), std::string::npos);
}

// A setting command as a script runs it: the exit status, one line on stderr, and the change kept by the
// emulated mouse for the next run.
TEST_F(NorvanectlTest, SettingCommandsKeepTheirChangeAndAnswerWithExitStatuses) {
  RunResult set = Run("dpi set 1 800 --colour 00ff00 --emulate mouse");
  ASSERT_EQ(set.exit_code, 0) << set.err;
  EXPECT_EQ(set.out, "stage 1: 800 DPI\n");

  const RunResult shown = Run("--json --emulate mouse dpi show");
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  Json::Value root;
  std::string errors;
  std::istringstream stream(shown.out);
  ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), stream, &root, &errors)) << errors;
  EXPECT_EQ(root["stages"][0]["dpi"].asInt(), 800);
  EXPECT_EQ(root["stages"][0]["colour"].asString(), "00ff00");

  const RunResult wrong = Run("--emulate mouse dpi set 1");
  EXPECT_EQ(wrong.exit_code, 2);
  EXPECT_EQ(Lines(wrong.err).size(), 1u) << wrong.err;
  EXPECT_TRUE(wrong.out.empty());

  const RunResult missing = Run("--emulate keyboard dpi show");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(Lines(missing.err).size(), 1u) << missing.err;

  const RunResult help = Run("key set --help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("keyboard:[MOD+]KEY"), std::string::npos) << help.out;
}

// The profile rules of a device folder, changed from scripts.
class NorvanectlRulesTest : public NorvanectlTest {
 protected:
  void SetUp() override {
    NorvanectlTest::SetUp();
    if (IsSkipped()) return;
    keyboard_ = scratch_ / "data" / "R27 有线" / "keyboard";
    fs::create_directories(keyboard_);
    std::ofstream(keyboard_ / "ProfileList.ini")
        << R"({"profilelist": [{"profilename": "Profile1", "profileUUID": "2026_01_01_00_00_00_000"},)"
        << R"({"profilename": "Games", "profileUUID": "2026_01_01_00_00_01_000"}], "profileselect": 0})";
  }
  Json::Value Rules() const {
    Json::Value root;
    std::istringstream stream(ReadFile(keyboard_ / "ProfileRules.json"));
    std::string errors;
    Json::parseFromStream(Json::CharReaderBuilder(), stream, &root, &errors);
    return root;
  }
  fs::path keyboard_;
};

TEST_F(NorvanectlRulesTest, RulesAreAddedListedAndRemovedInTheDeviceFolder) {
  RunResult result = Run("rules add --device keyboard steam games");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "keyboard: rule 1: steam while it runs -> Games\n");
  result = Run("rules add --device keyboard --focus '/opt/My Game/game' 2026_01_01_00_00_00_000");
  ASSERT_EQ(result.exit_code, 0) << result.err;

  Json::Value rules = Rules()["Rules"];
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(rules[0]["Program"].asString(), "steam");
  EXPECT_EQ(rules[0]["When"].asString(), "running");
  EXPECT_EQ(rules[0]["Profile"].asString(), "2026_01_01_00_00_01_000");
  EXPECT_EQ(rules[1]["Program"].asString(), "/opt/My Game/game");
  EXPECT_EQ(rules[1]["When"].asString(), "focus");

  result = Run("rules list");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(Lines(result.out),
            (std::vector<std::string>{"keyboard: 1. steam while it runs -> Games",
                                      "keyboard: 2. /opt/My Game/game while it has the focus -> Profile1",
                                      "keyboard: otherwise -> the profile chosen by hand"}));
  result = Run("rules list --device keyboard --json");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  Json::Value listed;
  std::istringstream stream(result.out);
  std::string errors;
  ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), stream, &listed, &errors)) << errors;
  EXPECT_EQ(listed["keyboard"]["rules"][1]["when"].asString(), "focus");
  EXPECT_EQ(listed["keyboard"]["rules"][0]["profile"].asString(), "Games");

  result = Run("rules remove --device keyboard 1");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  rules = Rules()["Rules"];
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0]["Program"].asString(), "/opt/My Game/game");
}

TEST_F(NorvanectlRulesTest, WrongRulesCommandsSayWhyAndChangeNothing) {
  RunResult result = Run("rules add --device keyboard steam Nonesuch");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("no profile \"Nonesuch\" (it has Profile1, Games)"), std::string::npos)
      << result.err;
  result = Run("rules add --device mouse steam Games");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("the mouse has no profiles yet"), std::string::npos) << result.err;
  result = Run("rules remove --device keyboard 3");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_FALSE(fs::exists(keyboard_ / "ProfileRules.json"));

  for (const char* line : {"rules", "rules add steam Games", "rules add --device toaster steam Games",
                           "rules remove --device keyboard first",
                           "rules add --device keyboard --focus --running a b", "rules list --focus"}) {
    result = Run(line);
    EXPECT_EQ(result.exit_code, 2) << line;
    EXPECT_EQ(Lines(result.err).size(), 1u) << line << ": " << result.err;
  }
  EXPECT_FALSE(fs::exists(keyboard_ / "ProfileRules.json"));
  result = Run("rules --help");
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find("norvanectl rules add --device KIND PROGRAM PROFILE"), std::string::npos);
}

}  // namespace
