// The router against the routing contract: every routed name reaches its target with its number, only for
// the page kinds it serves, and the edge cases of names from a skin.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/notify_router.h"
#include "controls/pages/device_page.h"
#include "uilib/button.h"
#include "uilib/control_name.h"

namespace norvane::app::test {
namespace {

using editors::EditorSlot;
using editors::RouteAction;
using editors::RoutedNotify;

TEST(SplitControlName, CutsAtTheLastUnderscoreAndReadsOnlyDigits) {
  struct Case {
    const char* name;
    const char* prefix;
    int number;
  };
  for (const Case& c : {Case{"color_option_12", "color_option_", 12}, Case{"key_butt_keysave", "key_butt_", 0},
                        Case{"color_option_abc", "color_option_", 0}, Case{"color_option_1x", "color_option_", 0},
                        Case{"key_-1", "key_", 0}, Case{"key_", "key_", 0}, Case{"_7", "_", 7},
                        Case{"DPI_slider_99999999999999", "DPI_slider_", 2147483647},
                        Case{"key_0042", "key_", 42}}) {
    const std::optional<ui::ControlNameSplit> split = ui::SplitControlName(c.name);
    ASSERT_TRUE(split) << c.name;
    EXPECT_EQ(split->prefix, ui::CDuiString(c.prefix)) << c.name;
    EXPECT_EQ(split->number, c.number) << c.name;
  }
  EXPECT_FALSE(ui::SplitControlName("closebtn"));
  EXPECT_FALSE(ui::SplitControlName(""));
}

struct Routed {
  EditorSlot slot;
  RouteAction action;
  int number;
  std::uint16_t kind;
  bool withPage;
};

class RecordingEditor final : public editors::IEditor {
 public:
  RecordingEditor(EditorSlot slot, std::vector<Routed>& log) : slot_(slot), log_(log) {}
  void OnRoute(const RoutedNotify& n) override {
    log_.push_back({slot_, n.action, n.number, n.pageKind, n.page != nullptr});
  }

 private:
  EditorSlot slot_;
  std::vector<Routed>& log_;
};

class RouterTest : public ::testing::Test {
 protected:
  RouterTest() {
    for (int s = 1; s < int(EditorSlot::kCount); ++s)
      editors_.push_back(std::make_unique<RecordingEditor>(EditorSlot(s), log_));
    for (int s = 1; s < int(EditorSlot::kCount); ++s) router_.Register(EditorSlot(s), editors_[s - 1].get());
    router_.SetWindowHandler([this](const RoutedNotify& n) {
      log_.push_back({EditorSlot::kWindow, n.action, n.number, n.pageKind, n.page != nullptr});
    });
    router_.SetCurrentPage([this]() -> controls::CDevicePageUI* { return kind_ ? &page_ : nullptr; });
    router_.SetKindOf([this](const controls::CDevicePageUI&) { return kind_; });
  }

  // Sends a notification from a control of that name with the current page of `kind` (0: none). Returns
  // whether the router said nothing more.
  bool Send(const std::string& type, const std::string& name, std::uint16_t kind) {
    kind_ = kind;
    sender_.SetName(ui::CDuiString(name));
    ui::TNotifyUI msg{ui::CDuiString(type), &sender_, 0, 0};
    return router_.Dispatch(msg);
  }

  NotifyRouter router_;
  std::vector<std::unique_ptr<RecordingEditor>> editors_;
  std::vector<Routed> log_;
  controls::CDevicePageUI page_;
  ui::CButtonUI sender_;
  std::uint16_t kind_ = 0;
};

// One routed name: where it goes, with which number, and the page kinds it serves ({} = no page needed,
// {0} = any page).
struct Route {
  const char* type;
  const char* name;
  EditorSlot slot;
  RouteAction action;
  int number;
  std::vector<std::uint16_t> kinds;
};

using S = EditorSlot;
using A = RouteAction;
const std::vector<std::uint16_t> kNone = {};
const std::vector<std::uint16_t> kAll = {0};
const std::vector<std::uint16_t> kKb = {1};
const std::vector<std::uint16_t> kMs = {2};
const std::vector<std::uint16_t> kKbMs = {1, 2};
const std::vector<std::uint16_t> kHs = {7};

// The routing contract, written out name by name.
const std::vector<Route>& Contract() {
  static const std::vector<Route> routes = {
      {"click", "closebtn", S::kWindow, A::kCloseToTray, 0, kNone},
      {"click", "nodevice_ok_btn", S::kWindow, A::kHideWindow, 0, kNone},
      {"click", "control_light_status", S::kWindow, A::kToggleLightControl, 0, kNone},
      {"click", "minbtn", S::kWindow, A::kMinimize, 0, kNone},
      {"click", "maxbtn", S::kWindow, A::kMaximize, 0, kNone},
      {"click", "restorebtn", S::kWindow, A::kRestore, 0, kNone},
      {"click", "skinbtn", S::kWindow, A::kOpenSkinChooser, 0, kNone},
      {"click", "setbtn", S::kWindow, A::kOpenSettings, 0, kNone},
      {"click", "key_17", S::kWindow, A::kKeyClicked, 17, kKbMs},
      {"click", "color_option_12", S::kLighting, A::kColourOption, 12, kAll},
      {"click", "audiocolor_option_3", S::kAudioLighting, A::kAudioColourOption, 3, kAll},
      {"click", "windowdeviceset_1", S::kWindow, A::kOpenDesktopSettings, 1, kNone},
      {"click", "DPI_color_option_4", S::kMouse, A::kDpiColour, 4, kMs},
      {"click", "default_btn", S::kWindow, A::kLoadDefaults, 0, kAll},
      {"click", "reset_repeat_btn", S::kKeyboardSystem, A::kClearRepeatTest, 0, kKb},
      {"click", "device_add_btn", S::kWindow, A::kAddProfile, 0, kAll},
      {"click", "device_sub_btn", S::kWindow, A::kDeleteProfile, 0, kAll},
      {"click", "device_export_btn", S::kWindow, A::kExportProfile, 0, kAll},
      {"click", "device_import_btn", S::kWindow, A::kImportProfile, 0, kAll},
      {"click", "device_copy_btn", S::kWindow, A::kCopyProfile, 0, kAll},
      {"click", "device_reset_btn", S::kWindow, A::kResetProfile, 0, kAll},
      {"click", "device_profile_edit_save_btn", S::kWindow, A::kRenameProfile, 0, kAll},
      {"click", "key_butt_keysave", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"click", "key_butt_keydefalut", S::kKeyAssignment, A::kRestoreDefaultKey, 0, kKbMs},
      {"click", "key_butt_keycancel", S::kKeyAssignment, A::kCancelKey, 0, kKbMs},
      {"click", "key_butt_prosave", S::kKeyAssignment, A::kCommitKeys, 0, kKbMs},
      {"click", "macro_btn_starredio", S::kRecording, A::kRecordStart, 0, kKbMs},
      {"click", "macro_btn_stopredio", S::kRecording, A::kRecordStop, 0, kKbMs},
      {"click", "macro_btn_name_add", S::kMacro, A::kMacroAdd, 0, kKbMs},
      {"click", "macro_btn_name_sub", S::kMacro, A::kMacroDelete, 0, kKbMs},
      {"click", "macro_btn_name_edit", S::kMacro, A::kMacroRename, 0, kKbMs},
      {"click", "macro_btn_save", S::kMacro, A::kMacroSave, 0, kKbMs},
      {"click", "macro_btn_cancel", S::kMacro, A::kMacroCancel, 0, kKbMs},
      {"click", "macro_btn_export", S::kMacro, A::kMacroExport, 0, kKbMs},
      {"click", "macro_btn_import", S::kMacro, A::kMacroImport, 0, kKbMs},
      {"click", "macro_btn_up", S::kMacro, A::kMacroStepUp, 0, kKbMs},
      {"click", "macro_btn_down", S::kMacro, A::kMacroStepDown, 0, kKbMs},
      {"click", "macro_btn_uptop", S::kMacro, A::kMacroStepTop, 0, kKbMs},
      {"click", "macro_btn_downbottom", S::kMacro, A::kMacroStepBottom, 0, kKbMs},
      {"click", "macro_btn_delete", S::kMacro, A::kMacroStepDelete, 0, kKbMs},
      {"click", "macro_btn_deleteall", S::kMacro, A::kMacroStepDeleteAll, 0, kKbMs},
      {"click", "shootdate_save_btn", S::kShoot, A::kShootSave, 0, kMs},
      {"click", "shootdate_reset_btn", S::kShoot, A::kShootReset, 0, kMs},
      {"click", "shootdate_import_btn", S::kShoot, A::kShootImport, 0, kMs},
      {"click", "shootdate_export_btn", S::kShoot, A::kShootExport, 0, kMs},
      {"click", "bullet_selected_prev", S::kShoot, A::kBulletPrevious, 0, kMs},
      {"click", "bullet_selected_next", S::kShoot, A::kBulletNext, 0, kMs},
      {"click", "custom_bright_color_btn", S::kLighting, A::kCustomPaint, 0, kKb},
      {"click", "custom_off_color_btn", S::kLighting, A::kCustomErase, 0, kKb},
      {"click", "deng_same_mode", S::kLighting, A::kLightSync, 0, kAll},
      {"click", "hs_EQ_btn_save", S::kHeadset, A::kEqSave, 0, kHs},
      {"click", "hs_EQ_btn_delete", S::kHeadset, A::kEqDelete, 0, kHs},
      {"click", "profile_fun_spread_btn", S::kWindow, A::kToggleProfileMenu, 0, kAll},
      {"click", "macro_inset_moveleftkey_btn", S::kMacro, A::kMacroInsertMove, 0, kKbMs},
      {"click", "macro_inset_moverightkey_btn", S::kMacro, A::kMacroInsertMove, 1, kKbMs},
      {"click", "macro_inset_moveupkey_btn", S::kMacro, A::kMacroInsertMove, 2, kKbMs},
      {"click", "macro_inset_movedownkey_btn", S::kMacro, A::kMacroInsertMove, 3, kKbMs},
      {"click", "device_select_prev", S::kWindow, A::kPreviousDevice, 0, kNone},
      {"click", "device_select_next", S::kWindow, A::kNextDevice, 0, kNone},
      {"click", "Close_bkColor_btn", S::kAudioLighting, A::kAudioBackgroundBlack, 0, kAll},
      {"click", "music_setting_btn", S::kAudioLighting, A::kOpenAudioStyle, 0, kNone},

      {"selectchanged", "DPI_enable_check_2", S::kMouse, A::kDpiEnable, 2, kMs},
      {"selectchanged", "DPI_select_check_5", S::kMouse, A::kDpiSelect, 5, kMs},
      {"selectchanged", "repeat_delay_check_3", S::kKeyboardSystem, A::kRepeatDelay, 3, kKb},
      {"selectchanged", "mouse_device_seting_option_1", S::kMouse, A::kMouseSettingsTab, 1, kMs},
      {"selectchanged", "shoot_gun_op_4", S::kShoot, A::kGunChosen, 4, kMs},
      {"selectchanged", "bullet_op_9", S::kShoot, A::kBulletChosen, 9, kMs},
      {"selectchanged", "magic_option_2", S::kHeadset, A::kVoiceEffect, 2, kHs},
      {"selectchanged", "6533_eq_option_6", S::kHeadset, A::kEqPreset, 6, kHs},
      {"selectchanged", "key_ComBox_check_3", S::kKeyAssignment, A::kKeyFunctionGroup, 3, kKbMs},
      {"selectchanged", "pointer_precision_check", S::kMouse, A::kPointerPrecision, 0, kMs},
      {"selectchanged", "scrolls_page_check", S::kMouse, A::kScrollsPage, 0, kMs},
      {"selectchanged", "winlockflag_option", S::kKeyboardSystem, A::kWindowsKeyLock, 0, kKb},
      {"selectchanged", "wflag_option", S::kKeyboardSystem, A::kWFlag, 0, kKb},
      {"selectchanged", "6flag_option", S::kKeyboardSystem, A::kSixKeyFlag, 0, kKb},
      {"selectchanged", "synchro_device_select", S::kWindow, A::kNothing, 0, kNone},
      {"selectchanged", "device_select", S::kWindow, A::kDeviceSelected, 0, kNone},
      {"selectchanged", "deng_Op_tab", S::kWindow, A::kFunctionTab, 1, kAll},
      {"selectchanged", "key_Op_tab", S::kWindow, A::kFunctionTab, 2, kAll},
      {"selectchanged", "macro_Op_tab", S::kWindow, A::kFunctionTab, 3, kAll},
      {"selectchanged", "system_Op_tab", S::kWindow, A::kFunctionTab, 4, kAll},
      {"selectchanged", "cursor_Op_tab", S::kWindow, A::kFunctionTab, 5, kAll},
      {"selectchanged", "6533_voice_Op_tab", S::kWindow, A::kFunctionTab, 6, kAll},
      {"selectchanged", "magic_Op_tab", S::kWindow, A::kFunctionTab, 7, kAll},
      {"selectchanged", "Virtual7.1_Op_tab", S::kWindow, A::kFunctionTab, 8, kAll},
      {"selectchanged", "deng_FXL_check", S::kLighting, A::kLightDirection, 1, kAll},
      {"selectchanged", "deng_FXR_check", S::kLighting, A::kLightDirection, 0, kAll},
      {"selectchanged", "deng_7color_check", S::kLighting, A::kMultiColour, 0, kAll},
      {"selectchanged", "bullet_x_check", S::kShoot, A::kBulletAxis, 0, kMs},
      {"selectchanged", "bullet_y_check", S::kShoot, A::kBulletAxis, 1, kMs},
      {"selectchanged", "magic_enable_option", S::kHeadset, A::kVoiceEnable, 0, kHs},
      {"selectchanged", "6533_MicIn_option", S::kHeadset, A::kMicIn, 0, kHs},
      {"selectchanged", "6533_MicMoniter_option", S::kHeadset, A::kMicMonitor, 0, kHs},
      {"selectchanged", "deng_7audiocolor_check", S::kAudioLighting, A::kAudioMultiColour, 0, kAll},
      {"selectchanged", "audio_BkColor_check", S::kAudioLighting, A::kAudioBackgroundChoice, 0, kAll},
      {"selectchanged", "audio_FgColor_check", S::kAudioLighting, A::kAudioForegroundChoice, 0, kAll},

      {"valuechanged", "DPI_slider_3", S::kMouse, A::kDpiSlider, 3, kMs},
      {"valuechanged", "6533_eq_hz_slider_9", S::kHeadset, A::kEqBand, 9, kHs},
      {"valuechanged", "pointer_speed_slider", S::kMouse, A::kPointerSpeed, 0, kMs},
      {"valuechanged", "scroll_speed_slider", S::kMouse, A::kScrollSpeed, 0, kMs},
      {"valuechanged", "double_click_slider", S::kMouse, A::kDoubleClickSpeed, 0, kMs},
      {"valuechanged", "repeat_rate_slider", S::kKeyboardSystem, A::kRepeatRate, 0, kKb},
      {"valuechanged", "deng_light_slider", S::kLighting, A::kBrightness, 0, kAll},
      {"valuechanged", "deng_speed_slider", S::kLighting, A::kSpeed, 0, kAll},
      {"valuechanged", "6533_MicIn_slider", S::kHeadset, A::kMicInLevel, 0, kHs},
      {"valuechanged", "6533_MicMoniter_slider", S::kHeadset, A::kMicMonitorLevel, 0, kHs},
      {"valuechanged", "R_light_slider", S::kAudioLighting, A::kAudioCaptureColour, 6, kNone},
      {"valuechanged", "G_light_slider", S::kAudioLighting, A::kAudioCaptureColour, 7, kNone},
      {"valuechanged", "B_light_slider", S::kAudioLighting, A::kAudioCaptureColour, 8, kNone},

      {"movevaluechanged", "vexor_DPI_slider_2", S::kWindow, A::kTestSliderMoved, 2, kNone},
      {"movevaluechanged", "DPI_slider_4", S::kMouse, A::kDpiSliderMoved, 4, kMs},

      {"killfocus", "vexor_DPI_edit_1", S::kWindow, A::kTestEditDone, 1, kNone},
      {"killfocus", "DPI_edit_5", S::kMouse, A::kDpiEdit, 5, kMs},
      {"killfocus", "deng_edit_R", S::kLighting, A::kColourComponent, 0, kAll},
      {"killfocus", "deng_edit_G", S::kLighting, A::kColourComponent, 1, kAll},
      {"killfocus", "deng_edit_B", S::kLighting, A::kColourComponent, 2, kAll},
      {"killfocus", "deng_audioedit_R", S::kAudioLighting, A::kAudioColourComponent, 0, kAll},
      {"killfocus", "deng_audioedit_G", S::kAudioLighting, A::kAudioColourComponent, 1, kAll},
      {"killfocus", "deng_audioedit_B", S::kAudioLighting, A::kAudioColourComponent, 2, kAll},
      {"killfocus", "keyset_keyboard_text_edit", S::kKeyAssignment, A::kCaptureOff, 0, kKbMs},
      {"killfocus", "bullet_x_eidt", S::kShoot, A::kBulletValue, 0, kMs},
      {"killfocus", "bullet_y_eidt", S::kShoot, A::kBulletValue, 1, kMs},
      {"killfocus", "bullet_delay_eidt", S::kShoot, A::kBulletValue, 2, kMs},
      {"killfocus", "macro_delay", S::kMacro, A::kMacroDelayDone, 0, kKbMs},
      {"killfocus", "keyset_mouseswing_num_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_mouseswing_delay_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_mouseswing_speed_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_mousewheel_num_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_mousewheel_delay_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_mousewheel_speed_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_mousefire_interval_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_mousefire_num_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"killfocus", "keyset_macro_cycle_edit", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},

      {"itemselect", "device_profile_combo", S::kWindow, A::kProfileChosen, 0, kNone},
      {"itemselect", "light_combo_modeSelect", S::kLighting, A::kEffectChosen, 0, kAll},
      {"itemselect", "light_combo_custommodeSelect", S::kLighting, A::kCustomEffectChosen, 0, kAll},
      {"itemselect", "light_combo_ZZCCmodeSelect", S::kLighting, A::kPresetEffectChosen, 0, kAll},
      {"itemselect", "light_combo_audiomodeSelect", S::kAudioLighting, A::kAudioEffectChosen, 0, kAll},
      {"itemselect", "macro_name_list", S::kMacro, A::kMacroChosen, 0, kKbMs},
      {"itemselect", "custom_eq_name_combo", S::kHeadset, A::kCustomEqChosen, 0, kHs},
      {"itemselect", "keyset_mousekey_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_mouseswing_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_mousewheel_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_mousedpi_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_media_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_system_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_macro_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_gunkey_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},
      {"itemselect", "keyset_combokey_combo", S::kKeyAssignment, A::kApplyKey, 0, kKbMs},

      {"colorchanged", "deng_Color_Pallet", S::kLighting, A::kPaletteColour, 0, kAll},
      {"colorchanged", "deng_audioColor_Pallet", S::kAudioLighting, A::kAudioPaletteColour, 0, kAll},
      {"click_select_end", "device_key_light", S::kWindow, A::kNothing, 0, kNone},
      {"click_select_end", "mouse_device_key_light", S::kWindow, A::kMouseLightSelection, 0, kAll},
      {"itemactivate", "macro_action", S::kMacro, A::kMacroActionMenu, 0, kNone},
      {"menu", "macro_action", S::kMacro, A::kMacroActionMenu, 0, kNone},
      {"setfocus", "keyset_keyboard_text_edit", S::kKeyAssignment, A::kCaptureOn, 0, kKbMs},
  };
  return routes;
}

TEST_F(RouterTest, EveryRoutedNameReachesItsTargetForTheKindsItServesOnly) {
  for (const Route& route : Contract()) {
    SCOPED_TRACE(std::string(route.type) + " " + route.name);
    const std::uint16_t served = route.kinds.empty() ? 0 : (route.kinds[0] == 0 ? 3 : route.kinds[0]);
    log_.clear();
    Send(route.type, route.name, served);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0].slot, route.slot);
    EXPECT_EQ(log_[0].action, route.action);
    EXPECT_EQ(log_[0].number, route.number);
    if (route.kinds.empty() || route.kinds[0] == 0) continue;
    // The same name on pages of kinds it does not serve, and with no page at all: nothing.
    for (std::uint16_t other : {1, 2, 3, 7}) {
      if (std::find(route.kinds.begin(), route.kinds.end(), other) != route.kinds.end()) continue;
      log_.clear();
      Send(route.type, route.name, other);
      EXPECT_TRUE(log_.empty()) << "kind " << other;
    }
    log_.clear();
    Send(route.type, route.name, 0);
    EXPECT_TRUE(log_.empty()) << "no current page";
  }
}

TEST_F(RouterTest, TheReportRateGoesToTheKindsOwnSettings) {
  Send("selectchanged", "polling_rate_option_2", 1);
  Send("selectchanged", "polling_rate_option_3", 2);
  Send("selectchanged", "polling_rate_option_1", 7);
  ASSERT_EQ(log_.size(), 2u);
  EXPECT_EQ(log_[0].slot, S::kKeyboardSystem);
  EXPECT_EQ(log_[0].number, 2);
  EXPECT_EQ(log_[1].slot, S::kMouse);
  EXPECT_EQ(log_[1].action, A::kMousePollingRate);
  EXPECT_EQ(log_[1].number, 3);
}

TEST_F(RouterTest, AKeyEditorComboChoosesAndThenAppliesTheEdit) {
  Send("itemselect", "keyset_function_combo", 1);
  Send("itemselect", "keyset_macro_over_combo", 2);
  ASSERT_EQ(log_.size(), 4u);
  EXPECT_EQ(log_[0].action, A::kKeyFunctionChosen);
  EXPECT_EQ(log_[1].action, A::kApplyKey);
  EXPECT_EQ(log_[2].action, A::kKeyFunctionChosen);
  EXPECT_EQ(log_[3].action, A::kApplyKey);
}

TEST_F(RouterTest, NamesFromSkinsAreTakenStrictly) {
  Send("click", "color_option_abc", 1);
  Send("click", "key_-1", 1);
  Send("click", "KEY_BUTT_KEYSAVE", 2);
  ASSERT_EQ(log_.size(), 3u);
  EXPECT_EQ(log_[0].action, A::kColourOption);
  EXPECT_EQ(log_[0].number, 0) << "trailing text that is no number is colour option 0";
  EXPECT_EQ(log_[1].action, A::kKeyClicked);
  EXPECT_EQ(log_[1].number, 0) << "no negative numbers: key_-1 is key 0";
  EXPECT_EQ(log_[2].action, A::kApplyKey) << "the key editor's save is no key click, in any case";

  log_.clear();
  Send("click", "key_99999", 1);
  Send("click", "DPI_slider_7", 2);  // a valuechanged name clicked: no click row
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0].number, 99999) << "the editor range-checks what the router hands on";

  log_.clear();
  EXPECT_FALSE(Send("click", "PROFILE_FUN_SPREAD_BTN", 1));
  EXPECT_TRUE(log_.empty()) << "the exact row ignores another letter case";
  Send("click", "DEVICE_ADD_BTN", 1);
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0].action, A::kAddProfile) << "the other names ignore case";

  log_.clear();
  Send("Click", "device_add_btn", 1);
  Send("click", "unknown_control", 1);
  Send("click", "", 1);
  EXPECT_TRUE(log_.empty()) << "type texts compare exactly; unknown names go nowhere";
}

TEST_F(RouterTest, OnlyTheRowsThatSayNothingMoreEndTheHandling) {
  EXPECT_TRUE(Send("click", "closebtn", 0));
  EXPECT_TRUE(Send("click", "minbtn", 0));
  EXPECT_FALSE(Send("click", "setbtn", 0));
  EXPECT_FALSE(Send("click", "device_add_btn", 1));
  EXPECT_FALSE(Send("click", "unknown", 1));
}

TEST_F(RouterTest, AnEditorSlotWithoutEditorIsQuiet) {
  router_.Register(S::kShoot, nullptr);
  Send("click", "shootdate_save_btn", 2);
  EXPECT_TRUE(log_.empty());
  // The kinds table decides what a receiver link counts as; here a page of kind 6 is no mouse page.
  Send("click", "DPI_color_option_1", 6);
  EXPECT_TRUE(log_.empty());
}

}  // namespace
}  // namespace norvane::app::test
