#include "app/routing_table.h"

#include <array>

namespace norvane::app {

namespace {

using editors::EditorSlot;
using A = editors::RouteAction;
using S = RouteStage;

constexpr std::uint32_t kKeyboard = Kinds({1});
constexpr std::uint32_t kMouse = Kinds({2});
constexpr std::uint32_t kHeadset = Kinds({7});
constexpr std::uint32_t kKeyboardMouse = Kinds({1, 2});

constexpr const char* kClick = "click";
constexpr const char* kSelect = "selectchanged";
constexpr const char* kValue = "valuechanged";
constexpr const char* kMoveValue = "movevaluechanged";
constexpr const char* kKillFocus = "killfocus";
constexpr const char* kItemSelect = "itemselect";
constexpr const char* kColour = "colorchanged";
constexpr const char* kSelectEnd = "click_select_end";

struct Row {
  const char* type;
  S stage;
  const char* name;
  std::uint32_t kinds;
  EditorSlot slot;
  A action;
  int param = 0;
  bool stop = false;
  bool exact = false;
};

constexpr EditorSlot kWnd = EditorSlot::kWindow;
constexpr EditorSlot kSys = EditorSlot::kKeyboardSystem;
constexpr EditorSlot kKey = EditorSlot::kKeyAssignment;
constexpr EditorSlot kLight = EditorSlot::kLighting;
constexpr EditorSlot kAudio = EditorSlot::kAudioLighting;
constexpr EditorSlot kMacro = EditorSlot::kMacro;
constexpr EditorSlot kRec = EditorSlot::kRecording;
constexpr EditorSlot kMs = EditorSlot::kMouse;
constexpr EditorSlot kShoot = EditorSlot::kShoot;
constexpr EditorSlot kHs = EditorSlot::kHeadset;
constexpr EditorSlot kRules = EditorSlot::kProfileRules;

// clang-format off
constexpr Row kRows[] = {
    {"windowinit", S::kIdentity, "", kNoPage, kWnd, A::kWindowInit, 0, true},
    {"windowsize", S::kIdentity, "root", kNoPage, kWnd, A::kWindowSize, 0, true},

    // "click": the sender first, then the prefix, then the whole name.
    {kClick, S::kIdentity, "closebtn", kNoPage, kWnd, A::kCloseToTray, 0, true},
    {kClick, S::kIdentity, "nodevice_ok_btn", kNoPage, kWnd, A::kHideWindow},
    {kClick, S::kIdentity, "control_light_status", kNoPage, kWnd, A::kToggleLightControl},
    {kClick, S::kIdentity, "minbtn", kNoPage, kWnd, A::kMinimize, 0, true},
    {kClick, S::kIdentity, "maxbtn", kNoPage, kWnd, A::kMaximize, 0, true},
    {kClick, S::kIdentity, "restorebtn", kNoPage, kWnd, A::kRestore, 0, true},
    {kClick, S::kIdentity, "skinbtn", kNoPage, kWnd, A::kOpenSkinChooser},
    {kClick, S::kIdentity, "setbtn", kNoPage, kWnd, A::kOpenSettings},

    // A key of the picture: the window hands it to the editor of the open tab (keys or lighting).
    {kClick, S::kPrefix, "key_", kKeyboardMouse, kWnd, A::kKeyClicked},
    {kClick, S::kPrefix, "color_option_", kAnyKind, kLight, A::kColourOption},
    {kClick, S::kPrefix, "audiocolor_option_", kAnyKind, kAudio, A::kAudioColourOption},
    {kClick, S::kPrefix, "windowdeviceset_", kNoPage, kWnd, A::kOpenDesktopSettings},
    {kClick, S::kPrefix, "DPI_color_option_", kMouse, kMs, A::kDpiColour},

    {kClick, S::kName, "default_btn", kAnyKind, kWnd, A::kLoadDefaults},
    {kClick, S::kName, "reset_repeat_btn", kKeyboard, kSys, A::kClearRepeatTest},
    {kClick, S::kName, "device_add_btn", kAnyKind, kWnd, A::kAddProfile},
    {kClick, S::kName, "device_sub_btn", kAnyKind, kWnd, A::kDeleteProfile},
    {kClick, S::kName, "device_export_btn", kAnyKind, kWnd, A::kExportProfile},
    {kClick, S::kName, "device_import_btn", kAnyKind, kWnd, A::kImportProfile},
    {kClick, S::kName, "device_copy_btn", kAnyKind, kWnd, A::kCopyProfile},
    {kClick, S::kName, "device_reset_btn", kAnyKind, kWnd, A::kResetProfile},
    {kClick, S::kName, "device_profile_edit_save_btn", kAnyKind, kWnd, A::kRenameProfile},
    {kClick, S::kName, "key_butt_keysave", kKeyboardMouse, kKey, A::kApplyKey},
    {kClick, S::kName, "key_butt_keydefalut", kKeyboardMouse, kKey, A::kRestoreDefaultKey},
    {kClick, S::kName, "key_butt_keycancel", kKeyboardMouse, kKey, A::kCancelKey},
    {kClick, S::kName, "key_butt_prosave", kKeyboardMouse, kKey, A::kCommitKeys},
    {kClick, S::kName, "macro_btn_starredio", kKeyboardMouse, kRec, A::kRecordStart},
    {kClick, S::kName, "macro_btn_stopredio", kKeyboardMouse, kRec, A::kRecordStop},
    {kClick, S::kName, "macro_btn_name_add", kKeyboardMouse, kMacro, A::kMacroAdd},
    {kClick, S::kName, "macro_btn_name_sub", kKeyboardMouse, kMacro, A::kMacroDelete},
    {kClick, S::kName, "macro_btn_name_edit", kKeyboardMouse, kMacro, A::kMacroRename},
    {kClick, S::kName, "macro_btn_save", kKeyboardMouse, kMacro, A::kMacroSave},
    {kClick, S::kName, "macro_btn_cancel", kKeyboardMouse, kMacro, A::kMacroCancel},
    {kClick, S::kName, "macro_btn_export", kKeyboardMouse, kMacro, A::kMacroExport},
    {kClick, S::kName, "macro_btn_import", kKeyboardMouse, kMacro, A::kMacroImport},
    {kClick, S::kName, "macro_btn_up", kKeyboardMouse, kMacro, A::kMacroStepUp},
    {kClick, S::kName, "macro_btn_down", kKeyboardMouse, kMacro, A::kMacroStepDown},
    {kClick, S::kName, "macro_btn_uptop", kKeyboardMouse, kMacro, A::kMacroStepTop},
    {kClick, S::kName, "macro_btn_downbottom", kKeyboardMouse, kMacro, A::kMacroStepBottom},
    {kClick, S::kName, "macro_btn_delete", kKeyboardMouse, kMacro, A::kMacroStepDelete},
    {kClick, S::kName, "macro_btn_deleteall", kKeyboardMouse, kMacro, A::kMacroStepDeleteAll},
    {kClick, S::kName, "shootdate_save_btn", kMouse, kShoot, A::kShootSave},
    {kClick, S::kName, "shootdate_reset_btn", kMouse, kShoot, A::kShootReset},
    {kClick, S::kName, "shootdate_import_btn", kMouse, kShoot, A::kShootImport},
    {kClick, S::kName, "shootdate_export_btn", kMouse, kShoot, A::kShootExport},
    {kClick, S::kName, "bullet_selected_prev", kMouse, kShoot, A::kBulletPrevious},
    {kClick, S::kName, "bullet_selected_next", kMouse, kShoot, A::kBulletNext},
    {kClick, S::kName, "custom_bright_color_btn", kKeyboard, kLight, A::kCustomPaint},
    {kClick, S::kName, "custom_off_color_btn", kKeyboard, kLight, A::kCustomErase},
    {kClick, S::kName, "deng_same_mode", kAnyKind, kLight, A::kLightSync},
    {kClick, S::kName, "hs_EQ_btn_save", kHeadset, kHs, A::kEqSave},
    {kClick, S::kName, "hs_EQ_btn_delete", kHeadset, kHs, A::kEqDelete},
    {kClick, S::kName, "profile_fun_spread_btn", kAnyKind, kWnd, A::kToggleProfileMenu, 0, false, true},
    {kClick, S::kName, "macro_inset_moveleftkey_btn", kKeyboardMouse, kMacro, A::kMacroInsertMove, 0, false, true},
    {kClick, S::kName, "macro_inset_moverightkey_btn", kKeyboardMouse, kMacro, A::kMacroInsertMove, 1, false, true},
    {kClick, S::kName, "macro_inset_moveupkey_btn", kKeyboardMouse, kMacro, A::kMacroInsertMove, 2, false, true},
    {kClick, S::kName, "macro_inset_movedownkey_btn", kKeyboardMouse, kMacro, A::kMacroInsertMove, 3, false, true},
    {kClick, S::kName, "device_select_prev", kNoPage, kWnd, A::kPreviousDevice},
    {kClick, S::kName, "device_select_next", kNoPage, kWnd, A::kNextDevice},
    {kClick, S::kName, "Close_bkColor_btn", kAnyKind, kAudio, A::kAudioBackgroundBlack},
    {kClick, S::kName, "music_setting_btn", kNoPage, kAudio, A::kOpenAudioStyle},
    // The profile rules of the page, next to its profile bar.
    {kClick, S::kName, "profile_rules_spread_btn", kAnyKind, kRules, A::kRulesToggle},
    {kClick, S::kName, "rules_add_btn", kAnyKind, kRules, A::kRuleAdd},
    {kClick, S::kName, "rules_file_btn", kAnyKind, kRules, A::kRuleFromFile},
    {kClick, S::kName, "rules_remove_btn", kAnyKind, kRules, A::kRuleRemove},
    {kClick, S::kName, "rules_up_btn", kAnyKind, kRules, A::kRuleUp},
    {kClick, S::kName, "rules_down_btn", kAnyKind, kRules, A::kRuleDown},

    // "selectchanged": by prefix, then by name.
    {kSelect, S::kPrefix, "DPI_enable_check_", kMouse, kMs, A::kDpiEnable},
    {kSelect, S::kPrefix, "DPI_select_check_", kMouse, kMs, A::kDpiSelect},
    {kSelect, S::kPrefix, "polling_rate_option_", kKeyboard, kSys, A::kPollingRate},
    {kSelect, S::kPrefix, "polling_rate_option_", kMouse, kMs, A::kMousePollingRate},
    {kSelect, S::kPrefix, "repeat_delay_check_", kKeyboard, kSys, A::kRepeatDelay},
    {kSelect, S::kPrefix, "mouse_device_seting_option_", kMouse, kMs, A::kMouseSettingsTab},
    {kSelect, S::kPrefix, "shoot_gun_op_", kMouse, kShoot, A::kGunChosen},
    {kSelect, S::kPrefix, "bullet_op_", kMouse, kShoot, A::kBulletChosen},
    {kSelect, S::kPrefix, "magic_option_", kHeadset, kHs, A::kVoiceEffect},
    {kSelect, S::kPrefix, "6533_eq_option_", kHeadset, kHs, A::kEqPreset},
    {kSelect, S::kPrefix, "key_ComBox_check_", kKeyboardMouse, kKey, A::kKeyFunctionGroup},

    {kSelect, S::kName, "pointer_precision_check", kMouse, kMs, A::kPointerPrecision},
    {kSelect, S::kName, "scrolls_page_check", kMouse, kMs, A::kScrollsPage},
    {kSelect, S::kName, "winlockflag_option", kKeyboard, kSys, A::kWindowsKeyLock},
    {kSelect, S::kName, "wflag_option", kKeyboard, kSys, A::kWFlag},
    {kSelect, S::kName, "6flag_option", kKeyboard, kSys, A::kSixKeyFlag},
    {kSelect, S::kName, "synchro_device_select", kNoPage, kWnd, A::kNothing},
    {kSelect, S::kName, "device_select", kNoPage, kWnd, A::kDeviceSelected},
    {kSelect, S::kName, "deng_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 1},
    {kSelect, S::kName, "key_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 2},
    {kSelect, S::kName, "macro_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 3},
    {kSelect, S::kName, "system_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 4},
    {kSelect, S::kName, "cursor_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 5},
    {kSelect, S::kName, "6533_voice_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 6},
    {kSelect, S::kName, "magic_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 7},
    {kSelect, S::kName, "Virtual7.1_Op_tab", kAnyKind, kWnd, A::kFunctionTab, 8},
    {kSelect, S::kName, "deng_FXL_check", kAnyKind, kLight, A::kLightDirection, 1},
    {kSelect, S::kName, "deng_FXR_check", kAnyKind, kLight, A::kLightDirection, 0},
    {kSelect, S::kName, "deng_7color_check", kAnyKind, kLight, A::kMultiColour},
    {kSelect, S::kName, "bullet_x_check", kMouse, kShoot, A::kBulletAxis, 0},
    {kSelect, S::kName, "bullet_y_check", kMouse, kShoot, A::kBulletAxis, 1},
    {kSelect, S::kName, "magic_enable_option", kHeadset, kHs, A::kVoiceEnable},
    {kSelect, S::kName, "6533_MicIn_option", kHeadset, kHs, A::kMicIn},
    {kSelect, S::kName, "6533_MicMoniter_option", kHeadset, kHs, A::kMicMonitor},
    {kSelect, S::kName, "deng_7audiocolor_check", kAnyKind, kAudio, A::kAudioMultiColour},
    {kSelect, S::kName, "audio_BkColor_check", kAnyKind, kAudio, A::kAudioBackgroundChoice},
    {kSelect, S::kName, "audio_FgColor_check", kAnyKind, kAudio, A::kAudioForegroundChoice},

    // "valuechanged".
    {kValue, S::kPrefix, "DPI_slider_", kMouse, kMs, A::kDpiSlider},
    {kValue, S::kPrefix, "6533_eq_hz_slider_", kHeadset, kHs, A::kEqBand},
    {kValue, S::kName, "pointer_speed_slider", kMouse, kMs, A::kPointerSpeed},
    {kValue, S::kName, "scroll_speed_slider", kMouse, kMs, A::kScrollSpeed},
    {kValue, S::kName, "double_click_slider", kMouse, kMs, A::kDoubleClickSpeed},
    {kValue, S::kName, "repeat_rate_slider", kKeyboard, kSys, A::kRepeatRate},
    {kValue, S::kName, "deng_light_slider", kAnyKind, kLight, A::kBrightness},
    {kValue, S::kName, "deng_speed_slider", kAnyKind, kLight, A::kSpeed},
    {kValue, S::kName, "6533_MicIn_slider", kHeadset, kHs, A::kMicInLevel},
    {kValue, S::kName, "6533_MicMoniter_slider", kHeadset, kHs, A::kMicMonitorLevel},
    {kValue, S::kName, "R_light_slider", kNoPage, kAudio, A::kAudioCaptureColour, 6},
    {kValue, S::kName, "G_light_slider", kNoPage, kAudio, A::kAudioCaptureColour, 7},
    {kValue, S::kName, "B_light_slider", kNoPage, kAudio, A::kAudioCaptureColour, 8},

    // "movevaluechanged" (while dragging). The lighting sliders change the effect as they move; the device
    // and the profile get the latest value (the lighting editor coalesces the writes).
    {kMoveValue, S::kName, "deng_light_slider", kAnyKind, kLight, A::kBrightness},
    {kMoveValue, S::kName, "deng_speed_slider", kAnyKind, kLight, A::kSpeed},
    {kMoveValue, S::kPrefix, "vexor_DPI_slider_", kNoPage, kWnd, A::kTestSliderMoved},
    {kMoveValue, S::kPrefix, "DPI_slider_", kMouse, kMs, A::kDpiSliderMoved},

    // "killfocus".
    {kKillFocus, S::kPrefix, "vexor_DPI_edit_", kNoPage, kWnd, A::kTestEditDone},
    {kKillFocus, S::kPrefix, "DPI_edit_", kMouse, kMs, A::kDpiEdit},
    {kKillFocus, S::kName, "deng_edit_R", kAnyKind, kLight, A::kColourComponent, 0},
    {kKillFocus, S::kName, "deng_edit_G", kAnyKind, kLight, A::kColourComponent, 1},
    {kKillFocus, S::kName, "deng_edit_B", kAnyKind, kLight, A::kColourComponent, 2},
    {kKillFocus, S::kName, "deng_audioedit_R", kAnyKind, kAudio, A::kAudioColourComponent, 0},
    {kKillFocus, S::kName, "deng_audioedit_G", kAnyKind, kAudio, A::kAudioColourComponent, 1},
    {kKillFocus, S::kName, "deng_audioedit_B", kAnyKind, kAudio, A::kAudioColourComponent, 2},
    {kKillFocus, S::kName, "keyset_keyboard_text_edit", kKeyboardMouse, kKey, A::kCaptureOff},
    {kKillFocus, S::kName, "bullet_x_eidt", kMouse, kShoot, A::kBulletValue, 0},
    {kKillFocus, S::kName, "bullet_y_eidt", kMouse, kShoot, A::kBulletValue, 1},
    {kKillFocus, S::kName, "bullet_delay_eidt", kMouse, kShoot, A::kBulletValue, 2},
    {kKillFocus, S::kName, "macro_delay", kKeyboardMouse, kMacro, A::kMacroDelayDone},
    {kKillFocus, S::kName, "keyset_mouseswing_num_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_mouseswing_delay_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_mouseswing_speed_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_mousewheel_num_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_mousewheel_delay_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_mousewheel_speed_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_mousefire_interval_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_mousefire_num_edit", kKeyboardMouse, kKey, A::kApplyKey},
    {kKillFocus, S::kName, "keyset_macro_cycle_edit", kKeyboardMouse, kKey, A::kApplyKey},

    // "itemselect": by name, then every key-editor combo applies the edit as well.
    {kItemSelect, S::kName, "device_profile_combo", kNoPage, kWnd, A::kProfileChosen},
    {kItemSelect, S::kName, "light_combo_modeSelect", kAnyKind, kLight, A::kEffectChosen},
    {kItemSelect, S::kName, "light_combo_custommodeSelect", kAnyKind, kLight, A::kCustomEffectChosen},
    {kItemSelect, S::kName, "light_combo_ZZCCmodeSelect", kAnyKind, kLight, A::kPresetEffectChosen},
    {kItemSelect, S::kName, "light_combo_audiomodeSelect", kAnyKind, kAudio, A::kAudioEffectChosen},
    {kItemSelect, S::kName, "keyset_function_combo", kKeyboardMouse, kKey, A::kKeyFunctionChosen},
    {kItemSelect, S::kName, "keyset_macro_over_combo", kKeyboardMouse, kKey, A::kKeyFunctionChosen},
    {kItemSelect, S::kName, "macro_name_list", kKeyboardMouse, kMacro, A::kMacroChosen},
    {kItemSelect, S::kName, "custom_eq_name_combo", kHeadset, kHs, A::kCustomEqChosen},
    {kItemSelect, S::kName, "rules_default_combo", kAnyKind, kRules, A::kRuleDefaultChosen},
    {kItemSelect, S::kAfterList, "keyset_function_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_mousekey_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_mouseswing_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_mousewheel_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_mousedpi_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_media_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_system_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_macro_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_macro_over_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_gunkey_combo", kKeyboardMouse, kKey, A::kApplyKey},
    {kItemSelect, S::kAfterList, "keyset_combokey_combo", kKeyboardMouse, kKey, A::kApplyKey},

    {kColour, S::kName, "deng_Color_Pallet", kAnyKind, kLight, A::kPaletteColour},
    {kColour, S::kName, "deng_audioColor_Pallet", kAnyKind, kAudio, A::kAudioPaletteColour},

    {kSelectEnd, S::kName, "device_key_light", kNoPage, kWnd, A::kNothing},
    // The keyboard picture's drag selection paints the selected keys in the per-key colour effect.
    {kSelectEnd, S::kName, "keyboard_device_key_light", kKeyboard, kLight, A::kPaintSelection},
    {kSelectEnd, S::kName, "mouse_device_key_light", kAnyKind, kWnd, A::kMouseLightSelection},

    // Run by the default handling, through the window's message map.
    {"itemactivate", S::kName, "macro_action", kNoPage, kMacro, A::kMacroActionMenu},
    // A macro step's context menu asks for the same menu.
    {"menu", S::kName, "macro_action", kNoPage, kMacro, A::kMacroActionMenu},
    {"setfocus", S::kName, "keyset_keyboard_text_edit", kKeyboardMouse, kKey, A::kCaptureOn},
};
// clang-format on

constexpr std::array<RouteRow, std::size(kRows)> MakeTable() {
  std::array<RouteRow, std::size(kRows)> table{};
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& r = kRows[i];
    table[i] = RouteRow{r.type, r.stage, r.name, r.exact, r.kinds, r.slot, r.action, r.param, r.stop};
  }
  return table;
}

constexpr std::array<RouteRow, std::size(kRows)> kTable = MakeTable();

}  // namespace

std::span<const RouteRow> RoutingTable() {
  return kTable;
}

}  // namespace norvane::app
