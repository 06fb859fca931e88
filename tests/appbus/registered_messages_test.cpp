// The message table: names are unique and found again exactly as registered.

#include "app/registered_messages.h"

#include <gtest/gtest.h>

#include <set>

namespace norvane::app {
namespace {

TEST(RegisteredMessages, EveryNameIsUniqueAndFoundAgain) {
  std::set<std::string_view> names;
  for (const RegisteredMessageInfo& info : RegisteredMessages()) {
    EXPECT_TRUE(names.insert(info.name).second) << info.name;
    EXPECT_EQ(FindRegisteredMessage(info.name), info.id) << info.name;
  }
  EXPECT_EQ(names.size(), 29u);
  EXPECT_FALSE(FindRegisteredMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF19}").has_value());
  EXPECT_EQ(RegisteredMessageQName(RegisteredMessage::kInstanceMessage), QStringLiteral("R27 有线"));
}

}  // namespace
}  // namespace norvane::app
