// Command frames answered from device memory: every command of the set, chunk offsets, statuses.

#include <numeric>
#include <random>

#include "emulator_test_support.h"

namespace norvane::emulator::testing {
namespace {

class FirmwareTest : public EmulatorTest {
 protected:
  void SetUp() override {
    Create("keyboard,keyboard-receiver,mouse,mouse-receiver,mousepad,headset");
    keyboard = Find(DeviceModel::kKeyboard);
    receiver = Find(DeviceModel::kKeyboardReceiver);
    mouse = Find(DeviceModel::kMouse);
    mouse_receiver = Find(DeviceModel::kMouseReceiver);
    pad = Find(DeviceModel::kMousePad);
    headset = Find(DeviceModel::kHeadset);
  }

  Bytes Ask(DeviceId device, const Wire& frame) {
    auto connection = OpenCommandNode(device);
    EXPECT_NE(connection, nullptr);
    if (!connection) return {};
    const auto reply = Exchange(*connection, frame);
    EXPECT_TRUE(reply.has_value());
    return reply.value_or(Bytes(64, 0));
  }

  DeviceId keyboard = 0, receiver = 0, mouse = 0, mouse_receiver = 0, pad = 0, headset = 0;
};

TEST_F(FirmwareTest, ReplyEchoesTheRequestWithStatusAndItsOwnChecksum) {
  const Bytes reply = Ask(keyboard, MakeFrame(0x03, 34, 0));
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_EQ(reply[0], 0x04);
  EXPECT_EQ(reply[3], 0x03);
  EXPECT_EQ(reply[4], 34);
  EXPECT_EQ(reply[7], 0x01);
  const uint32_t sum = std::accumulate(reply.begin() + 3, reply.end(), 0u);
  EXPECT_EQ(reply[1] | (reply[2] << 8), static_cast<int>(sum & 0xFFFF));
}

TEST_F(FirmwareTest, InformationBlockDescribesEachKind) {
  const Bytes keyboard_info = PayloadOf(Ask(keyboard, MakeFrame(0x03, 34, 0)), 34);
  EXPECT_EQ(keyboard_info, backend->ReadMemory(keyboard, MemoryArea::kInfo, 0, 34));
  EXPECT_EQ(keyboard_info[5], 129);  // key positions: 387-byte key table, within 512
  EXPECT_GT(keyboard_info[6], 0);    // macro memory

  const Bytes mouse_info = PayloadOf(Ask(mouse, MakeFrame(0x03, 34, 0)), 34);
  EXPECT_EQ(mouse_info[9] | (mouse_info[10] << 8), 0x3325);  // sensor
  EXPECT_EQ(mouse_info[14] | (mouse_info[15] << 8), 100);    // lowest DPI
  EXPECT_EQ(backend->MemorySize(mouse, MemoryArea::kMacros), mouse_info[6] * 128u);

  // The receiver link reads the block in 24-byte chunks: 24 at offset 0, then 10 at offset 24.
  const Bytes head = PayloadOf(Ask(receiver, MakeFrame(0x03, 24, 0)), 24);
  const Bytes tail = PayloadOf(Ask(receiver, MakeFrame(0x03, 10, 24)), 10);
  Bytes joined = head;
  joined.insert(joined.end(), tail.begin(), tail.end());
  EXPECT_EQ(joined, keyboard_info);
}

TEST_F(FirmwareTest, ReadPayloadCarriesOnlyTheAskedBytes) {
  const Bytes reply = Ask(keyboard, MakeFrame(0x05, 3, 1));
  const Bytes area = backend->ReadMemory(keyboard, MemoryArea::kSettings, 1, 3);
  EXPECT_EQ(PayloadOf(reply, 3), area);
  EXPECT_TRUE(std::all_of(reply.begin() + 11, reply.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(FirmwareTest, SettingsWrittenInChunksReadBackAtTheirAddresses) {
  // A 71-byte mouse record for profile 2 at 2 x 128, written as 56 + 15 bytes.
  Bytes record(71);
  std::iota(record.begin(), record.end(), uint8_t{1});
  EXPECT_EQ(Ask(mouse, MakeFrame(0x06, 56, 256, std::span(record).first(56)))[7], 0x01);
  EXPECT_EQ(Ask(mouse, MakeFrame(0x06, 15, 256 + 56, std::span(record).subspan(56)))[7], 0x01);
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 256, 71), record);
  EXPECT_EQ(PayloadOf(Ask(mouse, MakeFrame(0x05, 15, 256 + 56)), 15),
            Bytes(record.begin() + 56, record.end()));
  // Neighbouring bytes are untouched.
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 256 + 71, 1), Bytes{0});
}

TEST_F(FirmwareTest, KeyTablesReadAndWrite) {
  const Bytes first = PayloadOf(Ask(keyboard, MakeFrame(0x07, 56, 0)), 56);
  EXPECT_EQ((Bytes{first[0], first[1], first[2]}), (Bytes{0x20, 0x01, 0x00}));  // left Ctrl at position 0

  const Bytes codes{0x70, 0x02, 0x00, 0x20, 0x00, 0x04};
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x09, 6, 224, codes))[7], 0x01);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kKeyTable, 224, 6), codes);

  EXPECT_EQ(Ask(keyboard, MakeFrame(0x27, 6, 0, codes))[7], 0x01);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kKeyTableExtra, 0, 6), codes);
  EXPECT_EQ(PayloadOf(Ask(keyboard, MakeFrame(0x1B, 6, 0)), 6), codes);

  // Page 1 (offset 512 + position) does not exist.
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x09, 6, 512, codes))[7], 0xFF);
  // The mouse has no second table.
  EXPECT_EQ(Ask(mouse, MakeFrame(0x1B, 8, 0))[7], 0xFF);
}

// The matrix is wired bottom row first and the function row last, with unwired positions (20 00 00)
// between some rows: a host that takes a key's place on the page for its device position writes the wrong
// key.
TEST_F(FirmwareTest, TheKeyboardsKeyTableIsInMatrixOrderWithGaps) {
  const Bytes table = backend->ReadMemory(keyboard, MemoryArea::kKeyTable, 0, 3 * 129);
  const auto code_at = [&](size_t position) {
    return Bytes(table.begin() + static_cast<std::ptrdiff_t>(3 * position),
                 table.begin() + static_cast<std::ptrdiff_t>(3 * position + 3));
  };
  EXPECT_EQ(code_at(107), (Bytes{0x20, 0x00, 0x29}));  // Escape opens the last row
  EXPECT_EQ(code_at(44), (Bytes{0x20, 0x00, 0x04}));   // A, after Caps Lock
  EXPECT_EQ(code_at(86), (Bytes{0x20, 0x00, 0x35}));   // the number row starts with the grave accent
  for (size_t gap : {21u, 64u, 128u}) EXPECT_EQ(code_at(gap), (Bytes{0x20, 0x00, 0x00})) << gap;
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kKeyTableExtra, 0, 3 * 129), table);
}

TEST_F(FirmwareTest, LightMaskStreamMacrosAndRecoilLandInTheirAreas) {
  const Bytes mask(21, 0x5A);
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x0B, 21, 3 * 2, mask))[7], 0x01);  // record index 2
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kLightMask, 6, 21), mask);

  const Bytes colours{1, 2, 3, 4, 5, 6};
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x12, 6, 56, colours))[7], 0x01);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kLightStream, 56, 6), colours);
  EXPECT_EQ(backend->Counters(keyboard).stream_frames, 1);

  const Bytes macro_head{0xAA, 0x55, 0x16, 0x00, 0x00, 0x00};
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x15, 6, 0, macro_head))[7], 0x01);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kMacros, 0, 6), macro_head);

  EXPECT_EQ(Ask(mouse, MakeFrame(0x17, 6, 112, macro_head))[7], 0x01);
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kRecoil, 112, 6), macro_head);

  // Past the end of the macro memory.
  const size_t macro_size = backend->MemorySize(keyboard, MemoryArea::kMacros);
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x15, 6, static_cast<uint16_t>(macro_size - 4), macro_head))[7], 0xFF);
}

TEST_F(FirmwareTest, CommandsADeviceDoesNotHaveAreRefused) {
  EXPECT_EQ(Ask(mouse, MakeFrame(0x12, 6, 0))[7], 0xFF);     // no streamed lighting
  EXPECT_EQ(Ask(mouse, MakeFrame(0x1C, 0, 0))[7], 0xFF);     // no light control hand-over
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x17, 6, 0))[7], 0xFF);  // no recoil memory
  EXPECT_EQ(Ask(pad, MakeFrame(0x07, 24, 0))[7], 0xFF);      // no key table
  EXPECT_EQ(Ask(headset, MakeFrame(0x15, 6, 0))[7], 0xFF);   // no macros
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x42, 0, 0))[7], 0xFF);  // unknown code
}

TEST_F(FirmwareTest, MalformedRequestsAreRefusedAndChangeNothing) {
  const Bytes before = backend->ReadMemory(keyboard, MemoryArea::kSettings, 0, 64);
  // Length above 56.
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x06, 57, 0))[7], 0xFF);
  // Range past the end of the settings area.
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x06, 8, 510, Bytes(8, 1)))[7], 0xFF);
  // Wrong checksum.
  Wire bad = MakeFrame(0x06, 4, 0, Bytes{9, 9, 9, 9});
  bad[1] ^= 0x01;
  EXPECT_EQ(Ask(keyboard, bad)[7], 0xFE);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kSettings, 0, 64), before);
  // The status read is 6 bytes long.
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x1A, 7, 0))[7], 0xFF);
}

TEST_F(FirmwareTest, ARequestWithAStatusByteIsRefusedAndChangesNothing) {
  Wire frame = MakeFrame(0x06, 2, 0, Bytes{7, 7});
  frame[7] = 0x01;
  uint32_t sum = 0;
  for (size_t i = 3; i < 64; ++i) sum += frame[i];
  frame[1] = static_cast<uint8_t>(sum & 0xFF);
  frame[2] = static_cast<uint8_t>((sum >> 8) & 0xFF);
  const Bytes before = backend->ReadMemory(keyboard, MemoryArea::kSettings, 0, 2);
  EXPECT_EQ(Ask(keyboard, frame)[7], 0xFF);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kSettings, 0, 2), before);
}

TEST_F(FirmwareTest, AReceiverCarriesAtMost24PayloadBytesExceptTheRecoilBlock) {
  const Bytes before = backend->ReadMemory(keyboard, MemoryArea::kSettings, 0, 32);
  EXPECT_EQ(Ask(receiver, MakeFrame(0x05, 25, 0))[7], 0xFF);
  EXPECT_EQ(Ask(receiver, MakeFrame(0x06, 25, 0, Bytes(25, 3)))[7], 0xFF);
  EXPECT_EQ(backend->ReadMemory(keyboard, MemoryArea::kSettings, 0, 32), before);
  EXPECT_EQ(Ask(receiver, MakeFrame(0x05, 24, 0))[7], 0x01);
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x05, 25, 0))[7], 0x01) << "the cable carries up to 56";

  const Bytes recoil(56, 0x21);
  EXPECT_EQ(Ask(mouse_receiver, MakeFrame(0x17, 56, 0, recoil))[7], 0x01);
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kRecoil, 0, 56), recoil);
  EXPECT_EQ(Ask(mouse_receiver, MakeFrame(0x15, 25, 0, Bytes(25, 1)))[7], 0xFF);
}

TEST_F(FirmwareTest, TheLinkQueryIsOnlyForAReceiver) {
  EXPECT_EQ(Ask(receiver, MakeFrame(0xAA, 0, 0))[7], 0x01);
  EXPECT_EQ(Ask(mouse_receiver, MakeFrame(0xAA, 0, 0))[7], 0x01);
  for (const DeviceId device : {keyboard, mouse, pad, headset}) {
    const Bytes reply = Ask(device, MakeFrame(0xAA, 0, 0));
    EXPECT_EQ(reply[3], 0xAA) << device;
    EXPECT_EQ(reply[7], 0xFF) << device;
    EXPECT_EQ(reply[8], 0x00) << device;
  }
}

TEST_F(FirmwareTest, TheHeadsetKnowsOnlyTheSeriesItsSettingsAndItsStatus) {
  for (const uint8_t code : {0x01, 0x02}) EXPECT_EQ(Ask(headset, MakeFrame(code, 0, 0))[7], 0x01) << int(code);
  EXPECT_EQ(Ask(headset, MakeFrame(0x05, 21, 64))[7], 0x01);
  EXPECT_EQ(Ask(headset, MakeFrame(0x06, 2, 64, Bytes{1, 2}))[7], 0x01);
  EXPECT_EQ(Ask(headset, MakeFrame(0x1A, 6, 0))[7], 0x01);
  // No information block, key tables, light mask, streamed lighting, macros, recoil or light hand-over.
  for (const uint8_t code : {0x03, 0x07, 0x09, 0x0B, 0x12, 0x15, 0x17, 0x1B, 0x1C, 0x27}) {
    EXPECT_EQ(Ask(headset, MakeFrame(code, 6, 0, Bytes(6, 0)))[7], 0xFF) << int(code);
  }
  EXPECT_EQ(Ask(headset, MakeFrame(0x03, 34, 0))[7], 0xFF);
  EXPECT_EQ(Ask(pad, MakeFrame(0x03, 34, 0))[7], 0x01) << "the pad has its information block";
}

TEST_F(FirmwareTest, FramesOfAnotherShapeAreNotTakenOrAnswered) {
  auto connection = OpenCommandNode(keyboard);
  const Wire frame = MakeFrame(0x01, 0, 0);
  EXPECT_FALSE(connection->WriteOutput(std::span(frame).first(63)));  // short report
  Wire other_id = frame;
  other_id[0] = 0x05;
  EXPECT_FALSE(connection->WriteOutput(other_id));
  Bytes reply;
  EXPECT_EQ(connection->ReadInput(reply, std::chrono::milliseconds(20)), hid::ReadStatus::kTimeout);
  EXPECT_EQ(backend->Counters(keyboard).begin_count, 0);
}

TEST_F(FirmwareTest, BeginEndAndLightControlAreCounted) {
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x01, 0, 0))[7], 0x01);
  EXPECT_TRUE(backend->Counters(keyboard).session_open);
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x02, 0, 0))[7], 0x01);
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x1C, 0, 0))[7], 0x01);
  const FirmwareCounters counters = backend->Counters(keyboard);
  EXPECT_EQ(counters.begin_count, 1);
  EXPECT_EQ(counters.end_count, 1);
  EXPECT_FALSE(counters.session_open);
  EXPECT_TRUE(counters.light_control_taken);
}

TEST_F(FirmwareTest, StatusCarriesTheLinkFlagAndLinkQueryAnswersUp) {
  const Bytes wired = PayloadOf(Ask(keyboard, MakeFrame(0x1A, 6, 0)), 6);
  const Bytes wireless = PayloadOf(Ask(receiver, MakeFrame(0x1A, 6, 0)), 6);
  EXPECT_EQ(wired[0], backend->ReadMemory(keyboard, MemoryArea::kStatus, 0, 1)[0]);
  EXPECT_EQ(wired[3], 0);
  EXPECT_EQ(wireless[3], 1);
  EXPECT_EQ(PayloadOf(Ask(receiver, MakeFrame(0xAA, 0, 0)), 1), Bytes{0xFF});
  // A partial read from offset 3 still carries the flag first.
  EXPECT_EQ(PayloadOf(Ask(receiver, MakeFrame(0x1A, 1, 3)), 1), Bytes{1});
}

TEST_F(FirmwareTest, ReceiverSharesMemoryWithItsWiredDevice) {
  const Bytes record{0x02, 0x07};
  EXPECT_EQ(Ask(receiver, MakeFrame(0x06, 2, 0, record))[7], 0x01);
  EXPECT_EQ(PayloadOf(Ask(keyboard, MakeFrame(0x05, 2, 0)), 2), record);
}

TEST_F(FirmwareTest, ReceiverWithLinkDownAnswersEveryCommandWithAA) {
  backend->SetLinkUp(receiver, false);
  const Bytes before = backend->ReadMemory(receiver, MemoryArea::kSettings, 0, 4);
  const Bytes write_reply = Ask(receiver, MakeFrame(0x06, 4, 0, Bytes{1, 2, 3, 4}));
  EXPECT_EQ(write_reply[3], 0xAA);
  EXPECT_EQ(backend->ReadMemory(receiver, MemoryArea::kSettings, 0, 4), before);
  const Bytes query = Ask(receiver, MakeFrame(0xAA, 0, 0));
  EXPECT_EQ(query[3], 0xAA);
  EXPECT_NE(query[8], 0xFF);
  // The wired keyboard does not care about the receiver's link.
  EXPECT_EQ(Ask(keyboard, MakeFrame(0x05, 1, 0))[3], 0x05);

  backend->SetLinkUp(receiver, true);
  EXPECT_EQ(Ask(receiver, MakeFrame(0x05, 1, 0))[3], 0x05);
}

TEST_F(FirmwareTest, TheMousesOwnButtonsSwitchItsProfileAndStageOnlyOnAMouse) {
  EXPECT_TRUE(backend->PressProfileButton(mouse_receiver, 2));
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 0, 1), Bytes{2}) << "byte 0 selects the profile";
  EXPECT_TRUE(backend->PressDpiButton(mouse, 4));
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 2 * 128 + 12, 1), Bytes{4});
  EXPECT_FALSE(backend->PressProfileButton(mouse, 4)) << "four profiles: 0 to 3";
  EXPECT_FALSE(backend->PressDpiButton(mouse, 5)) << "five stages: 0 to 4";
  EXPECT_FALSE(backend->PressDpiButton(keyboard, 1));
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 0, 1), Bytes{2});
  // Out of the receiver's reach the mouse changes its stage, but no report gets through.
  backend->SetLinkUp(mouse_receiver, false);
  EXPECT_FALSE(backend->PressDpiButton(mouse_receiver, 1));
}

TEST_F(FirmwareTest, TheMouseBuildsDifferInSensorAndButtons) {
  backend->UseMouseFixture(mouse, MouseFixture::kOtherSensor);
  const Bytes info = PayloadOf(Ask(mouse_receiver, MakeFrame(0x03, 24, 0)), 24);
  EXPECT_EQ(info[11], 50) << "50 DPI a step";
  EXPECT_EQ(info[14] | info[15] << 8, 200) << "from 200 DPI";
  backend->UseMouseFixture(mouse, MouseFixture::kElevenButtons);
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kInfo, 5, 1), Bytes{12});
  const Bytes table = backend->ReadMemory(mouse, MemoryArea::kKeyTable, 0, 36);
  EXPECT_EQ(Bytes(table.begin() + 9, table.begin() + 12), (Bytes{0x14, 0x78, 0x02})) << "rapid fire at position 3";
  backend->UseMouseFixture(keyboard, MouseFixture::kElevenButtons);
  EXPECT_NE(backend->ReadMemory(keyboard, MemoryArea::kInfo, 5, 1), Bytes{12}) << "a keyboard is no mouse";
}

TEST_F(FirmwareTest, HeadsetTakesItsLightingOutputReports) {
  auto connection = OpenCommandNode(headset);
  std::array<uint8_t, 17> report{0xFF, 0x44, 0xAB, 0x00, 10, 20, 30, 40, 50, 60, 70};
  EXPECT_TRUE(connection->WriteOutputControl(report));
  // Zone 0x44 is the second zone, 0xAB (green of LEDs 0 to 6) its second half: (6 + 1) x 7.
  EXPECT_EQ(backend->ReadMemory(headset, MemoryArea::kLightStream, 49, 7),
            (Bytes{10, 20, 30, 40, 50, 60, 70}));
  // The keyboard has no such report.
  auto keyboard_connection = OpenCommandNode(keyboard);
  EXPECT_FALSE(keyboard_connection->WriteOutput(report));
}

TEST_F(FirmwareTest, ArbitraryFramesAreAnsweredOrRefusedNeverMisread) {
  // Random codes, lengths and offsets (around the area ends) with a right checksum: each frame gets exactly
  // one reply that echoes it, and a refused write leaves memory untouched (the sanitizers watch the memory
  // accesses).
  std::mt19937 random(1234);
  for (const DeviceId device : {keyboard, mouse, pad, headset}) {
    auto connection = OpenCommandNode(device);
    for (int i = 0; i < 500; ++i) {
      Bytes payload(56);
      for (uint8_t& byte : payload) byte = static_cast<uint8_t>(random());
      const uint8_t code = static_cast<uint8_t>(random() % 0x30);
      const Wire frame = MakeFrame(code, static_cast<uint8_t>(random() % 60),
                                   static_cast<uint16_t>(random() % 600), payload);
      const Bytes settings = backend->ReadMemory(device, MemoryArea::kSettings, 0, 512);
      const auto reply = Exchange(*connection, frame);
      ASSERT_TRUE(reply.has_value());
      EXPECT_EQ(Bytes(reply->begin() + 3, reply->begin() + 7), Bytes(frame.begin() + 3, frame.begin() + 7));
      if ((*reply)[7] == 0xFF) {
        EXPECT_EQ(backend->ReadMemory(device, MemoryArea::kSettings, 0, 512), settings);
      }
    }
  }
}

}  // namespace
}  // namespace norvane::emulator::testing
