#include "hid/interface_table.h"

#include <gtest/gtest.h>

namespace norvane::hid {
namespace {

TEST(InterfaceTableTest, PairsAreMutualAndJoinWiredWithReceiverOfTheSameRole) {
  const auto& table = InterfaceTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const InterfaceEntry& row = table[i];
    EXPECT_FALSE(row.claimed);
    EXPECT_TRUE(row.path.empty());
    if (!row.has_pair) continue;
    SCOPED_TRACE("row " + std::to_string(i));
    const InterfaceEntry& partner = table.at(row.pair_index);
    EXPECT_TRUE(partner.has_pair);
    EXPECT_EQ(partner.pair_index, i);
    EXPECT_EQ(partner.role, row.role);
    EXPECT_NE(IsReceiverKind(partner.kind), IsReceiverKind(row.kind));
  }
}

TEST(InterfaceTableTest, MatchNeedsAllSixNumbers) {
  InterfaceProbe keyboard_command{0x320F, 0x5055, 1, 4, 0xFF1C, 0x92};
  EXPECT_EQ(MatchInterfaceRow(keyboard_command), 0u);
  InterfaceProbe keyboard_event{0x320F, 0x5055, 1, 3, 0x000C, 0x01};
  EXPECT_EQ(MatchInterfaceRow(keyboard_event), 1u);
  InterfaceProbe wrong_usage = keyboard_command;
  wrong_usage.usage = 0x01;
  EXPECT_FALSE(MatchInterfaceRow(wrong_usage).has_value());
  InterfaceProbe wrong_collection = keyboard_command;
  wrong_collection.collection_number = 2;
  EXPECT_FALSE(MatchInterfaceRow(wrong_collection).has_value());
  InterfaceProbe headset{0x0C76, 0x1630, 3, 0, 0x000C, 0x01};
  EXPECT_EQ(MatchInterfaceRow(headset), 10u);
  EXPECT_FALSE(InterfaceTable()[10].IsVendorCommandInterface()) << "the headset has no vendor command page";
}

TEST(InterfaceTableTest, CandidateAndKindLookups) {
  EXPECT_EQ(FindCandidateRow(0x320F, 0x221D, 1, 3), 7u);
  EXPECT_FALSE(FindCandidateRow(0x320F, 0x221D, 0, 3).has_value());
  EXPECT_EQ(FindInterfaceRow(0x320F, 0x221D, DeviceKind::kMouseReceiver, InterfaceRole::kCommand), 6u);
  EXPECT_EQ(FindInterfaceRow(0x320F, 0x1004, DeviceKind::kMousePad, InterfaceRole::kEvent), 9u);
  EXPECT_FALSE(FindInterfaceRow(0x320F, 0x5055, DeviceKind::kMouse, InterfaceRole::kCommand).has_value());
}

TEST(InterfaceTableTest, SameInterfaceIgnoresClaimPairAndPath) {
  auto list = MakeInterfaceList();
  ASSERT_EQ(list.size(), kInterfaceTableSize);
  InterfaceEntry claimed = list[4];
  claimed.claimed = true;
  claimed.path = "emu/hidraw9";
  claimed.has_pair = false;
  EXPECT_TRUE(claimed.SameInterface(list[4]));
  EXPECT_FALSE(list[4].SameInterface(list[5]));
  EXPECT_FALSE(list[0].SameInterface(list[2])) << "wired and receiver are different interfaces";
}

}  // namespace
}  // namespace norvane::hid
