#include <gtest/gtest.h>

#include "hid/catalogue/device_catalogue.h"

namespace norvane::hid::catalogue {
namespace {

TEST(DeviceCatalogue, PageRowsAreFoundByIdentityKindAndVariant) {
  EXPECT_EQ(FindPageRow(0x320F, 0x50EF, 2, 0), 0);
  EXPECT_EQ(FindPageRow(0x320F, 0x5055, 1, 0), 1);
  EXPECT_EQ(FindPageRow(0x320F, 0x1004, 3, 0), 2);
  EXPECT_EQ(FindPageRow(0x0C76, 0x1630, 7, 0), 3);
  // A receiver has no page row of its own, and the variant must match.
  EXPECT_EQ(FindPageRow(0x320F, 0x50EC, 9, 0), -1);
  EXPECT_EQ(FindPageRow(0x320F, 0x5055, 1, 1), -1);
}

TEST(DeviceCatalogue, InterfaceRowsOrMinusOne) {
  EXPECT_EQ(FindInterfaceRow(0x320F, 0x221D, 6, 255), 7);
  EXPECT_EQ(FindInterfaceRow(0x320F, 0x221D, 2, 255), -1);
}

class PairRules : public ::testing::Test {
 protected:
  std::vector<InterfaceEntry> list = MakeInterfaceList();
  void Claim(std::size_t index) {
    list[index].claimed = true;
    list[index].path = "path" + std::to_string(index);
  }
};

TEST_F(PairRules, PairIsPresentOnlyWhenThePartnerIsClaimedWithAPath) {
  EXPECT_FALSE(IsPairPresent(list, 0));
  Claim(2);
  EXPECT_TRUE(IsPairPresent(list, 0));
  EXPECT_FALSE(IsPairPresent(list, 2));  // the wired keyboard itself is not there
  list[2].path.clear();
  EXPECT_FALSE(IsPairPresent(list, 0));
  EXPECT_FALSE(IsPairPresent(list, 8));  // no pair at all
  EXPECT_FALSE(IsPairPresent(list, 99));
}

TEST_F(PairRules, EventAndReceiverEntriesAreServedByTheWiredCommandPage) {
  const InterfaceEntry wired_keyboard = list[0];
  // Receiver event interface -> receiver command -> its wired partner.
  EXPECT_TRUE(SameEntry(*ServingEntry(list, 3), wired_keyboard));
  EXPECT_TRUE(SameEntry(*ServingEntry(list, 2), wired_keyboard));
  EXPECT_TRUE(SameEntry(*ServingEntry(list, 1), wired_keyboard));
  // A mouse pad's event interface is served by its own command entry.
  EXPECT_TRUE(SameEntry(*ServingEntry(list, 9), list[8]));
  EXPECT_FALSE(ServingEntry(list, 11).has_value());

  const std::vector<InterfaceEntry> pages = {list[4]};  // only a mouse page
  EXPECT_TRUE(TabServesEntry(list, 7, pages));
  EXPECT_FALSE(TabServesEntry(list, 3, pages));
}

TEST_F(PairRules, EqualityIgnoresClaimPairingAndPath) {
  InterfaceEntry copy = list[0];
  copy.claimed = true;
  copy.path = "x";
  copy.has_pair = false;
  EXPECT_TRUE(SameEntry(copy, list[0]));
  copy.usage = 0x93;
  EXPECT_FALSE(SameEntry(copy, list[0]));
}

}  // namespace
}  // namespace norvane::hid::catalogue
