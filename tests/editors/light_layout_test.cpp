// The lighting panel's layouts with its shipped skin: for every device kind and every row of its layout,
// which groups end up enabled and shown, the direction texts and the colour page. Each mode is applied twice
// over controls set away from the usual, once all on and shown and once all off and hidden, so a group the
// layout should set is caught whichever way it was left, and a group it should leave alone must keep
// whatever it had.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editors/light_control.h"
#include "uilib/tab_layout.h"

namespace norvane::editors {
namespace {

using Texts = std::pair<const char*, const char*>;  // FXL, FXR
constexpr Texts kA{"light_set_right_to_left_text", "light_set_left_to_right_text"};
constexpr Texts kB{"light_set_outside_to_inside_text", "light_set_inside_to_outside_text"};
constexpr Texts kC{"light_set_down_to_up_text", "light_set_up_to_down_text"};
constexpr Texts kTextsKept{nullptr, nullptr};
constexpr int kPageKept = -1;

// clang-format off
constexpr const char* kGroups[] = {
    "lighteffect_layout", "deng_7color_check", "deng_color_layout", "colorpallet_layout",
    "light_color_layout", "deng_light_layout", "deng_speed_layout", "deng_fx_layout", "lightcustom_layout",
    "light_combo_ZZCCmodeSelectLayout", "light_combo_AudiomodeSelectLayout", "deng_same_mode"};
// clang-format on

// What one control should be: "enabled,visible" with enabled on|off|kept|- and visible
// shown|hidden|kept|flag|- ("-" unchecked, "flag": shown exactly when the same-mode flag is set); a lone
// "on"/"off" checks the enabled state only.
struct Column {
  const char* name;
  std::string state;
};

class LightLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_.DoInit();
    ASSERT_NE(Pages(), nullptr) << "the panel's skin did not build";
  }
  ui::CControlUI* Control(const char* name) { return panel_.FindSubControl(name); }
  ui::CTabLayoutUI* Pages() { return dynamic_cast<ui::CTabLayoutUI*>(Control("light_color_tablayout")); }
  std::string TextId(const char* name) { return Control(name)->GetTextId().toStdString(); }

  void Soil(bool state) {
    panel_.SetSameModeFlag(state ? 1 : 0);
    for (const char* name : kGroups) {
      Control(name)->SetEnabled(state);
      Control(name)->SetVisible(state);
    }
    Pages()->SelectItem(state ? 1 : 0);
    const Texts texts = state ? kB : kA;
    Control("deng_FXL_check")->SetTextId(texts.first);
    Control("deng_FXR_check")->SetTextId(texts.second);
  }

  void CheckColumn(const Column& column, bool soil) {
    const std::size_t comma = column.state.find(',');
    const std::string enabled = column.state.substr(0, comma);
    const std::string visible = comma == std::string::npos ? "-" : column.state.substr(comma + 1);
    QWidget* widget = Control(column.name)->GetWidget();
    SCOPED_TRACE(column.name);
    // The control's own state: Qt reports a control inside a disabled group as disabled, whatever the
    // layout set for the control itself.
    const bool isEnabled = !widget->testAttribute(Qt::WA_ForceDisabled);
    if (enabled != "-") {
      EXPECT_EQ(isEnabled, enabled == "kept" ? soil : enabled == "on") << column.state;
    }
    if (visible == "-") return;
    const bool shown = visible == "shown" || ((visible == "kept" || visible == "flag") && soil);
    EXPECT_EQ(!widget->isHidden(), shown) << column.state;
  }

  void Check(int kind, const std::vector<int>& modes, const std::vector<Column>& columns, int page,
             Texts texts) {
    panel_.SetDeviceKind(kind);
    for (bool soil : {true, false}) {
      for (int mode : modes) {
        Soil(soil);
        panel_.ApplyLayout(mode);
        SCOPED_TRACE("kind " + std::to_string(kind) + " mode " + std::to_string(mode) +
                     (soil ? " over all on" : " over all off"));
        for (const Column& column : columns) CheckColumn(column, soil);
        EXPECT_EQ(Pages()->GetCurSel(), page == kPageKept ? (soil ? 1 : 0) : page);
        const Texts expected = texts.first ? texts : (soil ? kB : kA);
        EXPECT_EQ(TextId("deng_FXL_check"), expected.first);
        EXPECT_EQ(TextId("deng_FXR_check"), expected.second);
      }
    }
  }

  CLightControlUI panel_;
};

struct KeyboardRow {
  std::vector<int> modes;
  const char *sevenColour, *colour, *area, *brightness, *speed, *direction;
  std::string shows;
  Texts texts;
};

TEST_F(LightLayoutTest, KeyboardModes) {
  // clang-format off
  const std::vector<KeyboardRow> rows = {
      {{1, 2, 4}, "on,shown", "on", "on", "on", "on,shown", "on,shown", "", kA},
      {{3}, "off,shown", "off", "off", "on", "on,shown", "on,shown", "", kB},
      {{5, 7}, "off,shown", "on", "on", "on", "off,hidden", "off,hidden", "", kA},
      {{6, 8, 9, 10, 13, 14, 15, 16, 17, 18, 20, 22, 23},
       "on,shown", "on", "on", "on", "on,shown", "off,hidden", "", kA},
      {{11, 12, 40, 42}, "off,shown", "off", "off", "on", "on,shown", "off,hidden", "", kA},
      {{19}, "on,shown", "on", "on", "on", "on,shown", "on,shown", "", kC},
      {{21}, "off,shown", "on", "on", "on", "off,hidden", "off,hidden", "custom", kA},
      {{24}, "on,shown", "on", "on", "on", "on,shown", "on,hidden", "", kC},
      // The modes no row lists: mode 0, modes past the last, no selection (-1).
      {{25, 28, 31, 32, 33, 34, 35, 36, 37, 38, 39, 44, 0, 46, 63, 64, -1},
       "off,shown", "off", "on", "off", "off,shown", "off,hidden", "", kA},
      {{26, 27}, "off,shown", "off", "on", "on", "on,shown", "off,hidden", "", kA},
      // The music page has a colour cycle of its own.
      {{29}, "on,hidden", "on", "on", "on", "off,hidden", "on,hidden", "audio", kA},
      {{30}, "off,shown", "off", "off", "on", "off,shown", "off,hidden", "", kA},
      {{41, 43}, "on,shown", "on", "on", "on", "on,shown", "on,hidden", "", kA},
      {{45}, "off,shown", "off", "off", "on", "on,hidden", "off,hidden", "preset", kA},
  };
  // clang-format on
  for (const KeyboardRow& row : rows) {
    const auto only = [&](const char* group) { return row.shows == group ? "-,shown" : "-,hidden"; };
    Check(1, row.modes,
          {{"deng_7color_check", row.sevenColour},
           {"deng_color_layout", row.colour},
           {"colorpallet_layout", row.colour},
           {"light_color_layout", row.area},
           {"deng_light_layout", row.brightness},
           {"deng_speed_layout", row.speed},
           {"deng_fx_layout", row.direction},
           {"lighteffect_layout", "on"},
           {"lightcustom_layout", only("custom")},
           {"light_combo_ZZCCmodeSelectLayout", only("preset")},
           {"light_combo_AudiomodeSelectLayout", only("audio")},
           {"deng_same_mode", "-,hidden"}},
          row.shows == "audio" ? 1 : 0, row.texts);
  }
}

struct Row {
  std::vector<int> modes;
  const char *sevenColour, *colour, *brightness, *speed, *direction;
  const char* sameMode = "-,hidden";
};

std::vector<Column> Columns(const Row& row, std::vector<Column> rest) {
  std::vector<Column> columns = {
      {"deng_7color_check", row.sevenColour}, {"deng_color_layout", row.colour},
      {"colorpallet_layout", row.colour},     {"deng_light_layout", row.brightness},
      {"deng_speed_layout", row.speed},       {"lighteffect_layout", "on"}};
  if (row.direction) columns.push_back({"deng_fx_layout", row.direction});
  columns.push_back({"deng_same_mode", row.sameMode});
  columns.insert(columns.end(), rest.begin(), rest.end());
  return columns;
}

TEST_F(LightLayoutTest, MouseModesLeaveTheColourAreaAndWhetherTheDirectionShows) {
  // clang-format off
  const std::vector<Row> rows = {
      {{0, 5}, "on", "on", "on", "on", "on"},
      {{1, 7, 8}, "off", "off", "on", "on", "off"},
      {{2, 4, 6}, "on", "on", "on", "on", "off"},
      {{3}, "off", "on", "on", "off", "off"},
      {{9, 10, 46, -1}, "off", "off", "off", "off", "off"},
  };
  // clang-format on
  for (const Row& row : rows) {
    Check(2, row.modes,
          Columns(row, {{"deng_speed_layout", "-,shown"},
                        {"deng_fx_layout", "-,kept"},
                        {"light_color_layout", "kept,kept"},
                        {"light_combo_AudiomodeSelectLayout", "-,hidden"},
                        {"lightcustom_layout", "kept,kept"}}),
          0, kC);
  }
}

TEST_F(LightLayoutTest, PadAndHeadsetModesOfferTheSameModeWhereTheyRunAlikeOnAllZones) {
  // clang-format off
  const std::vector<Row> rows = {
      {{0}, "on", "on", "on", "on", "on"},
      {{1}, "off", "off", "on", "on", "off", "-,flag"},
      {{2, 4}, "on", "on", "on", "on", "off", "-,flag"},
      {{3}, "off", "on", "on", "off", "off", "-,flag"},
      {{8}, "off", "off", "off", "off", "off", "-,flag"},
      {{5, 6, 7, 9, 46, -1}, "off", "off", "off", "off", "off"},
  };
  // clang-format on
  for (int kind : {3, 4, 7}) {
    for (const Row& row : rows) {
      Check(kind, row.modes,
            Columns(row, {{"deng_speed_layout", "-,kept"},
                          {"deng_fx_layout", "-,kept"},
                          {"light_color_layout", "kept,kept"},
                          {"light_combo_AudiomodeSelectLayout", "kept,kept"}}),
            kPageKept, kTextsKept);
    }
  }
}

TEST_F(LightLayoutTest, HubModesTouchNeitherTheDirectionNorTheSameModeButton) {
  // clang-format off
  const std::vector<Row> rows = {
      {{0, 2, 3}, "on", "on", "on", "on", nullptr, "-,kept"},
      {{1}, "off", "on", "on", "off", nullptr, "-,kept"},
      {{4}, "off", "off", "on", "on", nullptr, "-,kept"},
      {{5, 6, 46, -1}, "off", "off", "off", "off", nullptr, "-,kept"},
  };
  // clang-format on
  for (const Row& row : rows) {
    Check(5, row.modes, Columns(row, {{"deng_fx_layout", "kept,kept"}, {"deng_speed_layout", "-,kept"}}),
          kPageKept, kTextsKept);
  }
}

TEST_F(LightLayoutTest, AKindWithoutALayoutChangesNothing) {
  for (int kind : {0, 6, 8}) {
    Check(
        kind, {0, 1, 29},
        {{"lighteffect_layout", "kept,kept"}, {"deng_fx_layout", "kept,kept"}, {"deng_same_mode", "-,kept"}},
        kPageKept, kTextsKept);
  }
}

TEST_F(LightLayoutTest, ChoosingTheMusicModeTurnsToTheMusicPageAndAnyOtherModeBack) {
  std::vector<std::string> names(46, "light_effect_text");
  std::vector<int> visible(46, 1);
  panel_.InitModes(names, visible, 4, 4);
  panel_.SetDeviceKind(1);
  panel_.SelectMode(29);
  EXPECT_EQ(Pages()->GetCurSel(), 1);
  EXPECT_TRUE(Control("light_combo_AudiomodeSelectLayout")->IsVisible());
  panel_.SelectMode(0);
  EXPECT_EQ(Pages()->GetCurSel(), 0);
  EXPECT_FALSE(Control("light_combo_AudiomodeSelectLayout")->IsVisible());
}

TEST_F(LightLayoutTest, DirectionTextsShowTheirWordsAndKeepTheirIdsForALanguageSwitch) {
  panel_.SetDeviceKind(1);
  panel_.ApplyLayout(3);
  EXPECT_EQ(Control("deng_FXL_check")->GetText(), "Outside in");
  EXPECT_EQ(Control("deng_FXR_check")->GetText(), "Inside out");
  panel_.SetDeviceKind(2);
  panel_.ApplyLayout(0);
  EXPECT_EQ(Control("deng_FXL_check")->GetText(), "Bottom to top");
  EXPECT_EQ(Control("deng_FXR_check")->GetText(), "Top to bottom");
}

}  // namespace
}  // namespace norvane::editors
