// What the macro editor calls each event and the events it creates, with the mouse action rows they come
// from.
#include "macro/event_kinds.h"

#include <gtest/gtest.h>

#include "macro/mouse_actions.h"

namespace norvane::macro {
namespace {

struct NameCase {
  MacroEvent event;
  std::string_view nameId;
};

TEST(MacroEventNames, KeysByModifierBitOrUsage) {
  for (const NameCase& c : {NameCase{{"down", 0x01, 0, 9}, "keyboard_key_LCtrl"},
                            NameCase{{"up", 0x20, 0, 9}, "keyboard_key_RShift"},
                            NameCase{{"down", 0x80, 0, 9}, "keyboard_key_RWin"},
                            NameCase{{"down", 0x03, 0, 9}, "macro_event_other_text"},  // two bits: no one key
                            NameCase{{"down", 0x101, 0, 9}, "macro_event_other_text"},
                            NameCase{{"down", 0x04, 0, 10}, "keyboard_key_A"},
                            NameCase{{"up", 0x28, 0, 10}, "keyboard_key_Enter"},
                            NameCase{{"down", 0x58, 0, 10}, "keyboard_key_Num Enter"},
                            NameCase{{"down", 0x32, 0, 10}, "keyboard_key_K42"},
                            NameCase{{"down", 0x104, 0, 10}, "macro_event_other_text"},  // not A
                            NameCase{{"down", 0x00, 0, 10}, "macro_event_other_text"},
                            NameCase{{"down", -4, 0, 10}, "macro_event_other_text"}}) {
    EXPECT_EQ(EventNameId(c.event), c.nameId) << c.event.type << " " << c.event.button;
  }
}

TEST(MacroEventNames, MouseButtonsByButtonAndMovesByDirection) {
  for (const NameCase& c :
       {NameCase{{"down", 0x01, 0, 1}, "mouse_key_left"}, NameCase{{"up", 0x02, 0, 1}, "mouse_key_right"},
        NameCase{{"down", 0x04, 0, 1}, "mouse_key_middle"},
        NameCase{{"down", 0x10, 0, 1}, "mouse_key_forward"}, NameCase{{"up", 0x08, 0, 1}, "mouse_key_back"},
        NameCase{{"down", 0x20, 0, 1}, "macro_event_other_text"},
        NameCase{{"down", 20, 0, 4}, "mouse_move_to_left_text"},
        NameCase{{"up", 0, 0, 4}, "mouse_move_to_right_text"},
        NameCase{{"down", 255, 0, 5}, "mouse_move_to_up_text"},
        NameCase{{"Down", 3, 0, 5}, "mouse_move_to_down_text"},  // only "down" is down
        NameCase{{"", 0, 0, 0}, "mouse_cursor_text"}, NameCase{{"down", 1, 0, 2}, "macro_event_other_text"},
        NameCase{{"up", 1, 0, 3}, "macro_event_other_text"},
        NameCase{{"down", 1, 0, 77}, "macro_event_other_text"}}) {
    EXPECT_EQ(EventNameId(c.event), c.nameId) << c.event.type << " " << c.event.button;
  }
  EXPECT_EQ(ActionLabelId({"down", 1, 0, 1}), "macro_action_down_text");
  EXPECT_EQ(ActionLabelId({"DOWN", 1, 0, 1}), "macro_action_up_text");
}

TEST(MouseActions, ForwardAndBackShareMessagesAndDifferByButton) {
  ASSERT_EQ(MouseActionTable().size(), 15u);
  const auto forward = MouseActionOf(1, 0x10, true);
  const auto back = MouseActionOf(1, 0x08, false);
  ASSERT_TRUE(forward && back);
  EXPECT_EQ(forward->message, 0x020B);
  EXPECT_EQ(forward->TypeCode(), 0x81);
  EXPECT_EQ(back->message, 0x020C);
  EXPECT_EQ(back->TypeCode(), 0x01);
  const auto right = MouseActionOf(4, 99, false);
  ASSERT_TRUE(right);
  EXPECT_EQ(right->message, 0x0004);
  EXPECT_EQ(right->TypeCode(), 0x04);
  EXPECT_EQ(MouseActionOf(0, 7, true)->message, 0x020A);
  EXPECT_FALSE(MouseActionOf(9, 1, true));
}

TEST(MacroEventsCreated, KeysFromTheirRowsAndMovesHeldToTheirRange) {
  EXPECT_EQ(KeyEventOfRow(0, true, 12), (MacroEvent{"down", 0x01, 12, 9}));
  EXPECT_EQ(KeyEventOfRow(7, false, 0), (MacroEvent{"up", 0x80, 0, 9}));
  EXPECT_EQ(KeyEventOfRow(8, true, 300), (MacroEvent{"down", 0x04, 300, 10}));
  EXPECT_EQ(KeyEventOfRow(113, false, 1), (MacroEvent{"up", 0x32, 1, 10}));
  EXPECT_FALSE(KeyEventOfRow(114, true, 0)) << "media keys have no HID usage of their own";
  EXPECT_EQ(MouseButtonEvent(0x10, false, 5), (MacroEvent{"up", 0x10, 5, 1}));
  EXPECT_EQ(EncodeMacroEvent(MoveEvent(MoveDirection::kLeft, 20, 50)),
            (MacroEventCode{0x32, 0x00, 0x84, 0x14}));
  EXPECT_EQ(MoveEvent(MoveDirection::kRight, 300, 0), (MacroEvent{"up", 255, 0, 4}));
  EXPECT_EQ(MoveEvent(MoveDirection::kUp, -3, 0), (MacroEvent{"down", 0, 0, 5}));
  EXPECT_EQ(MoveEvent(MoveDirection::kDown, 7, 9), (MacroEvent{"up", 7, 9, 5}));
}

}  // namespace
}  // namespace norvane::macro
