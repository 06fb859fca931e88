// macro import, list, export and bind on the emulated keyboard: an imported macro file bound to a key
// reaches the key table (type 0x70, the macro's place in the block) and the macro block.
#include <gmock/gmock.h>

#include "tests/cli/cli_fixture.h"
#include "tests/support/macro_files.h"
#include "tools/norvanectl/english_texts.h"

namespace norvane::cli::testing {
namespace {

using emulator::DeviceModel;
using emulator::MemoryArea;
using ::testing::HasSubstr;

class MacroCommandsTest : public CliTest {
 protected:
  MacroCommandsTest() : CliTest({DeviceModel::kKeyboard}) {
    SetSkinFolderOverride(std::filesystem::path(NORVANE_SOURCE_DIR) / "skin");
    // A macro file of four key events, as the macro editor saves it, outside the device folder.
    norvane::testing::WriteMacroFiles(source_.path(), {4});
    for (const auto& entry : std::filesystem::directory_iterator(source_.path())) {
      if (entry.path().extension() == ".mac") {
        std::filesystem::rename(entry.path(), source_.path() / "Reload.mac");
        break;
      }
    }
  }
  ~MacroCommandsTest() override { SetSkinFolderOverride({}); }

  int PositionOf(const std::vector<uint8_t>& code) const {
    const std::vector<uint8_t> table = Memory(DeviceModel::kKeyboard, MemoryArea::kKeyTable, 0, 510);
    for (size_t at = 0; at + 3 <= table.size(); at += 3) {
      if (std::equal(code.begin(), code.end(), table.begin() + std::ptrdiff_t(at))) return int(at / 3);
    }
    return -1;
  }

  norvane::testing::TempFolder source_;
};

TEST_F(MacroCommandsTest, AnImportedMacroIsListedExportedAndBoundToAKey) {
  const CommandOutput imported = Run({"macro", "import", (source_.path() / "Reload.mac").string()});
  ASSERT_EQ(imported.exit, 0) << imported.err;
  EXPECT_EQ(imported.out, "imported as \"Reload\"\n");
  EXPECT_EQ(Run({"macro", "list"}).out, "Reload  (4 events)\n");

  ASSERT_EQ(Run({"macro", "export", "reload", (source_.path() / "copy.mac").string()}).exit, 0);
  EXPECT_TRUE(std::filesystem::exists(source_.path() / "copy.mac"));

  const int g = PositionOf({0x20, 0x00, 0x0A});  // the G key
  ASSERT_GE(g, 0);
  const CommandOutput bound = Run({"macro", "bind", "Reload", "G"});
  ASSERT_EQ(bound.exit, 0) << bound.err;
  // The first (and only) macro the keys use is the block's record 0.
  EXPECT_EQ(Memory(DeviceModel::kKeyboard, MemoryArea::kKeyTable, size_t(g) * 3, 3),
            (std::vector<uint8_t>{0x70, 0x00, 0x00}));
  const std::vector<uint8_t> block = Memory(DeviceModel::kKeyboard, MemoryArea::kMacros, 0, 16);
  EXPECT_NE(block, std::vector<uint8_t>(16, 0x00)) << "the macro block was written";
}

TEST_F(MacroCommandsTest, FilesThatAreNoMacroAndUnknownNamesAreRefused) {
  std::ofstream(source_.path() / "notes.mac") << "not json at all";
  const CommandOutput refused = Run({"macro", "import", (source_.path() / "notes.mac").string()});
  EXPECT_EQ(refused.exit, 1);
  EXPECT_THAT(refused.err, HasSubstr("was not imported"));
  EXPECT_EQ(Run({"macro", "import", (source_.path() / "missing.mac").string()}).exit, 1);
  EXPECT_EQ(Run({"macro", "list"}).out, "");

  EXPECT_EQ(Run({"macro", "export", "nothing", (source_.path() / "x.mac").string()}).exit, 1);
  EXPECT_EQ(Run({"macro", "bind", "nothing", "G"}).exit, 2);
  EXPECT_EQ(Run({"macro", "bind", "nothing"}).exit, 2);
}

}  // namespace
}  // namespace norvane::cli::testing
