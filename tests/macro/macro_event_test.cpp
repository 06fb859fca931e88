// A macro event read from its file object, written back, and in the 4-byte form the devices play.
#include "macro/macro_event.h"

#include <gtest/gtest.h>

#include "profiles/json_file_util.h"

namespace norvane::macro {
namespace {

Json::Value Parse(std::string_view text) {
  return JsonFileUtil::ParseJson(text);
}

TEST(MacroEventCode, DelayTypeDownBitAndButton) {
  EXPECT_EQ(EncodeMacroEvent(Parse(R"({"Action":"down","Button":4,"Type":10,"Delay":"300"})")),
            (MacroEventCode{0x2C, 0x01, 0x8A, 0x04}));
  // 20 to the left, the delay stored as an integer.
  EXPECT_EQ(EncodeMacroEvent(MacroEvent{"down", 20, 50, 4}), (MacroEventCode{0x32, 0x00, 0x84, 0x14}));
  EXPECT_EQ(EncodeMacroEvent(MacroEvent{"up", 4, 300, 10}), (MacroEventCode{0x2C, 0x01, 0x0A, 0x04}));
  EXPECT_EQ(EncodeMacroEvent(MacroEvent{"Down", 0x104, 70000, 0x8A}),
            (MacroEventCode{0x70, 0x11, 0x0A, 0x04}))
      << "only exactly \"down\" presses; delay, type and button keep their low bits";
  EXPECT_EQ(EncodeMacroEvent(MacroEvent{"down", 1, -1, 1}), (MacroEventCode{0xFF, 0xFF, 0x81, 0x01}));
  EXPECT_EQ(EncodeMacroEvent(Json::Value("not an event")), (MacroEventCode{0, 0, 0, 0}));
}

TEST(MacroEventRead, DelayIsDecimalTextOrANumberAndAnythingElseIsZero) {
  struct Case {
    const char* delay;
    std::int64_t expected;
  };
  for (const Case& c :
       {Case{R"("300")", 300}, Case{R"(" 12")", 12}, Case{R"("12ms")", 12}, Case{R"("-5")", -5},
        Case{"-5", -5}, Case{"2.9", 2}, Case{"70000", 70000}, Case{R"("abc")", 0}, Case{R"("")", 0},
        Case{R"({"ms": 4})", 0}, Case{"[1]", 0}, Case{"null", 0}, Case{R"("99999999999999999999999")", 0}}) {
    const Json::Value object =
        Parse(std::string(R"({"Action":"up","Button":1,"Type":1,"Delay":)") + c.delay + "}");
    EXPECT_EQ(ReadMacroEvent(object).delay, c.expected) << c.delay;
  }
}

TEST(MacroEventRead, MembersOfTheWrongTypeReadAsEmpty) {
  EXPECT_EQ(ReadMacroEvent(Parse(R"({"Action":7,"Button":"4","Type":[10]})")), (MacroEvent{"", 0, 0, 0}));
  EXPECT_EQ(ReadMacroEvent(Parse("[1, 2]")), (MacroEvent{"", 0, 0, 0}));
  EXPECT_EQ(ReadMacroEvent(Parse(R"({"Action":"down","Button":224,"Type":9,"Delay":"15"})")),
            (MacroEvent{"down", 224, 15, 9}));
}

TEST(MacroEventWrite, ObjectHoldsTheFourMembersWithTheDelayAsText) {
  EXPECT_EQ(JsonFileUtil::StyledText(MacroEventJson({"down", 4, 70000, 10})),
            "{\n"
            "   \"Action\" : \"down\",\n"
            "   \"Button\" : 4,\n"
            "   \"Delay\" : \"70000\",\n"
            "   \"Type\" : 10\n"
            "}\n");
  EXPECT_EQ(JsonFileUtil::StyledText(MacroEventJson({"up", 0, -3, 1})),
            "{\n"
            "   \"Action\" : \"up\",\n"
            "   \"Button\" : 0,\n"
            "   \"Delay\" : \"-3\",\n"
            "   \"Type\" : 1\n"
            "}\n");
}

TEST(MacroEventShownDelay, LargeAndNegativeDelaysShowAs65535) {
  EXPECT_EQ(ShownDelay(0), 0);
  EXPECT_EQ(ShownDelay(65534), 65534);
  EXPECT_EQ(ShownDelay(65535), 65535);
  EXPECT_EQ(ShownDelay(70000), 65535);
  EXPECT_EQ(ShownDelay(-1), 65535);
  EXPECT_EQ(ShownDelay(-70000), 65535);
}

}  // namespace
}  // namespace norvane::macro
