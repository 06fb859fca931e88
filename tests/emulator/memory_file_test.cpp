// Devices that keep their memory in a file from one backend to the next: what is stored, under which
// device, and files that are damaged or from elsewhere.

#include <thread>

#include "emulator_test_support.h"
#include "tests/support/temp_folder.h"

namespace norvane::emulator::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader =
    "# Memory of the emulated devices of the demo mode; delete this file to start from factory memory.\n"
    "norvane-emulated-memory 1\n";

std::string Hex(uint8_t byte, size_t count) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

class MemoryFileTest : public EmulatorTest {
 protected:
  fs::path File() const { return temp_ / "memory.txt"; }

  // A new run: the old backend ends (writing what it still had to) and a new one reads the file.
  std::string Run(std::string_view list) {
    backend.reset();
    Create(list);
    return backend->KeepMemoryIn(File());
  }

  uint8_t Send(DeviceId device, uint8_t command, uint16_t offset, const Bytes& payload) {
    auto connection = OpenCommandNode(device);
    if (!connection) return 0;
    const auto reply =
        Exchange(*connection, MakeFrame(command, static_cast<uint8_t>(payload.size()), offset, payload));
    return reply ? (*reply)[7] : 0;
  }

  uint8_t ActiveProfile(DeviceId device) const {
    return backend->ReadMemory(device, MemoryArea::kSettings, 0, 1).at(0);
  }

  norvane::testing::TempFolder temp_;
};

TEST_F(MemoryFileTest, EveryKeptAreaWrittenByCommandComesBackInTheNextRun) {
  struct Case {
    DeviceModel model;
    uint8_t command;
    uint16_t offset;
    MemoryArea area;
  };
  const std::vector<Case> cases{
      {DeviceModel::kKeyboard, 0x06, 40, MemoryArea::kSettings},
      {DeviceModel::kKeyboard, 0x09, 400, MemoryArea::kKeyTable},
      {DeviceModel::kKeyboard, 0x27, 8, MemoryArea::kKeyTableExtra},
      {DeviceModel::kKeyboard, 0x0B, 6, MemoryArea::kLightMask},
      {DeviceModel::kKeyboard, 0x15, 1000, MemoryArea::kMacros},
      {DeviceModel::kMouse, 0x17, 112, MemoryArea::kRecoil},
  };
  const Bytes written{0xA1, 0xB2, 0xC3, 0xD4};
  ASSERT_EQ(Run("keyboard,mouse"), "");
  for (const Case& each : cases) {
    EXPECT_EQ(Send(Find(each.model), each.command, each.offset, written), 0x01) << int{each.command};
  }
  ASSERT_EQ(Run("keyboard,mouse"), "");
  for (const Case& each : cases) {
    EXPECT_EQ(backend->ReadMemory(Find(each.model), each.area, each.offset, 4), written) << int{each.command};
  }
}

TEST_F(MemoryFileTest, DirectWritesAreKeptAndTheFileHoldsOnlyTheAreasThatLeftTheFactoryState) {
  ASSERT_EQ(Run("keyboard,mouse"), "");
  ASSERT_TRUE(
      backend->WriteMemory(Find(DeviceModel::kKeyboard), MemoryArea::kLightMask, 0, Bytes{0xFF, 0x00, 0x80}));
  backend->FlushMemoryFile();
  EXPECT_EQ(norvane::testing::ReadText(File()),
            std::string(kHeader) + "keyboard 0 light-mask ff0080" + std::string(1018, '0') + "\n");

  ASSERT_EQ(Run("keyboard,mouse"), "");
  EXPECT_EQ(backend->ReadMemory(Find(DeviceModel::kKeyboard), MemoryArea::kLightMask, 0, 4),
            (Bytes{0xFF, 0x00, 0x80, 0x00}));
}

TEST_F(MemoryFileTest, NothingIsWrittenWithoutAFileOrWithoutAChangeToAKeptArea) {
  {
    // Without KeepMemoryIn the user's folders are never touched.
    const norvane::testing::ScopedEnv data_home("XDG_DATA_HOME", temp_.path().c_str());
    Create("keyboard");
    EXPECT_EQ(Send(Find(DeviceModel::kKeyboard), 0x06, 0, Bytes{0x02}), 0x01);
    backend.reset();
    EXPECT_TRUE(fs::is_empty(temp_.path()));
  }

  ASSERT_EQ(Run("keyboard,mouse"), "");
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  EXPECT_EQ(Send(keyboard, 0x03, 0, Bytes(34, 0)), 0x01);               // a read
  EXPECT_EQ(Send(keyboard, 0x06, 508, Bytes(8, 0x11)), 0xFF);           // a write beyond the area
  EXPECT_EQ(Send(keyboard, 0x12, 0, Bytes(56, 0x22)), 0x01);            // a light stream frame
  EXPECT_EQ(Send(Find(DeviceModel::kMouse), 0x0B, 0, Bytes{1}), 0xFF);  // an area the mouse lacks
  backend->AddFault(keyboard, FaultRule{.kind = FaultKind::kRefuse, .command = 0x06});
  EXPECT_EQ(Send(keyboard, 0x06, 0, Bytes{0x03}), 0xFF);  // refused, not carried out
  EXPECT_TRUE(backend->WriteMemory(keyboard, MemoryArea::kInfo, 0, Bytes{0x55}));
  EXPECT_TRUE(backend->WriteMemory(keyboard, MemoryArea::kStatus, 0, Bytes{0x55}));
  backend->FlushMemoryFile();
  EXPECT_FALSE(fs::exists(File()));
}

TEST_F(MemoryFileTest, InformationBlockStatusAndLightStreamAreNeverTakenFromTheFile) {
  norvane::testing::WriteText(File(), std::string(kHeader) + "keyboard 0 info " + Hex(0xEE, 34) +
                                          "\nkeyboard 0 status " + Hex(0x00, 6) +
                                          "\nkeyboard 0 light-stream " + Hex(0x22, 512) +
                                          "\nkeyboard 0 settings 01" + Hex(0x00, 511) + "\n");
  ASSERT_EQ(Run("keyboard"), "");
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  EXPECT_EQ(ActiveProfile(keyboard), 0x01);  // the file was read
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kInfo, 0, 4), (Bytes{0x18, 0x01, 0x01, 0x04}));
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kStatus, 0, 1), Bytes{85});
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kLightStream, 0, 1), Bytes{0x00});

  // Nor are they written to it.
  ASSERT_TRUE(backend->WriteMemory(keyboard, MemoryArea::kInfo, 0, Bytes{0x99}));
  EXPECT_EQ(Send(keyboard, 0x06, 0, Bytes{0x02}), 0x01);
  backend->FlushMemoryFile();
  EXPECT_EQ(norvane::testing::ReadText(File()),
            std::string(kHeader) + "keyboard 0 settings 02" + Hex(0x00, 511) + "\n");
}

TEST_F(MemoryFileTest, AnAreaOfAnotherSizeStaysAsFromTheFactoryAndTheRestIsRead) {
  const std::string text = std::string(kHeader) + "keyboard 0 settings " + Hex(0x07, 511) +
                           "\nkeyboard 0 light-mask " + Hex(0x11, 512) + "\nkeyboard 0 macros 0102\n";
  norvane::testing::WriteText(File(), text);
  ASSERT_EQ(Run("keyboard"), "");
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kSettings, 0, 3), (Bytes{0x00, 0x03, 0x04}));
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kLightMask, 508, 4), Bytes(4, 0x11));
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kMacros, 0, 2), (Bytes{0x00, 0x00}));
  EXPECT_EQ(norvane::testing::ReadText(File()), text);  // well formed: not set aside
}

TEST_F(MemoryFileTest, DamagedFileIsSetAsideAndEveryDeviceStartsFromTheFactory) {
  const std::string good = std::string(kHeader) + "keyboard 0 settings 03" + Hex(0x00, 511) + "\n";
  const std::vector<std::string> damaged{
      std::string("\x01\xff garbage \0 more", 17),
      "",
      "keyboard 0 settings 03" + Hex(0x00, 511) + "\n",  // no version line
      good + "keyboard 0 key-table 0g\n",
      good + "keyboard 0 key-table 012\n",
      good + "keyboard zero key-table 00\n",
      good + "keyboard -1 key-table 00\n",
      good + "typewriter 0 key-table 00\n",
      good + "keyboard 0 firmware 00\n",
      good + "keyboard 0 key-table\n",
      good + "keyboard 0 key-table 00 00\n",
      good + "keyboard 0 settings 00\n",  // an area given twice
      good + "# " + std::string(1024 * 1024, 'x') + "\n",
  };
  for (const std::string& text : damaged) {
    norvane::testing::WriteText(File(), text);
    const std::string problem = Run("keyboard");
    EXPECT_NE(problem.find("damaged"), std::string::npos) << problem;
    EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard)), 0x00) << text.substr(0, 120);
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_EQ(norvane::testing::ReadText(temp_ / "memory.txt.malformed"), text);
    fs::remove(temp_ / "memory.txt.malformed");
  }

  // The next change starts a new file.
  EXPECT_EQ(Send(Find(DeviceModel::kKeyboard), 0x06, 0, Bytes{0x02}), 0x01);
  ASSERT_EQ(Run("keyboard"), "");
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard)), 0x02);
}

TEST_F(MemoryFileTest, FileOfAnotherVersionIsLeftInPlaceAndNotRead) {
  const std::string text = "norvane-emulated-memory 2\nkeyboard 0 settings 03" + Hex(0x00, 511) + "\n";
  norvane::testing::WriteText(File(), text);
  const std::string problem = Run("keyboard");
  EXPECT_NE(problem.find("another version"), std::string::npos) << problem;
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard)), 0x00);
  EXPECT_EQ(norvane::testing::ReadText(File()), text);
}

TEST_F(MemoryFileTest, DevicesOfOneModelAreToldApartByTheirRankInTheList) {
  ASSERT_EQ(Run("keyboard,keyboard"), "");
  EXPECT_EQ(Send(Find(DeviceModel::kKeyboard, 0), 0x06, 0, Bytes{0x01}), 0x01);
  EXPECT_EQ(Send(Find(DeviceModel::kKeyboard, 1), 0x06, 0, Bytes{0x02}), 0x01);

  ASSERT_EQ(Run("mouse,keyboard,keyboard,keyboard"), "");
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard, 0)), 0x01);
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard, 1)), 0x02);
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard, 2)), 0x00);
}

TEST_F(MemoryFileTest, MemoryReachedThroughAReceiverIsStoredAsTheWiredDevices) {
  ASSERT_EQ(Run("keyboard-receiver,keyboard"), "");
  EXPECT_EQ(Send(Find(DeviceModel::kKeyboardReceiver), 0x06, 0, Bytes{0x03}), 0x01);
  backend->FlushMemoryFile();
  const std::string text = norvane::testing::ReadText(File());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);  // one area of one device
  EXPECT_EQ(text.substr(kHeader.size(), 30), "keyboard 0 settings 0303040200");

  ASSERT_EQ(Run("keyboard"), "");
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard)), 0x03);
  // A receiver without its keyboard in the list reaches a keyboard of its own.
  ASSERT_EQ(Run("keyboard-receiver"), "");
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboardReceiver)), 0x00);
}

TEST_F(MemoryFileTest, DevicesLeftOutOfARunKeepTheirMemory) {
  ASSERT_EQ(Run("keyboard,mouse"), "");
  EXPECT_EQ(Send(Find(DeviceModel::kMouse), 0x06, 0, Bytes{0x02}), 0x01);
  ASSERT_EQ(Run("keyboard"), "");
  EXPECT_EQ(Send(Find(DeviceModel::kKeyboard), 0x06, 0, Bytes{0x01}), 0x01);

  ASSERT_EQ(Run("mouse,keyboard"), "");
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kMouse)), 0x02);
  EXPECT_EQ(ActiveProfile(Find(DeviceModel::kKeyboard)), 0x01);
}

TEST_F(MemoryFileTest, WritesFromSeveralThreadsLeaveTheLastMemoryInTheFile) {
  ASSERT_EQ(Run("keyboard,keyboard"), "");
  const auto write_profiles = [this](DeviceId device) {
    auto connection = OpenCommandNode(device);
    for (int round = 0; round < 200; ++round) {
      const Bytes profile{static_cast<uint8_t>(round % 4)};
      EXPECT_TRUE(Exchange(*connection, MakeFrame(0x06, 1, 0, profile)).has_value());
    }
  };
  std::thread first(write_profiles, Find(DeviceModel::kKeyboard, 0));
  std::thread second(write_profiles, Find(DeviceModel::kKeyboard, 1));
  first.join();
  second.join();
  EXPECT_EQ(Send(Find(DeviceModel::kKeyboard, 1), 0x06, 1, Bytes{0x09}), 0x01);

  ASSERT_EQ(Run("keyboard,keyboard"), "");
  EXPECT_EQ(backend->ReadMemory(Find(DeviceModel::kKeyboard, 0), MemoryArea::kSettings, 0, 2),
            (Bytes{0x03, 0x03}));
  EXPECT_EQ(backend->ReadMemory(Find(DeviceModel::kKeyboard, 1), MemoryArea::kSettings, 0, 2),
            (Bytes{0x03, 0x09}));
}

}  // namespace
}  // namespace norvane::emulator::testing
